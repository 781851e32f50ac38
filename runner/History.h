#pragma once

// Where a run has been, so that it can be stepped back through. Between two
// changes from outside (keys typed, an interrupt, a register edited) the chip
// is deterministic, so the history keeps the machine as it was at moments of
// the run (checkpoints) and finds any state between two of them again by
// running the older one forward. A checkpoint is taken at every change from
// outside and at least every `spacing` instructions when asked, and the
// checkpoints reach at least `reach` instructions back.

#include "Machine.h"

#include <cstdint>
#include <deque>
#include <string>

class History {
  public:
    static constexpr std::uint64_t reach = 10'000;
    static constexpr std::uint64_t spacing = 1'000;
    static constexpr std::size_t mostCheckpoints = 1024; // about 17 MiB

    void clear() { checkpoints.clear(); }
    // The machine as it is now, after `shownSoFar` characters of its terminal's
    // transcript; `fromOutside` when it was just changed from outside.
    void note(const Machine& machine, std::uint64_t shownSoFar, bool fromOutside);
    // The machine one instruction back, and how much of the transcript it had
    // shown then; false, with nothing changed, when the history does not reach back.
    bool back(Machine& machine, std::uint64_t& shownSoFar);
    // How many instructions back the history reaches from `machine`.
    std::uint64_t reachFrom(const Machine& machine) const;

  private:
    struct Checkpoint {
        Machine machine;
        std::uint64_t shown;
    };
    void prune(std::uint64_t now);

    std::deque<Checkpoint> checkpoints; // oldest first
};
