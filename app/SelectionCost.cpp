#include "SelectionCost.h"

#include "Instructions.h"

#include <algorithm>

namespace {

std::string plural(std::uint64_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

} // namespace

LinesCost costOfLines(const Program& program, std::uint32_t first, std::uint32_t last) {
    LinesCost cost;
    cost.bytes = static_cast<std::uint32_t>(program.bytesOf(first, last));
    const auto [from, to] = program.instructionsOf(first, last);
    for (const Program::Instruction* instruction = from; instruction != to; ++instruction) {
        const InstructionTiming& timing = timingOf(instruction->opcode);
        cost.states += timing.states;
        cost.mostStates += timing.statesIfTaken;
    }
    return cost;
}

std::string costText(const LinesCost& cost) {
    if (cost.mostStates == cost.states)
        return plural(cost.bytes, "byte") + ", " + plural(cost.states, "state");
    return plural(cost.bytes, "byte") + ", " + std::to_string(cost.states) + "-" +
           std::to_string(cost.mostStates) + " states";
}
