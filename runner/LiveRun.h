#pragma once

// A program run through once, headless, the way the editor runs it after each
// clean assembly: from the start, on a fresh machine, with its keys typed in
// advance, until it halts, stops, waits for a key it will not get or spends
// its budget. It advances in slices, so that a caller can interleave it with
// other work and drop it at any moment. What it leaves: the screen, how it
// ended, and for every line how often it ran and the states it took.

#include "Runner.h"

#include <cstdint>
#include <string>
#include <vector>

struct LineRun {
    bool hasCode = false; // whether the line assembled an instruction to run
    std::uint64_t executions = 0;
    std::uint64_t states = 0;
};

enum class LiveEnding { running, halted, stopped, budgetSpent, waitingForInput, notLoaded };

struct LiveResult {
    LiveEnding ending = LiveEnding::running;
    // "halted at 000123 after 1,234 states", "waiting for input at line 17", ...
    std::string endingText;
    std::string screen;
    std::uint64_t states = 0;
    std::vector<LineRun> lines;          // one per source line
    std::uint64_t busiestLineStates = 0; // the most states one line took
    unsigned clockHertz = 0;             // the machine's, for the time the run takes on the chip

    // The states lines `first` to `last` (both included) took; none beyond the last line.
    std::uint64_t statesOf(std::size_t first, std::size_t last) const;
    // Whether any of those lines ran.
    bool ranAnyOf(std::size_t first, std::size_t last) const;
};

class LiveRun {
  public:
    static constexpr std::uint64_t defaultBudget = 10'000'000;
    static constexpr int busiestLinesTold = 3;

    LiveRun(const Program& program, std::uint64_t budget, const std::string& keys,
            const MachineDescription& description = consoleMachine(),
            const std::vector<std::uint8_t>& rom = {});

    // Runs on for at most `states` more states; true once the run has ended.
    bool advance(std::uint64_t states);
    bool ended() const { return ending != LiveEnding::running; }
    std::uint64_t states() const { return runner.machine().states; }
    // The figures so far; complete once the run has ended.
    LiveResult result() const;

  private:
    void end(LiveEnding how, std::string text);
    std::string busiestLines(const std::vector<LineRun>& lines) const;

    Runner runner;
    unsigned clockHertz;
    std::uint64_t budget;
    LiveEnding ending = LiveEnding::running;
    std::string endingText;
    std::string screen;
};

// 1,234,567: digits in groups of three, as the figures of a run are told.
std::string groupedDigits(std::uint64_t number);
// A count in at most four characters: 999, 1.2k, 12k, 123k, 1.2M, ...
std::string compactCount(std::uint64_t count);
// What a line's figures mean, for a tooltip: "12 executions, 345 states (28.8% of
// the run), 28.75 states per execution".
std::string lineRunText(const LineRun& line, std::uint64_t runStates);
// "4.9 ms" or "40 s": how long `states` take on an 8008 clocked at `hertz`.
std::string chipTimeText(std::uint64_t states, unsigned hertz);
