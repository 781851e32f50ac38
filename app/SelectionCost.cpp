#include "SelectionCost.h"

#include "Instructions.h"

#include <algorithm>

namespace {

constexpr std::uint8_t loadHImmediate = 056; // LHLI is LHI, then LLI
constexpr std::uint8_t loadLImmediate = 066;

void addInstruction(LinesCost& cost, std::uint8_t opcode) {
    const InstructionTiming& timing = timingOf(opcode);
    cost.states += timing.states;
    cost.mostStates += timing.statesIfTaken;
}

std::string plural(std::uint64_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

} // namespace

LinesCost costOfLines(const Assembly& assembly, std::uint32_t first, std::uint32_t last) {
    LinesCost cost;
    for (std::uint32_t i = first; i <= last && i < assembly.lines.size(); ++i) {
        const Assembly::Line& line = assembly.lines[i];
        if (!line.emit)
            continue;
        cost.bytes += static_cast<std::uint32_t>(line.size());
        if (line.hasOpcode()) {
            addInstruction(cost, line.opcode());
        } else if (line.kind == Assembly::Line::lhli) {
            addInstruction(cost, loadHImmediate);
            addInstruction(cost, loadLImmediate);
        }
    }
    return cost;
}

std::string costText(const LinesCost& cost) {
    if (cost.mostStates == cost.states)
        return plural(cost.bytes, "byte") + ", " + plural(cost.states, "state");
    return plural(cost.bytes, "byte") + ", " + std::to_string(cost.states) + "-" +
           std::to_string(cost.mostStates) + " states";
}
