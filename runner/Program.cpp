#include "Program.h"

#include "CodeFormat.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::uint32_t loadImmediateLength = 2;

} // namespace

Program::Program(const Assembly& assembly)
    : bytesBefore(assembly.lines.size() + 1), lineOfAddress(Machine::memorySize, -1),
      addressOfLine(assembly.lines.size(), Assembly::noLine) {
    assembly.GetCode([this](std::uint32_t address, std::uint8_t byte) { put(address, byte); });
    const auto add = [this](std::uint32_t line, std::uint32_t address, std::uint8_t opcode) {
        instructions.push_back({line, address, opcode});
        if (address >= Machine::memorySize)
            return;
        lineOfAddress[address] = static_cast<int>(line);
        if (addressOfLine[line] == Assembly::noLine)
            addressOfLine[line] = address;
    };
    for (std::uint32_t i = 0; i < assembly.lines.size(); ++i) {
        const Assembly::Line& line = assembly.lines[i];
        bytesBefore[i + 1] = bytesBefore[i] + (line.emits ? line.size() : 0);
        // The instructions of what a line includes or expands are that line's.
        for (const Assembly::ExpandedLine& expansion : assembly.expandedBy(i))
            if (expansion.kind >= 0)
                add(i, expansion.address, expansion.bytes[0]);
        if (!line.emits)
            continue;
        if (line.hasOpcode()) {
            add(i, line.value, line.opcode());
        } else if (line.kind == Assembly::Line::lhli) {
            // Two immediate loads: LHI and LLI, or the two of an LXI.
            add(i, line.value, line.code[0]);
            add(i, (line.value + loadImmediateLength) & Cpu::addressMask, line.code[loadImmediateLength]);
        }
    }
}

void Program::put(std::uint32_t address, std::uint8_t byte) {
    if (address >= Machine::memorySize) {
        if (!firstBeyond)
            firstBeyond = address;
        return;
    }
    image[address] = byte;
    present.set(address);
}

std::string Program::loadProblem() const {
    if (!firstBeyond)
        return {};
    return "address " + octalText(*firstBeyond, 6) +
           " is beyond the 8008's 16 KiB of memory (000000 to 037777)";
}

void Program::loadInto(Machine& machine) const {
    for (std::size_t address = 0; address < Machine::memorySize; ++address)
        if (present[address])
            machine.loadByte(static_cast<std::uint32_t>(address), image[address]);
}

std::optional<std::vector<std::uint8_t>> Program::romImage(const RomWindow& window,
                                                           std::vector<std::uint8_t> rom) const {
    bool inWindow = false;
    for (std::uint32_t offset = 0; offset < window.size && window.first + offset < Machine::memorySize;
         ++offset) {
        if (!present[window.first + offset])
            continue;
        if (!std::exchange(inWindow, true))
            rom.resize(std::max<std::size_t>(rom.size(), window.size), Machine::absentByte);
        rom[offset] = image[window.first + offset];
    }
    if (!inWindow)
        return std::nullopt;
    return rom;
}

int Program::lineOf(std::uint16_t address) const {
    return address < lineOfAddress.size() ? lineOfAddress[address] : -1;
}

bool Program::lineHasInstruction(int line) const {
    if (line < 0)
        return false;
    const auto [first, last] =
        instructionsOf(static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(line));
    return first != last;
}

std::optional<std::uint16_t> Program::addressFrom(int line) const {
    for (auto i = static_cast<std::size_t>(std::max(line, 0)); i < addressOfLine.size(); ++i)
        if (addressOfLine[i] != Assembly::noLine)
            return static_cast<std::uint16_t>(addressOfLine[i]);
    return std::nullopt;
}

std::pair<const Program::Instruction*, const Program::Instruction*>
Program::instructionsOf(std::uint32_t first, std::uint32_t last) const {
    const auto from = std::lower_bound(
        instructions.begin(), instructions.end(), first,
        [](const Instruction& instruction, std::uint32_t line) { return instruction.line < line; });
    const auto to = std::upper_bound(
        from, instructions.end(), last,
        [](std::uint32_t line, const Instruction& instruction) { return line < instruction.line; });
    return {instructions.data() + (from - instructions.begin()),
            instructions.data() + (to - instructions.begin())};
}

std::uint64_t Program::bytesOf(std::uint32_t first, std::uint32_t last) const {
    if (bytesBefore.empty() || first > last)
        return 0;
    const std::size_t lines = bytesBefore.size() - 1;
    return bytesBefore[std::min<std::size_t>(last + 1, lines)] -
           bytesBefore[std::min<std::size_t>(first, lines)];
}
