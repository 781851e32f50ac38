#include "CodeFormat.h"

using Line = Assembly::Line;

std::string formatNumber(std::uint32_t value, int width, bool valid) {
    if (!valid)
        return std::string(static_cast<std::size_t>(width), '?');
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + (value & 7));
        value >>= 3;
    } while (value != 0);
    std::string text(count < width ? static_cast<std::size_t>(width - count) : 0, '0');
    while (count > 0)
        text += digits[--count];
    return text;
}

CodeRow codeRow(const Line& line, std::size_t maxBytes, std::size_t firstByte) {
    if (line.kind == Line::title || line.kind == Line::noCode || line.kind == Line::noStatement)
        return {"", "", maxBytes};
    if (line.kind == Line::equ)
        return {"= " + formatNumber(line.value, 1, true), "", maxBytes};

    CodeRow row{firstByte == 0 ? formatNumber(line.value, 6, true) : "", "", firstByte};
    std::size_t remaining = maxBytes;
    if (line.hasOpcode() && firstByte == 0) {
        row.bytes += formatNumber(line.opcode(), 3, line.emits) + ' ';
        remaining -= remaining > 0 ? 1 : 0;
    }
    for (; row.nextByte < line.code.size() && remaining > 0; ++row.nextByte, --remaining)
        row.bytes += formatNumber(line.code[row.nextByte], 3, line.emits) + ' ';
    return row;
}
