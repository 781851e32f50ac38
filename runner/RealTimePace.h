#pragma once

// Keeps a run to a chip's own clock rather than the host's speed: how many
// states the wall clock has let the chip spend since the pace was set, so that
// a program's delays take as long as they would on the board.

#include <chrono>
#include <cstdint>

class RealTimePace {
  public:
    // From now on, for a chip at `clockHertz` that has spent `states` so far.
    void restart(unsigned clockHertz, std::uint64_t states);
    // The states due by now beyond `states`, at most `most`: after a stall the
    // chip catches up, but in pieces no longer than `most`.
    std::uint64_t due(std::uint64_t states, std::uint64_t most) const;

  private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point start = Clock::now();
    std::uint64_t statesAtStart = 0;
    unsigned hertz = 0;
};
