#pragma once

// A binary image of an assembled program, as an EPROM programmer takes it: the
// bytes from the first address to the last, every gap filled with one byte.

#include "Assembly.h"

#include <cstdint>
#include <optional>
#include <string>

struct AddressRange {
    std::uint32_t first;
    std::uint32_t last; // included
};

// What an EPROM left blank holds.
constexpr std::uint8_t erasedByte = 0377;

// The image from the lowest to the highest address that holds a byte, or over
// `range` when one is given. False, with the reason, when a byte lies outside
// `range`.
bool binaryImage(const Assembly& program, std::uint8_t fill, const std::optional<AddressRange>& range,
                 std::string& image, std::string& reason);

// "START-END" in the assembler's syntax for each address (both included), as
// `evaluate` reads an address; none when it is no range from lower to higher.
template <typename Evaluate>
std::optional<AddressRange> parseAddressRange(const std::string& text, Evaluate&& evaluate) {
    const std::size_t dash = text.find('-');
    if (dash == std::string::npos)
        return std::nullopt;
    const std::optional<std::uint32_t> first = evaluate(text.substr(0, dash));
    const std::optional<std::uint32_t> last = evaluate(text.substr(dash + 1));
    if (!first || !last || *first > *last)
        return std::nullopt;
    return AddressRange{*first, *last};
}
