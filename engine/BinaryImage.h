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

// The highest address a value of the assembler, and so an image, can name.
constexpr std::uint32_t highestImageAddress = 0177777;

// "START-END" in the assembler's syntax for each address (both included), as
// `evaluate` reads an address; none, with the reason, when it is no range from
// lower to higher.
template <typename Evaluate>
std::optional<AddressRange> parseAddressRange(const std::string& text, Evaluate&& evaluate,
                                              std::string& reason) {
    const std::size_t dash = text.find('-');
    reason = "not START-END, START at most END";
    if (dash == std::string::npos)
        return std::nullopt;
    const std::string ends[] = {text.substr(0, dash), text.substr(dash + 1)};
    std::uint32_t addresses[2];
    for (int i = 0; i < 2; ++i) {
        const std::optional<std::uint32_t> address = evaluate(ends[i]);
        if (!address || *address > highestImageAddress) {
            reason = ends[i] + " is no address (0 to 177777B)";
            return std::nullopt;
        }
        addresses[i] = *address;
    }
    if (addresses[0] > addresses[1])
        return std::nullopt;
    return AddressRange{addresses[0], addresses[1]};
}
