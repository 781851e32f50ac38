#include "Instructions.h"

namespace {

using namespace opcodeFields;

constexpr std::array<InstructionTiming, 256> table = [] {
    std::array<InstructionTiming, 256> all{};
    for (unsigned op = 0; op < 256; ++op)
        all[op] = timingFor(op);
    return all;
}();

} // namespace

const std::array<InstructionTiming, 256>& instructionTimings() {
    return table;
}

bool isCall(std::uint8_t op) {
    return (group(op) == 1 && (low(op) == 2 || low(op) == 6)) || (group(op) == 0 && low(op) == 5);
}

bool isReturn(std::uint8_t op) {
    return group(op) == 0 && (low(op) == 3 || low(op) == 7);
}
