#include "Assembly.h"

#include <algorithm>

std::uint32_t Assembly::symbolLine(std::string_view name) const {
    const std::uint32_t* line = symbols.find(name);
    return line ? *line : noLine;
}

namespace {

// The records of `sorted`, in the order of their lines, that belong to line `index`.
template <typename Record>
std::span<const Record> ofLine(const std::vector<Record>& sorted, std::uint32_t index) {
    const auto first =
        std::partition_point(sorted.begin(), sorted.end(), [&](const Record& r) { return r.line < index; });
    const auto last =
        std::partition_point(first, sorted.end(), [&](const Record& r) { return r.line == index; });
    return {first, last};
}

} // namespace

std::span<const Diagnostic> Assembly::diagnosticsOf(std::uint32_t index) const {
    return ofLine(diagnostics, index);
}

std::span<const Assembly::ExpandedLine> Assembly::expandedBy(std::uint32_t index) const {
    return ofLine(expanded, index);
}

const Diagnostic* Assembly::errorOf(std::uint32_t index) const {
    const std::span<const Diagnostic> found = diagnosticsOf(index);
    const auto error = std::find_if(found.begin(), found.end(), isError);
    return error == found.end() ? nullptr : &*error;
}
