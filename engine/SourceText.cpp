#include "SourceText.h"

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr char32_t replacementCharacter = 0xFFFD;

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Appends `text` with every CR LF and lone CR turned into '\n'; `codePoints`
// yields the characters one by one, and false when the bytes are not valid.
template <typename NextCodePoint>
bool appendLines(std::u16string& out, NextCodePoint&& codePoints) {
    char32_t c = 0;
    bool afterCarriageReturn = false;
    for (;;) {
        const int got = codePoints(c);
        if (got <= 0)
            return got == 0;
        if (c == '\n' && afterCarriageReturn) {
            afterCarriageReturn = false;
            continue;
        }
        afterCarriageReturn = c == '\r';
        if (c > 0xFFFF) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += afterCarriageReturn ? u'\n' : static_cast<char16_t>(c);
        }
    }
}

// The next code point of well-formed UTF-8 (overlong forms, surrogates and code
// points above U+10FFFF are not): 1 when read, 0 at the end, -1 when malformed.
struct Utf8Reader {
    std::string_view bytes;
    std::size_t at = 0;

    int operator()(char32_t& c) {
        if (at == bytes.size())
            return 0;
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
        const unsigned char lead = byte(at);
        std::size_t length;
        char32_t minimum;
        if (lead < 0x80) {
            c = lead;
            ++at;
            return 1;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, minimum = 0x80, c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, minimum = 0x800, c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, minimum = 0x10000, c = lead & 0x07;
        } else {
            return -1;
        }
        if (at + length > bytes.size())
            return -1;
        for (std::size_t k = 1; k < length; ++k) {
            if ((byte(at + k) & 0xC0) != 0x80)
                return -1;
            c = (c << 6) | (byte(at + k) & 0x3F);
        }
        if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return -1;
        at += length;
        return 1;
    }
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Calls `visit` with each character of `text` and where it starts.
template <typename Visit>
void forEachCodePoint(std::u16string_view text, Visit&& visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const std::size_t start = i;
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (isHighSurrogate(c) || isLowSurrogate(c))
            c = replacementCharacter;
        visit(c, start);
    }
}

} // namespace

DecodedSource decodeSource(std::string_view bytes) {
    DecodedSource source{{}, SourceEncoding::Utf8};
    if (bytes.starts_with(byteOrderMark)) {
        bytes.remove_prefix(byteOrderMark.size());
        source.encoding = SourceEncoding::Utf8WithBom;
    }
    source.text.reserve(bytes.size());
    if (appendLines(source.text, Utf8Reader{bytes}))
        return source;

    // Not UTF-8: every byte is a character of its own. A leading byte-order mark
    // is then no mark but three characters.
    if (source.encoding == SourceEncoding::Utf8WithBom)
        bytes = std::string_view(bytes.data() - byteOrderMark.size(), bytes.size() + byteOrderMark.size());
    source.text.clear();
    source.encoding = SourceEncoding::Latin1;
    std::size_t at = 0;
    appendLines(source.text, [&](char32_t& c) {
        if (at == bytes.size())
            return 0;
        c = static_cast<unsigned char>(bytes[at++]);
        return 1;
    });
    return source;
}

std::string encodeSource(std::u16string_view text, SourceEncoding encoding) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    if (encoding == SourceEncoding::Utf8WithBom)
        bytes += byteOrderMark;
    std::size_t line = 1, lineStart = 0;
    forEachCodePoint(text, [&](char32_t c, std::size_t at) {
        if (c == '\n') {
            bytes += "\r\n";
            ++line;
            lineStart = at + 1;
        } else if (encoding != SourceEncoding::Latin1) {
            appendUtf8(bytes, c);
        } else if (c <= 0xFF) {
            bytes += static_cast<char>(c);
        } else {
            std::string character;
            appendUtf8(character, c);
            throw UnencodableText("the character \"" + character + "\" in line " + std::to_string(line) +
                                  ", column " + std::to_string(at - lineStart + 1) +
                                  " has no Latin-1 code, the encoding the file was read in");
        }
    });
    return bytes;
}

std::string utf8Of(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    forEachCodePoint(text, [&](char32_t c, std::size_t) { appendUtf8(bytes, c); });
    return bytes;
}

void readSourceLine(std::u16string_view line, SourceLine& out) {
    out.text.resize(line.size());
    out.wide.clear();
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char16_t unit = line[i];
        if (unit > 0xFF) {
            out.text[i] = wideStandIn;
            out.wide.push_back({static_cast<std::uint32_t>(i + 1), unit});
        } else {
            out.text[i] = static_cast<char>(unit);
        }
    }
}

SourceText::SourceText(std::u16string wholeText, char16_t separator) : text(std::move(wholeText)) {
    lineStarts.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == separator)
            lineStarts.push_back(i + 1);
    // A final separator ends the last line and starts no other.
    if (!text.empty() && text.back() != separator)
        lineStarts.push_back(text.size() + 1);
}

std::u16string_view SourceText::line(std::size_t index) const {
    const std::size_t start = lineStarts[index];
    return std::u16string_view(text).substr(start, lineStarts[index + 1] - 1 - start);
}
