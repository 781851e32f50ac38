#include "BinaryImage.h"

#include "CodeFormat.h"

#include <algorithm>
#include <limits>

bool binaryImage(const Assembly& program, std::uint8_t fill, const std::optional<AddressRange>& range,
                 std::string& image, std::string& reason) {
    std::uint32_t lowest = std::numeric_limits<std::uint32_t>::max(), highest = 0;
    program.GetCode([&](std::uint32_t address, std::uint8_t) {
        lowest = std::min(lowest, address);
        highest = std::max(highest, address);
    });
    const bool empty = lowest > highest;
    if (range && !empty && (lowest < range->first || highest > range->last)) {
        const std::uint32_t outside = lowest < range->first ? lowest : highest;
        reason = "a byte at " + octalText(outside, 6) + " lies outside " + octalText(range->first, 6) + "-" +
                 octalText(range->last, 6);
        return false;
    }
    if (empty && !range) {
        image.clear();
        return true;
    }
    const AddressRange span = range ? *range : AddressRange{lowest, highest};
    image.assign(span.last + 1 - span.first, static_cast<char>(fill));
    program.GetCode([&](std::uint32_t address, std::uint8_t byte) {
        image[address - span.first] = static_cast<char>(byte);
    });
    return true;
}
