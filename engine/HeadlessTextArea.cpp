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

std::map<std::uint32_t, std::uint32_t> HeadlessTextArea::errorColumns() const {
    // Only lines that were ever marked red can be left red.
    std::map<std::uint32_t, std::vector<MarkRun>> candidates;
    for (const Mark& mark : markLog)
        if (mark.colour == MarkColour::Error)
            candidates[mark.line];
    for (const Mark& mark : markLog)
        if (const auto found = candidates.find(mark.line); found != candidates.end())
            applyMark(found->second, {mark.column, mark.colour});
    std::map<std::uint32_t, std::uint32_t> result;
    for (const auto& [line, runs] : candidates)
        for (const MarkRun& run : runs)
            if (run.colour == MarkColour::Error) {
                result.emplace(line, run.column);
                break;
            }
    return result;
}
