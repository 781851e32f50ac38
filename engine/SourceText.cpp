#include "SourceText.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr char32_t replacementCharacter = 0xFFFD;

// The code point of the UTF-8 sequence at `at`, and the sequence's length; 0
// when it is not well formed (overlong forms, surrogates and code points above
// U+10FFFF are not).
std::size_t utf8Sequence(std::string_view bytes, std::size_t at, char32_t& c) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(at);
    std::size_t length;
    char32_t minimum;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, c = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(at + k) & 0x3F);
    }
    return c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? 0 : length;
}

// Where the first byte at or after `at` that is not ASCII stands: eight bytes are
// looked at together, as sources are almost all ASCII.
std::size_t skipAscii(std::string_view bytes, std::size_t at) {
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    for (std::uint64_t eight = 0; at + sizeof eight <= bytes.size(); at += sizeof eight) {
        std::memcpy(&eight, bytes.data() + at, sizeof eight);
        if ((eight & highBits) != 0)
            break;
    }
    while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) < 0x80)
        ++at;
    return at;
}

// The encoding of a file's bytes; a byte-order mark of UTF-8 is taken off them.
SourceEncoding encodingOf(std::string_view& bytes) {
    const bool byteOrderMarked = bytes.starts_with(byteOrderMark);
    const std::string_view text = byteOrderMarked ? bytes.substr(byteOrderMark.size()) : bytes;
    char32_t c = 0;
    for (std::size_t at = skipAscii(text, 0); at < text.size(); at = skipAscii(text, at)) {
        const std::size_t length = utf8Sequence(text, at, c);
        if (length == 0)
            return SourceEncoding::Latin1; // then a leading mark is three characters of the text
        at += length;
    }
    bytes = text;
    return byteOrderMarked ? SourceEncoding::Utf8WithBom : SourceEncoding::Utf8;
}

// Appends the characters of `bytes` to `out`, every CR LF and lone CR as '\n'.
void appendDecoded(std::string_view bytes, SourceEncoding encoding, std::u16string& out) {
    const std::size_t start = out.size();
    out.resize(start + bytes.size()); // UTF-16 never takes more units than the bytes
    char16_t* next = out.data() + start;
    char32_t c = 0;
    for (std::size_t at = 0, length = 1; at < bytes.size(); at += length) {
        length = encoding == SourceEncoding::Latin1 ? 1 : utf8Sequence(bytes, at, c);
        if (length == 1)
            c = static_cast<unsigned char>(bytes[at]);
        if (c == '\r') {
            *next++ = u'\n';
            if (at + 1 < bytes.size() && bytes[at + 1] == '\n')
                ++length;
        } else if (c > 0xFFFF) {
            *next++ = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            *next++ = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            *next++ = static_cast<char16_t>(c);
        }
    }
    out.resize(static_cast<std::size_t>(next - out.data()));
}

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
template <typename Visit> void forEachCodePoint(std::u16string_view text, Visit&& visit) {
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
    DecodedSource source{{}, encodingOf(bytes), LineEnd::crLf};
    if (const std::size_t end = bytes.find_first_of("\r\n"); end != std::string_view::npos)
        source.lineEnd = bytes[end] == '\n'                                 ? LineEnd::lf
                         : end + 1 < bytes.size() && bytes[end + 1] == '\n' ? LineEnd::crLf
                                                                            : LineEnd::cr;
    appendDecoded(bytes, source.encoding, source.text);
    return source;
}

bool looksLikeText(std::string_view bytes) {
    constexpr std::size_t sample = 64 * 1024;
    constexpr std::size_t controlsAllowedPer = 10; // one in ten
    const std::string_view start = bytes.substr(0, sample);
    if (bytes.find('\0') != std::string_view::npos)
        return false;
    std::size_t controls = 0;
    for (const char c : start) {
        const auto byte = static_cast<unsigned char>(c);
        const bool layout = byte == '\t' || byte == '\n' || byte == '\r' || byte == '\f';
        if ((byte < 0x20 && !layout) || byte == 0x7F)
            ++controls;
    }
    return controls * controlsAllowedPer <= start.size();
}

std::string encodeSource(std::u16string_view text, SourceEncoding encoding, LineEnd lineEnd) {
    const char* const ending = lineEnd == LineEnd::lf ? "\n" : lineEnd == LineEnd::cr ? "\r" : "\r\n";
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    if (encoding == SourceEncoding::Utf8WithBom)
        bytes += byteOrderMark;
    std::size_t line = 1, lineStart = 0;
    forEachCodePoint(text, [&](char32_t c, std::size_t at) {
        if (c == '\n') {
            bytes += ending;
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

SourceFileText::SourceFileText(std::string fileBytes) : bytes(std::move(fileBytes)) {
    std::string_view text = bytes;
    fileEncoding = encodingOf(text);
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    // Each line from its first byte to its line break, which may be CR LF, LF or CR;
    // memchr finds them fastest.
    for (const char* start = end - text.size(); start < end;) {
        const char* feed =
            static_cast<const char*>(std::memchr(start, '\n', static_cast<std::size_t>(end - start)));
        const char* lineEnd = feed ? feed : end;
        const char* next = feed ? feed + 1 : end;
        if (const char* ret = static_cast<const char*>(
                std::memchr(start, '\r', static_cast<std::size_t>(lineEnd - start)))) {
            if (ret + 1 < lineEnd) // a lone CR, not the CR of CR LF
                next = ret + 1;
            lineEnd = ret;
        }
        lines.push_back(
            {static_cast<std::uint32_t>(start - begin), static_cast<std::uint32_t>(lineEnd - begin)});
        start = next;
    }
}

void SourceFileText::readLine(std::size_t index, SourceLine& out) const {
    const std::string_view raw = rawLine(index);
    // Most lines are ASCII, and one byte is then one character.
    if (std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        out.text.assign(raw);
        out.wide.clear();
        return;
    }
    units.clear();
    appendDecoded(raw, fileEncoding, units);
    readSourceLine(units, out);
}

std::u16string SourceFileText::line(std::size_t index) const {
    std::u16string text;
    appendDecoded(rawLine(index), fileEncoding, text);
    return text;
}

std::string_view SourceFileText::rawLine(std::size_t index) const {
    return std::string_view(bytes).substr(lines[index].start, lines[index].end - lines[index].start);
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

std::string typedColumns(const SourceLine& line, std::uint32_t from, std::uint32_t to) {
    std::u16string units;
    for (std::uint32_t column = from; column < to && column <= line.text.size(); ++column)
        units += line.unitAt(column);
    return utf8Of(units);
}
