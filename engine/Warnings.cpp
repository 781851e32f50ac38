// Warnings: code that assembles, but very likely not to what was meant. They
// count as no error, mark nothing red and change no byte.

#include "Brenvik.h"
#include "CodeFormat.h"
#include "Scan.h"

#include <algorithm>

using Line = TBrenvikEngine::Line;

namespace {

constexpr std::uint32_t addressSpace = 040000; // the 8008's 14-bit addresses
constexpr std::uint32_t addressMask = addressSpace - 1;
constexpr std::uint32_t lastRestart = 7;
constexpr std::uint32_t lastInputPort = 7;
constexpr std::uint32_t firstOutputPort = 8;
constexpr std::uint32_t lastOutputPort = 31;
// An immediate byte may be written as -128 to 255.
constexpr std::uint32_t largestByte = 0xFF;
constexpr std::uint32_t smallestNegativeByte = 0xFF80;
constexpr std::uint32_t largestValue = 0xFFFF;

constexpr Line::LineCode incrementMemory = 070;
constexpr Line::LineCode decrementMemory = 071;
constexpr Line::LineCode loadMemoryFromMemory = 0377;
constexpr Line::LineCode rstBase = 0x05;
constexpr Line::LineCode inpBase = 0x41;
constexpr Line::LineCode outBase = 0x51;

// A number as the assembler reads it in octal.
std::string octal(std::uint32_t value, int digits) {
    return octalText(value, digits) + "B";
}

// An operand as a message names it: a number as written, anything else quoted.
std::string asWritten(std::string text) {
    std::string_view digits = text;
    if (digits.starts_with('-'))
        digits.remove_prefix(1);
    if (digits.ends_with('B') || digits.ends_with('b'))
        digits.remove_suffix(1);
    const bool number = !digits.empty() && std::all_of(digits.begin(), digits.end(), scan::isDigit);
    return number ? text : "'" + text + "'";
}

} // namespace

void TBrenvikEngine::warn(std::uint32_t index, std::uint32_t column, std::size_t length, Fault why) {
    warnings.push_back({index, column, static_cast<std::uint32_t>(std::max<std::size_t>(length, 1)),
                        std::move(why), column});
}

void TBrenvikEngine::defineLabel(std::uint32_t index, std::string_view name) {
    if (labelScope != 0 && defineOwnLabel(index, name))
        return;
    // The later definition wins.
    if (const auto earlier = assembly.symbols.set(name, index))
        warn(index, 1, name.size(),
             {DiagCode::labelRedefined, std::string(name), std::to_string(textLineOf(*earlier) + 1)});
}

// A label in column 1 spelt like a statement may have been meant as one.
void TBrenvikEngine::warnLabelLikeStatement(std::uint32_t index, std::string_view label) {
    warn(index, 1, label.size(), {DiagCode::labelLikeStatement, std::string(label)});
}

void TBrenvikEngine::checkWord(std::uint32_t index, std::uint32_t column, std::string_view word) {
    const Line::LineCode kind = assembly.lines[index].kind;
    if (kind == incrementMemory || kind == decrementMemory)
        warn(index, column, word.size(),
             {DiagCode::undefinedInstruction, std::string(word), octalText(kind, 3)});
    else if (kind == loadMemoryFromMemory && word == "LMM") // not HLT3, its other name
        warn(index, column, word.size(), {DiagCode::haltingLoad});
}

// A valid operand that the processor will read otherwise than it is written.
void TBrenvikEngine::checkOperand(std::uint32_t index, const Operand& operand) {
    const Line::LineCode kind = assembly.lines[index].kind;
    const std::uint32_t v = operand.value;
    const auto warning = [&](DiagCode code, std::string used) {
        std::string written = typedText(operand.start, operand.end);
        if (code == DiagCode::immediateRange || code == DiagCode::addressRange)
            written = asWritten(std::move(written));
        warn(index, operand.start, operand.end - operand.start, {code, std::move(written), std::move(used)});
    };
    switch (kind) {
    case rstBase:
        if (v > lastRestart)
            warning(DiagCode::restartNumber, std::to_string(v & lastRestart));
        return;
    case inpBase:
        if (v > lastInputPort)
            warning(DiagCode::inputPort, std::to_string(v & lastInputPort));
        return;
    case outBase:
        if (v < firstOutputPort || v > lastOutputPort) {
            const std::uint32_t port = v & lastOutputPort;
            warning(DiagCode::outputPort,
                    std::to_string(port < firstOutputPort ? port + firstOutputPort : port));
        }
        return;
    default:
        break;
    }
    if (kind >= 0x200) {
        if (v >= addressSpace)
            warning(DiagCode::addressRange, octal(v & addressMask, 6));
    } else if (kind >= 0x100) {
        if (v > largestByte && (v < smallestNegativeByte || v > largestValue))
            warning(DiagCode::immediateRange, octal(v & largestByte, 3));
    }
}

// Bytes placed beyond the address space or over bytes of an earlier line; each
// stretch of such lines is reported at its first line.
void TBrenvikEngine::checkPlacement(std::uint32_t index) {
    const Line& line = assembly.lines[index];
    const std::size_t size = line.size();
    if (size == 0)
        return;
    const std::uint64_t first = line.value;
    const std::uint64_t last = first + size - 1;
    const auto column = statementStart;
    const std::size_t length = statementWord.size();

    const bool beyond = last >= addressSpace;
    if (beyond && !lastLineBeyond)
        warn(index, column, length,
             {DiagCode::beyondAddressSpace,
              octal(static_cast<std::uint32_t>(std::max<std::uint64_t>(first, addressSpace)), 6)});
    lastLineBeyond = beyond;

    if (!line.emits)
        return;
    std::uint32_t overwritten = noLine;
    for (std::uint64_t address = first; address <= last && address < ownedAddresses; ++address) {
        AddressOwner& owner = addressOwners[address];
        if (overwritten == noLine && owner.run == runNumber)
            overwritten = owner.line;
        owner = {runNumber, index};
    }
    const bool overlapped = overwritten != noLine;
    if (overlapped && !lastLineOverlapped)
        warn(index, column, length, {DiagCode::overlap, std::to_string(textLineOf(overwritten) + 1)});
    lastLineOverlapped = overlapped;
}
