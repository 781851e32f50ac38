// Macros and repetitions in AS-syntax sources: their lines kept until ENDM,
// then assembled for the line that invokes them, which holds every byte.

#include "AsAssembler.h"

namespace assyntax {

// MACRO name's or REPT's lines up to their ENDM are kept, not assembled.
void AsAssembler::startRecording(const std::string& word, std::optional<Span> label,
                                 const std::vector<Span>& operands, std::uint32_t column) {
    setKind(Line::noCode);
    Recording started{word == "REPT", lineIndex, column, placeFile, placeLine, 1, {}, {}, 0};
    if (started.repeats) {
        define(label, pc, false);
        if (operandsAre(operands, 1, word))
            started.times = valueIn(operands[0], 0, lastAddress + 1, "a count (0 to 16384)").value_or(0);
    } else if (!label) {
        error(column, {DiagCode::operandCount, "MACRO", "a name in column 1"});
    } else {
        started.name = upperOf(typed(*label));
        for (const Span& operand : operands) // an option such as {NOEXPAND} is the listing's
            if (operand.empty() || scan::at(current.text, operand.from) != '{')
                started.parameters.push_back(upperOf(typed(operand)));
    }
    started.failed = lineFailed;
    recording = std::move(started);
}

void AsAssembler::record(const BodyLine& line) {
    const std::string& text = line.text;
    const std::uint32_t end = commentColumn(text);
    std::uint32_t pos = 1;
    if (end > 1 && isNameStart(scan::at(text, 1)))
        while (pos < end && (isNameChar(scan::at(text, pos)) || scan::at(text, pos) == ':'))
            ++pos;
    const std::string word = wordAt(text, pos);
    if (word == "MACRO" || word == "REPT")
        ++recording->depth;
    else if (word == "ENDM" && --recording->depth == 0) {
        Recording done = std::move(*recording);
        recording.reset();
        setKind(Line::noCode);
        if (!done.repeats) {
            if (!done.name.empty())
                macros.set(done.name, {std::move(done.parameters), std::move(done.body)});
            return;
        }
        // The repetitions' bytes are the REPT line's.
        const std::uint32_t endLine = std::exchange(lineIndex, done.line);
        const bool endFailed = std::exchange(lineFailed, done.failed);
        const std::uint32_t endFile = std::exchange(placeFile, done.file);
        const std::uint32_t endFileLine = std::exchange(placeLine, done.fileLine);
        for (std::int64_t i = 0; i < done.times && expandedLines <= maxExpandedLines; ++i)
            expand(done.body, {}, {}, done.column, "REPT");
        lineIndex = endLine;
        placeFile = endFile;
        placeLine = endFileLine;
        if (endLine != done.line)
            lineFailed = endFailed;
        return;
    }
    recording->body.push_back(line);
}

// Assembles `body` with each parameter's name replaced by its argument, for the
// line `lineIndex`, whose record takes every byte; each of its lines is listed
// under that line. A macro's or a repetition's labels are its own.
void AsAssembler::expand(const std::vector<BodyLine>& body, const std::vector<std::string>& parameters,
                         const std::vector<std::string>& arguments, std::uint32_t column,
                         const std::string& macro) {
    if (expansionDepth >= maxExpansionDepth) {
        error(column, {DiagCode::tooDeep, std::to_string(maxExpansionDepth)});
        return;
    }
    const SourceLine invoking = current;
    const std::uint32_t invokingFile = placeFile, invokingLine = placeLine;
    if (expansionDepth == 0) // what the body holds is said where the line invokes it
        expansionColumn = column;
    const bool ownLabels = !macro.empty();
    if (ownLabels)
        scopes.push_back(++expansions);
    frames.push_back({macro, placeFile, placeLine});
    ++expansionDepth;
    // Each line of the body may have a fault of its own; the invoking line has them all.
    const bool invokingFailed = lineFailed;
    bool bodyFailed = false;
    for (const BodyLine& bodyLine : body) {
        lineFailed = false;
        if (++expandedLines > maxExpandedLines) { // said once, where the bound is passed
            if (expandedLines == maxExpandedLines + 1)
                error(column, {DiagCode::expansionTooLarge, std::to_string(maxExpandedLines)});
            break;
        }
        current.text = substituted(bodyLine.text, parameters, arguments);
        current.wide.clear();
        placeFile = bodyLine.file;
        placeLine = bodyLine.line;
        assembly.expanded.push_back({lineIndex,
                                     static_cast<std::uint32_t>(expansionDepth),
                                     static_cast<std::uint32_t>(pc),
                                     Line::noStatement,
                                     {},
                                     current.text});
        if (recording) // a MACRO or REPT within the body
            record({current.text, placeFile, placeLine});
        else
            statement(commentColumn(current.text));
        bodyFailed = bodyFailed || lineFailed;
        if (ended)
            break;
    }
    lineFailed = invokingFailed || bodyFailed;
    --expansionDepth;
    frames.pop_back();
    if (ownLabels)
        scopes.pop_back();
    current = invoking;
    placeFile = invokingFile;
    placeLine = invokingLine;
}

std::shared_ptr<const FaultSite> AsAssembler::faultSite(std::uint32_t column) const {
    auto site = std::make_shared<FaultSite>();
    site->place = {files.pathAt(placeFile), placeLine};
    site->column = column;
    site->text = current.text;
    for (auto frame = frames.rbegin(); frame != frames.rend(); ++frame)
        site->steps.push_back({frame->macro, {files.pathAt(frame->file), frame->line}});
    return site;
}

bool AsAssembler::assembling() const {
    return conditions.empty() || conditions.back().taking;
}

} // namespace assyntax
