#include "IntelHex.h"

#include <algorithm>

namespace {

void appendHex(std::string& text, std::uint32_t value, int digits) {
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    char buffer[8];
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        buffer[i] = hexDigits[value & 0xF];
    text.append(buffer, static_cast<std::size_t>(digits));
}

// Characters of a full record: colon, count, address, type, 16 bytes, checksum, CR LF.
constexpr std::size_t fullRecordLength = 1 + 2 + 4 + 2 + 2 * IntelHexWriter::maxRecordBytes + 2 + 2;

} // namespace

IntelHexWriter::IntelHexWriter(std::size_t expectedBytes) {
    hexRecord.reserve(maxRecordBytes);
    text.reserve((expectedBytes / maxRecordBytes + 2) * fullRecordLength);
}

void IntelHexWriter::emitHexByte(std::uint32_t address, std::uint8_t value) {
    if (static_cast<std::int64_t>(address) != hexLastAddress + 1 || hexRecord.size() == maxRecordBytes)
        flushHexRecord();
    hexRecord.push_back(value);
    hexLastAddress = address;
}

void IntelHexWriter::flushHexRecord() {
    if (hexRecord.empty())
        return;
    const auto count = static_cast<std::uint32_t>(hexRecord.size());
    const auto start = static_cast<std::uint32_t>(hexLastAddress - count + 1) & 0xFFFF;
    std::uint32_t sum = count + (start >> 8) + (start & 0xFF);
    text += ':';
    appendHex(text, count, 2);
    appendHex(text, start, 4);
    appendHex(text, 0, 2);
    for (const std::uint8_t byte : hexRecord) {
        appendHex(text, byte, 2);
        sum += byte;
    }
    appendHex(text, (0x100 - (sum & 0xFF)) & 0xFF, 2);
    text += "\r\n";
    hexRecord.clear();
}

std::string IntelHexWriter::finish() {
    flushHexRecord();
    text += endRecord;
    std::string result = std::move(text);
    text.clear();
    hexLastAddress = -2;
    return result;
}

std::string intelHexOf(const Assembly& program) {
    IntelHexWriter writer(program.bytesAssembled);
    program.GetCode([&](std::uint32_t address, std::uint8_t byte) { writer.emitHexByte(address, byte); });
    return writer.finish();
}

std::string replaceExtension(const std::string& path, const std::string& extension) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

namespace {

enum RecordType : std::uint8_t {
    data = 0,
    endOfFile = 1,
    segmentAddress = 2,
    segmentStart = 3,
    linearAddress = 4,
    linearStart = 5
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The bytes of one record's line, after its colon; empty with a reason when they are no record.
std::vector<std::uint8_t> recordBytes(std::string_view line, std::string& reason) {
    if (line.size() % 2 != 0) {
        reason = "odd number of hex digits";
        return {};
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < line.size(); i += 2) {
        const int high = hexDigit(line[i]), low = hexDigit(line[i + 1]);
        if (high < 0 || low < 0) {
            reason = "'" + std::string(line.substr(high < 0 ? i : i + 1, 1)) + "' is no hex digit";
            return {};
        }
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    constexpr std::size_t headerAndChecksum = 5;
    if (bytes.size() < headerAndChecksum || bytes.size() != headerAndChecksum + bytes[0]) {
        reason = "the record's length does not match its byte count";
        return {};
    }
    std::uint8_t sum = 0;
    for (const std::uint8_t byte : bytes)
        sum = static_cast<std::uint8_t>(sum + byte);
    if (sum != 0) {
        reason = "wrong checksum";
        return {};
    }
    return bytes;
}

} // namespace

bool readIntelHex(std::string_view text, const std::function<void(std::uint32_t, std::uint8_t)>& sink,
                  std::size_t& faultLine, std::string& reason) {
    std::uint32_t base = 0; // from extended address records
    faultLine = 0;
    while (!text.empty()) {
        ++faultLine;
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (line.front() != ':') {
            reason = "a record begins with ':'";
            return false;
        }
        const std::vector<std::uint8_t> record = recordBytes(line.substr(1), reason);
        if (record.empty())
            return false;
        const std::uint32_t offset = static_cast<std::uint32_t>(record[1] << 8 | record[2]);
        const std::uint8_t* payload = record.data() + 4;
        switch (record[3]) {
        case data:
            for (std::uint32_t i = 0; i < record[0]; ++i)
                sink(base + ((offset + i) & 0xFFFF), payload[i]);
            break;
        case endOfFile:
            return true;
        case segmentAddress:
        case linearAddress:
            if (record[0] != 2) {
                reason = "an extended address record holds two bytes";
                return false;
            }
            base = static_cast<std::uint32_t>(payload[0] << 8 | payload[1])
                   << (record[3] == segmentAddress ? 4 : 16);
            break;
        case segmentStart:
        case linearStart:
            break;
        default:
            reason = "unknown record type " + std::to_string(record[3]);
            return false;
        }
    }
    faultLine = 0; // the fault is of the whole file
    reason = "no end record";
    return false;
}
