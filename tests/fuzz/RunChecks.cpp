#include "RunChecks.h"

#include "Brenvik.h"
#include "HeadlessTextArea.h"

namespace {

using Line = TBrenvikEngine::Line;

constexpr char wideMarker = '\x01';

std::vector<SourceLine> splitLines(std::string_view bytes) {
    std::vector<SourceLine> lines;
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find('\n'), bytes.size());
        SourceLine& line = lines.emplace_back();
        line.text.assign(bytes.substr(0, end));
        for (std::size_t i = 0; i < line.text.size(); ++i)
            if (line.text[i] == wideMarker) {
                line.text[i] = wideStandIn;
                line.wideColumns.push_back(static_cast<std::uint32_t>(i + 1));
            }
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
    }
    return lines;
}

// The operand bytes a record of this kind must hold, or -1 when any number is sound.
long expectedCodeSize(Line::LineCode kind) {
    if (kind >= 0)
        return kind >> 8;
    switch (kind) {
    case Line::db: // strings give a byte per character, in DW too
    case Line::dw: return -1;
    case Line::lhli: return 4;
    default: return 0;
    }
}

bool sameRecord(const Line& a, const Line& b) {
    return a.value == b.value && a.kind == b.kind && a.code == b.code && a.emit == b.emit;
}

void checkRecords(const TBrenvikEngine& engine, std::vector<std::string>& problems) {
    const auto& records = engine.GetLineRecords();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Line& line = records[i];
        const std::string where = "line " + std::to_string(i + 1) + ": ";
        if (line.kind < Line::lhli || line.kind >= 0x300) {
            problems.push_back(where + "unknown kind " + std::to_string(line.kind));
            continue;
        }
        const long expected = expectedCodeSize(line.kind);
        if (expected >= 0 && static_cast<long>(line.code.size()) != expected)
            problems.push_back(where + "kind " + std::to_string(line.kind) + " holds " +
                               std::to_string(line.code.size()) + " operand bytes");
    }
}

} // namespace

CheckedRun checkedRun(std::string_view bytes) {
    std::vector<std::string> problems;
    HeadlessTextArea text(splitLines(bytes));
    TBrenvikEngine engine(text);
    engine.run();

    const auto red = text.errorColumns();
    if (static_cast<std::size_t>(engine.GetErrorCount()) != red.size())
        problems.push_back("error count " + std::to_string(engine.GetErrorCount()) + " but " +
                           std::to_string(red.size()) + " lines left red");

    std::uint32_t handedOut = 0;
    engine.GetCode([&](std::uint32_t, std::uint8_t) { ++handedOut; });
    if (handedOut != engine.BytesAssembled())
        problems.push_back("BytesAssembled " + std::to_string(engine.BytesAssembled()) + " but GetCode hands out " +
                           std::to_string(handedOut));

    checkRecords(engine, problems);

    const std::vector<Line> firstRecords = engine.GetLineRecords();
    const auto firstMarks = text.marks();
    const int firstErrors = engine.GetErrorCount();
    text.clearMarks();
    engine.run();
    const auto& again = engine.GetLineRecords();
    for (std::size_t i = 0; i < again.size(); ++i)
        if (!sameRecord(firstRecords[i], again[i]))
            problems.push_back("line " + std::to_string(i + 1) + ": a second run gives another record");
    if (engine.GetErrorCount() != firstErrors || text.marks() != firstMarks)
        problems.push_back("a second run marks the lines otherwise");
    return {std::move(problems), firstErrors, engine.BytesAssembled()};
}
