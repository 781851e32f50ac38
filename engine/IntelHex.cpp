#include "IntelHex.h"

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
    program.forEachByte([&](std::uint32_t address, std::uint8_t byte) { writer.emitHexByte(address, byte); });
    return writer.finish();
}

std::string replaceExtension(const std::string& path, const std::string& extension) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}
