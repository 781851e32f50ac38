#include "IntelHex.h"

namespace {

void appendHex(std::string& text, std::uint32_t value, int digits) {
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        text += hexDigits[(value >> shift) & 0xF];
}

} // namespace

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
    IntelHexWriter writer;
    program.GetCode([&](std::uint32_t address, std::uint8_t byte) { writer.emitHexByte(address, byte); });
    return writer.finish();
}

std::string replaceExtension(const std::string& path, const std::string& extension) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}
