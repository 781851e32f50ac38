#include "HeadlessTextArea.h"

HeadlessTextArea::HeadlessTextArea(std::vector<std::string> texts) {
    lines.reserve(texts.size());
    for (std::string& text : texts)
        lines.push_back({std::move(text), {}});
}

void HeadlessTextArea::readLine(std::size_t index, SourceLine& out) const {
    out.text.assign(lines[index].text);
    out.wideColumns.assign(lines[index].wideColumns.begin(), lines[index].wideColumns.end());
}

void HeadlessTextArea::markLine(std::size_t index, std::uint32_t column, MarkColour colour) {
    markLog.push_back({static_cast<std::uint32_t>(index), column, colour});
}

namespace {

using Mark = HeadlessTextArea::Mark;

// A mark recolours everything from its column on: later marks win.
void recolour(std::vector<Mark>& runs, const Mark& mark) {
    while (!runs.empty() && runs.back().column >= mark.column)
        runs.pop_back();
    if (runs.empty() ? mark.colour != MarkColour::Default : runs.back().colour != mark.colour)
        runs.push_back(mark);
}

} // namespace

std::map<std::uint32_t, std::vector<Mark>> HeadlessTextArea::colouredLines() const {
    std::map<std::uint32_t, std::vector<Mark>> result;
    for (const Mark& mark : markLog)
        recolour(result[mark.line], mark);
    for (auto it = result.begin(); it != result.end();)
        it = it->second.empty() ? result.erase(it) : std::next(it);
    return result;
}

std::map<std::uint32_t, std::uint32_t> HeadlessTextArea::errorColumns() const {
    // Only lines that were ever marked red can be left red.
    std::map<std::uint32_t, std::vector<Mark>> candidates;
    for (const Mark& mark : markLog)
        if (mark.colour == MarkColour::Error)
            candidates[mark.line];
    for (const Mark& mark : markLog)
        if (const auto found = candidates.find(mark.line); found != candidates.end())
            recolour(found->second, mark);
    std::map<std::uint32_t, std::uint32_t> result;
    for (const auto& [line, runs] : candidates)
        for (const Mark& run : runs)
            if (run.colour == MarkColour::Error) {
                result.emplace(line, run.column);
                break;
            }
    return result;
}
