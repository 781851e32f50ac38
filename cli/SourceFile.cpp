#include "SourceFile.h"

#include <algorithm>
#include <string_view>

namespace {

// Length of the UTF-8 sequence starting at `i`, or 0 when it is not well formed
// (overlong forms, surrogates and code points above U+10FFFF included).
std::size_t utf8SequenceLength(std::string_view s, std::size_t i, char32_t& codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    std::size_t length;
    char32_t minimum;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < minimum || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

bool isValidUtf8(std::string_view s) {
    char32_t codePoint = 0;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = utf8SequenceLength(s, i, codePoint);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

SourceLine decodeUtf8(std::string_view raw) {
    if (std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return {std::string(raw), {}};
    SourceLine line;
    char32_t codePoint = 0;
    for (std::size_t i = 0; i < raw.size();) {
        i += utf8SequenceLength(raw, i, codePoint);
        if (codePoint > 0xFF) {
            line.text += wideStandIn;
            line.wideColumns.push_back(static_cast<std::uint32_t>(line.text.size()));
        } else {
            line.text += static_cast<char>(codePoint);
        }
    }
    return line;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size()) // a final line break starts no further line
        lines.push_back(text.substr(start));
    return lines;
}

} // namespace

SourceFile decodeSource(const std::string& bytes) {
    std::string_view text = bytes;
    const bool utf8 = isValidUtf8(text);
    if (utf8 && text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3); // a byte-order mark is no part of the first line
    SourceFile file;
    for (const std::string_view raw : splitLines(text)) {
        file.rawLines.emplace_back(raw);
        file.lines.push_back(utf8 ? decodeUtf8(raw) : SourceLine{std::string(raw), {}});
    }
    return file;
}
