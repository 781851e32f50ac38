// Lines in error: why each one is, how they are counted, and the diagnostics a
// run ends with.

#include "Brenvik.h"
#include "Scan.h"
#include "SourceText.h"

#include <algorithm>

using namespace scan;

namespace {

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

} // namespace

void TBrenvikEngine::errorline(std::uint32_t index, std::uint32_t column, Fault why,
                               std::uint32_t textColumn) {
    if (index == lastErrorLine)
        return;
    ++assembly.errorCount;
    lineCounted[index] = true;
    mark(index, column, std::move(why), textColumn);
}

// Marks a line again after the pass, counting it only if it does not count yet.
void TBrenvikEngine::markCounted(std::uint32_t index, std::uint32_t column, Fault why,
                                 std::uint32_t textColumn) {
    if (!lineCounted[index]) {
        lineCounted[index] = true;
        ++assembly.errorCount;
    }
    mark(index, column, std::move(why), textColumn);
}

// Red from `column` to the end of the line, for `why`; a comment mark under it
// goes. A mark without a reason is one that resolve will give a reason or clear.
void TBrenvikEngine::mark(std::uint32_t index, std::uint32_t column, Fault why, std::uint32_t textColumn) {
    Assembly::Line& line = assembly.lines[index];
    if (line.comment >= column)
        line.comment = 0;
    lastErrorLine = index;
    lastErrorColumn = column;
    if (why.code == DiagCode::none)
        return;
    if (textColumn == 0) {
        textColumn = column;
        skipBlanks(currentUpper, textColumn, static_cast<std::uint32_t>(currentUpper.size()));
    }
    Diagnostic error{index, column, 1, std::move(why), textColumn};
    if (Diagnostic* slot = errorSlot(index))
        *slot = std::move(error);
    else if (errors.empty() || errors.back().line < index)
        errors.push_back(std::move(error));
    else
        lateErrors.push_back(std::move(error));
}

void TBrenvikEngine::clearMark(std::uint32_t index) {
    assembly.lines[index].comment = 0;
    if (lineCounted[index]) {
        lineCounted[index] = false;
        --assembly.errorCount;
    }
    if (Diagnostic* slot = errorSlot(index))
        slot->fault.code = DiagCode::none;
    // A fault found on the cleared line again must be marked and counted anew.
    if (lastErrorLine == index)
        lastErrorLine = noLine;
}

Diagnostic* TBrenvikEngine::errorSlot(std::uint32_t index) {
    // resolve visits lines in ascending order: a line it marked late is the last
    // one, and the search goes on from where the last one ended.
    if (!lateErrors.empty() && lateErrors.back().line == index)
        return &lateErrors.back();
    if (errors.empty() || errors.back().line < index)
        return nullptr;
    if (slotHint >= errors.size() || errors[slotHint].line > index)
        slotHint = 0;
    while (errors[slotHint].line < index)
        ++slotHint;
    return errors[slotHint].line == index ? &errors[slotHint] : nullptr;
}

void TBrenvikEngine::collectDiagnostics() {
    std::vector<Diagnostic>& all = assembly.diagnostics;
    all.clear();
    for (Diagnostic& error : errors)
        if (error.fault.code != DiagCode::none)
            all.push_back(std::move(error));
    std::move(lateErrors.begin(), lateErrors.end(), std::back_inserter(all));
    std::move(warnings.begin(), warnings.end(), std::back_inserter(all));
    errors.clear();
    lateErrors.clear();
    warnings.clear();

    // Some faults read better once the whole source is known.
    for (Diagnostic& d : all) {
        Fault& why = d.fault;
        switch (why.code) {
        case DiagCode::noForwardReference:
        case DiagCode::forwardInParentheses:
            if (assembly.symbolLine(why.argument) == noLine)
                why = {DiagCode::undefinedSymbol, std::move(why.argument)};
            break;
        case DiagCode::symbolWithoutValue: {
            const std::uint32_t definition = assembly.symbolLine(why.argument);
            if (definition != noLine && assembly.lines[definition].value <= 0xFFFF)
                why.code = DiagCode::symbolResolvedLater;
            break;
        }
        default:
            break;
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const Diagnostic& a, const Diagnostic& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
}

Fault TBrenvikEngine::operandFault(std::uint32_t value) const {
    if (value == exprUndefined && finding.code == DiagCode::undefinedSymbol)
        return {DiagCode::noForwardReference, std::string(finding.argument), std::string(statementWord)};
    return exprFault();
}

// What is wrong with the text at `pos`, where the statement should have ended.
Fault TBrenvikEngine::trailingFault(std::uint32_t index, std::uint32_t pos) const {
    if (pos == operandlessAt)
        return {DiagCode::noOperandTaken, std::string(statementWord)};
    if (pos == finding.column && finding.code == DiagCode::undefinedSymbol)
        return {}; // a name of a deferred operand: resolve will say what became of it
    const auto n = static_cast<std::uint32_t>(currentUpper.size());
    std::uint32_t end = pos;
    while (end <= n && !isBlank(at(currentUpper, end)))
        ++end;
    Fault found{DiagCode::unexpectedText, typedText(pos, end)};
    if (assembly.lines[index].kind == Assembly::Line::noStatement && pos == statementStart)
        found.code = pos == 1 ? DiagCode::notALabel : DiagCode::expectedMnemonic;
    return found;
}

Fault TBrenvikEngine::wideFault(std::uint32_t column) const {
    const bool surrogatePair = isHighSurrogate(current.unitAt(column)) && current.isWide(column + 1);
    return {DiagCode::wideCharacter, typedText(column, column + (surrogatePair ? 2 : 1))};
}

std::string TBrenvikEngine::typedText(std::uint32_t from, std::uint32_t to) const {
    // One character more than a message shows, so that it knows to cut.
    const auto columns = static_cast<std::uint32_t>(current.text.size());
    to = std::min({to, columns + 1, from + static_cast<std::uint32_t>(maxQuotedLength) + 1});
    return typedColumns(current, from, to);
}
