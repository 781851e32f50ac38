#include "RunChecks.h"

#include "Brenvik.h"
#include "HeadlessTextArea.h"

#include <algorithm>
#include <cctype>

namespace {

using Line = Assembly::Line;

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
                line.wide.push_back({static_cast<std::uint32_t>(i + 1), u'\u2020'});
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
    case Line::dw:
    case Line::expansion:
        return -1;
    case Line::lhli:
        return 4;
    default:
        return 0;
    }
}

bool sameRecord(const Line& a, const Line& b) {
    return a.value == b.value && a.kind == b.kind && a.code == b.code && a.emits == b.emits &&
           a.comment == b.comment;
}

void checkRecords(const Assembly& assembly, std::vector<std::string>& problems) {
    for (std::size_t i = 0; i < assembly.lines.size(); ++i) {
        const Line& line = assembly.lines[i];
        const std::string where = "line " + std::to_string(i + 1) + ": ";
        if (line.kind < Line::expansion || line.kind >= 0x300) {
            problems.push_back(where + "unknown kind " + std::to_string(line.kind));
            continue;
        }
        const long expected = expectedCodeSize(line.kind);
        if (expected >= 0 && static_cast<long>(line.code.size()) != expected)
            problems.push_back(where + "kind " + std::to_string(line.kind) + " holds " +
                               std::to_string(line.code.size()) + " operand bytes");
    }
}

// Every line in error counted once, with one error of its own text and one for
// each faulty line it brings in, each with a reason; every diagnostic in order
// and in the text.
void checkDiagnostics(const Assembly& assembly, const std::vector<SourceLine>& lines,
                      std::vector<std::string>& problems) {
    int errors = 0;
    bool ownErrorOfLine = false;
    const Diagnostic* previous = nullptr;
    std::uint32_t lastErrorLine = Assembly::noLine;
    for (const Diagnostic& d : assembly.diagnostics) {
        const std::string where = "line " + std::to_string(d.line + 1) + ": ";
        if (d.line >= lines.size() || d.column == 0 || d.length == 0)
            problems.push_back(where + "a diagnostic outside the text");
        if (d.fault.code == DiagCode::none || messageOf(d.fault).empty())
            problems.push_back(where + "a diagnostic without a reason");
        if (previous &&
            (previous->line > d.line || (previous->line == d.line && previous->column > d.column)))
            problems.push_back(where + "diagnostics out of order");
        if (isError(d)) {
            const bool own = !d.fault.site;
            if (d.line != lastErrorLine)
                ++errors;
            else if (own && ownErrorOfLine)
                problems.push_back(where + "two errors on one line");
            ownErrorOfLine = (d.line == lastErrorLine && ownErrorOfLine) || own;
            lastErrorLine = d.line;
            const std::uint32_t comment = assembly.lines[d.line].comment;
            if (comment != 0 && comment <= d.column)
                problems.push_back(where + "a comment mark hides the red of its error");
        }
        previous = &d;
    }
    if (errors != assembly.errorCount)
        problems.push_back("error count " + std::to_string(assembly.errorCount) + " but " +
                           std::to_string(errors) + " lines with errors");
}

// Whether `text` spells `name` (upper case, as the table holds it) from `column` (1-based).
bool spellsAt(const std::string& text, std::uint32_t column, std::string_view name) {
    if (column == 0 || column - 1 + name.size() > text.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[column - 1 + i])) != name[i])
            return false;
    return true;
}

// Every use names a symbol of the table where its name is written, and is noted once.
void checkUses(const Assembly& assembly, const std::vector<SourceLine>& lines,
               std::vector<std::string>& problems) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> places;
    for (const Assembly::SymbolUse& use : assembly.uses) {
        const std::string where = "line " + std::to_string(use.line + 1) + ": ";
        if (use.symbol >= assembly.symbols.size() || use.line >= lines.size() ||
            !spellsAt(lines[use.line].text, use.column, assembly.symbols.wordAt(use.symbol)))
            problems.push_back(where + "a use where its symbol is not named");
        places.emplace_back(use.line, use.column);
    }
    std::sort(places.begin(), places.end());
    if (std::adjacent_find(places.begin(), places.end()) != places.end())
        problems.push_back("a use noted twice");
}

bool sameDiagnostics(const std::vector<Diagnostic>& a, const std::vector<Diagnostic>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Diagnostic& x, const Diagnostic& y) {
        return x.line == y.line && x.column == y.column && x.length == y.length &&
               x.fault.code == y.fault.code && x.fault.argument == y.fault.argument &&
               x.fault.detail == y.fault.detail;
    });
}

} // namespace

CheckedRun checkedRun(std::string_view bytes) {
    std::vector<std::string> problems;
    const std::vector<SourceLine> lines = splitLines(bytes);
    HeadlessTextArea text(lines);
    TBrenvikEngine engine(text);
    const Assembly first = engine.run();

    checkDiagnostics(first, lines, problems);
    std::uint32_t handedOut = 0;
    first.GetCode([&](std::uint32_t, std::uint8_t) { ++handedOut; });
    if (handedOut != first.bytesAssembled)
        problems.push_back("BytesAssembled " + std::to_string(first.bytesAssembled) +
                           " but GetCode hands out " + std::to_string(handedOut));
    checkRecords(first, problems);
    checkUses(first, lines, problems);

    const Assembly& again = engine.run();
    for (std::size_t i = 0; i < again.lines.size(); ++i)
        if (!sameRecord(first.lines[i], again.lines[i]))
            problems.push_back("line " + std::to_string(i + 1) + ": a second run gives another record");
    if (again.errorCount != first.errorCount || !sameDiagnostics(first.diagnostics, again.diagnostics))
        problems.push_back("a second run finds otherwise");
    const auto sameUse = [](const Assembly::SymbolUse& a, const Assembly::SymbolUse& b) {
        return a.symbol == b.symbol && a.line == b.line && a.column == b.column;
    };
    if (!std::equal(first.uses.begin(), first.uses.end(), again.uses.begin(), again.uses.end(), sameUse))
        problems.push_back("a second run notes other uses");
    return {std::move(problems), first.errorCount, first.bytesAssembled};
}
