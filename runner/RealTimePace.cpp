#include "RealTimePace.h"

#include "Instructions.h"

#include <algorithm>

void RealTimePace::restart(unsigned clockHertz, std::uint64_t states) {
    hertz = clockHertz;
    statesAtStart = states;
    start = Clock::now();
}

std::uint64_t RealTimePace::due(std::uint64_t states, std::uint64_t most) const {
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const auto dueByNow = static_cast<std::uint64_t>(seconds * hertz / clockPeriodsPerState);
    const std::uint64_t spent = states - statesAtStart;
    return dueByNow > spent ? std::min(dueByNow - spent, most) : 0;
}
