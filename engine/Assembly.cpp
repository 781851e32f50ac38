#include "Assembly.h"

#include <algorithm>

std::uint32_t Assembly::symbolLine(std::string_view name) const {
    const std::uint32_t* line = symbols.find(name);
    return line ? *line : noLine;
}

std::pair<std::vector<Diagnostic>::const_iterator, std::vector<Diagnostic>::const_iterator>
Assembly::diagnosticsOf(std::uint32_t index) const {
    struct ByLine {
        bool operator()(const Diagnostic& d, std::uint32_t line) const { return d.line < line; }
        bool operator()(std::uint32_t line, const Diagnostic& d) const { return line < d.line; }
    };
    return std::equal_range(diagnostics.begin(), diagnostics.end(), index, ByLine{});
}

std::span<const Assembly::ExpandedLine> Assembly::expandedBy(std::uint32_t index) const {
    struct ByLine {
        bool operator()(const ExpandedLine& e, std::uint32_t line) const { return e.line < line; }
        bool operator()(std::uint32_t line, const ExpandedLine& e) const { return line < e.line; }
    };
    const auto [first, last] = std::equal_range(expanded.begin(), expanded.end(), index, ByLine{});
    return {first, last};
}

const Diagnostic* Assembly::errorOf(std::uint32_t index) const {
    const auto [first, last] = diagnosticsOf(index);
    const auto found = std::find_if(first, last, isError);
    return found == last ? nullptr : &*found;
}
