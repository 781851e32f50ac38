#include "History.h"

#include <algorithm>
#include <utility>

void History::note(const Machine& machine, std::uint64_t shownSoFar, bool fromOutside) {
    if (!checkpoints.empty() && checkpoints.back().machine.instructions == machine.instructions)
        checkpoints.pop_back(); // the later state of the same moment is the one to go on from
    else if (!fromOutside && !checkpoints.empty() &&
             machine.instructions < checkpoints.back().machine.instructions + spacing)
        return;
    checkpoints.push_back({machine, shownSoFar});
    prune(machine.instructions);
}

void History::prune(std::uint64_t now) {
    while (checkpoints.size() > mostCheckpoints ||
           (checkpoints.size() > 1 && checkpoints[1].machine.instructions + reach <= now))
        checkpoints.pop_front();
}

std::uint64_t History::reachFrom(const Machine& machine) const {
    return checkpoints.empty() ? 0 : machine.instructions - checkpoints.front().machine.instructions;
}

bool History::back(Machine& machine, std::uint64_t& shownSoFar) {
    if (machine.instructions == 0)
        return false;
    const std::uint64_t target = machine.instructions - 1;
    while (!checkpoints.empty() && checkpoints.back().machine.instructions > target)
        checkpoints.pop_back(); // later than where the run now stands: a future no longer taken
    if (checkpoints.empty())
        return false;

    Machine replay = checkpoints.back().machine;
    std::uint64_t shown = checkpoints.back().shown;
    // The counts are not the replay's to add to: they drop by the one undone instruction.
    const std::shared_ptr<ExecutionCounts> counts = std::exchange(replay.counts, nullptr);
    while (replay.instructions < target) {
        // Checkpoints on the way, so that the next steps back run less.
        const std::uint64_t toGo = target - replay.instructions;
        const std::uint64_t chunk = toGo > reach ? toGo - reach : std::min(toGo, spacing);
        const StopReason reason = replay.run(Machine::Stops{}, Machine::unlimited, chunk);
        if (TerminalDevice* terminal = replay.ports.terminal())
            shown += terminal->takeScreen().size();
        if (reason == StopReason::halted || reason == StopReason::undefinedOpcode)
            break; // a stop the run went past can only be its last instruction
        if (replay.instructions < target && target - replay.instructions < reach) {
            checkpoints.push_back({replay, shown});
            checkpoints.back().machine.counts = counts;
        }
    }
    if (counts && !replay.jammedInstruction()) {
        const std::uint16_t undone = replay.cpu.pc();
        --counts->executions[undone];
        counts->states[undone] -= machine.states - replay.states;
    }
    replay.counts = counts;
    machine = std::move(replay);
    shownSoFar = shown;
    return true;
}
