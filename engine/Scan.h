#pragma once

// Character classes and scanning steps over one source line. Positions are
// 1-based; `last` is the last position that may be read (the line's length).

#include <cstdint>
#include <string>
#include <string_view>

namespace scan {

inline char at(const std::string& text, std::uint32_t pos) {
    return text[pos - 1];
}

inline bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool isWordChar(char c) {
    return isLetter(c) || isDigit(c);
}
inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Upper case of the Latin-1 letters, so that a character constant "é" reads as "É"
// just as "a" reads as "A".
inline char upperCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
        return static_cast<char>(u - 0x20);
    return c;
}

inline std::string upperOf(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = upperCase(c);
    return upper;
}

inline void skipBlanks(const std::string& text, std::uint32_t& pos, std::uint32_t last) {
    while (pos <= last && isBlank(at(text, pos)))
        ++pos;
}

// Advances over letters and digits; returns where the run began.
inline std::uint32_t skipWord(const std::string& text, std::uint32_t& pos, std::uint32_t last) {
    const std::uint32_t start = pos;
    while (pos <= last && isWordChar(at(text, pos)))
        ++pos;
    return start;
}

inline std::string_view slice(const std::string& text, std::uint32_t from, std::uint32_t to) {
    return std::string_view(text).substr(from - 1, to - from);
}

} // namespace scan
