#pragma once

// The octal text of the code column, shared by the screen, the printed listing
// and the command line's listing.

#include "Assembly.h"

#include <cstdint>
#include <string>

// `value` in octal, zero-padded to `width` (never cut); `width` question marks
// when not valid (bytes inside a BSS section).
std::string formatNumber(std::uint32_t value, int width, bool valid);
inline std::string octalText(std::uint32_t value, int width) {
    return formatNumber(value, width, true);
}

// One row of a line's code: the address field (empty on continuation rows), and
// up to `maxBytes` byte groups "BBB " starting at byte `firstByte` of `code`.
struct CodeRow {
    std::string address;
    std::string bytes;
    std::size_t nextByte; // the next byte of `code` still to show
};

CodeRow codeRow(const Assembly::Line& line, std::size_t maxBytes, std::size_t firstByte);
