#include "LiveRun.h"

#include "CodeFormat.h"
#include "Instructions.h"
#include "Profile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

constexpr std::uint64_t thousand = 1000;
constexpr const char* countUnits[] = {"k", "M", "G", "T", "P", "E"};

std::string plural(std::uint64_t count, const char* noun) {
    return groupedDigits(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string withOneDecimal(double value, const char* unit) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%s", value, unit);
    return text;
}

// "12", "12 and 13", "12, 13 and 14".
std::string listed(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return text;
}

} // namespace

std::uint64_t LiveResult::statesOf(std::size_t first, std::size_t last) const {
    std::uint64_t sum = 0;
    for (std::size_t line = first; line <= last && line < lines.size(); ++line)
        sum += lines[line].states;
    return sum;
}

bool LiveResult::ranAnyOf(std::size_t first, std::size_t last) const {
    for (std::size_t line = first; line <= last && line < lines.size(); ++line)
        if (lines[line].executions > 0)
            return true;
    return false;
}

LiveRun::LiveRun(const Program& program, std::uint64_t budget, const std::string& keys,
                 const MachineDescription& description, const std::vector<std::uint8_t>& rom)
    : runner(description), clockHertz(description.clockHertz), budget(budget) {
    runner.keepHistory(false);
    runner.countExecutions(true);
    std::string reason;
    if ((!rom.empty() && !runner.setRom(rom, reason)) || !runner.load(program, reason)) {
        end(LiveEnding::notLoaded, "cannot run: " + reason);
        return;
    }
    runner.type(keys);
    runner.runOn();
}

bool LiveRun::advance(std::uint64_t states) {
    if (ended())
        return true;
    const Machine& machine = runner.machine();
    const std::optional<Stop> stop =
        runner.advance(std::min(states, budget - std::min(budget, machine.states)));
    screen += runner.takeScreen();
    const std::string after = " after " + plural(machine.states, "state");
    // A HLT, or the INP that found no key, has just run: a one-byte instruction before the PC.
    const std::string atLast =
        runner.where(static_cast<std::uint16_t>((machine.cpu.pc() - 1) & Cpu::addressMask));
    if (stop && stop->reason == StopReason::halted) {
        end(LiveEnding::halted, "halted at " + atLast + after);
    } else if (stop) {
        std::string text = stop->text;
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
        end(LiveEnding::stopped, text + after);
    } else if (runner.waitingForInput()) {
        end(LiveEnding::waitingForInput, "waiting for input at " + atLast);
    } else if (machine.states >= budget) {
        end(LiveEnding::budgetSpent, "still running" + after);
    }
    return ended();
}

void LiveRun::end(LiveEnding how, std::string text) {
    ending = how;
    endingText = std::move(text);
}

LiveResult LiveRun::result() const {
    LiveResult result{ending, endingText, screen, runner.machine().states, {}, 0, clockHertz};
    const Program& program = runner.program();
    const ExecutionCounts& counts = *runner.machine().counts;
    result.lines.resize(program.lineCount());
    for (std::size_t line = 0; line < result.lines.size(); ++line) {
        if (!program.lineHasInstruction(static_cast<int>(line)))
            continue;
        const ProfileRow row = lineProfile(program, counts, static_cast<int>(line));
        result.lines[line] = {true, row.executions, row.states};
        result.busiestLineStates = std::max(result.busiestLineStates, row.states);
    }
    if (ending == LiveEnding::budgetSpent)
        result.endingText += busiestLines(result.lines);
    return result;
}

// ": the busiest lines are 12, 13 and 14", the most states first.
std::string LiveRun::busiestLines(const std::vector<LineRun>& lines) const {
    std::vector<std::size_t> busiest;
    for (std::size_t line = 0; line < lines.size(); ++line)
        if (lines[line].states > 0)
            busiest.push_back(line);
    const auto told = std::min<std::size_t>(busiest.size(), busiestLinesTold);
    std::partial_sort(busiest.begin(), busiest.begin() + static_cast<std::ptrdiff_t>(told), busiest.end(),
                      [&](std::size_t a, std::size_t b) {
                          return lines[a].states != lines[b].states ? lines[a].states > lines[b].states
                                                                    : a < b;
                      });
    std::vector<std::string> numbers;
    for (std::size_t i = 0; i < told; ++i)
        numbers.push_back(std::to_string(busiest[i] + 1));
    if (numbers.empty())
        return {};
    return (numbers.size() == 1 ? ": the busiest line is " : ": the busiest lines are ") + listed(numbers);
}

std::string groupedDigits(std::uint64_t number) {
    std::string digits = std::to_string(number);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return digits;
}

std::string compactCount(std::uint64_t count) {
    if (count < thousand)
        return std::to_string(count);
    std::size_t unit = 0;
    for (; count >= thousand * thousand; count /= thousand)
        ++unit;
    // Rounded down, so that a figure never claims more than ran.
    if (count < 10 * thousand)
        return withOneDecimal(static_cast<double>(count / 100) / 10, countUnits[unit]);
    return std::to_string(count / thousand) + countUnits[unit];
}

std::string lineRunText(const LineRun& line, std::uint64_t runStates) {
    if (line.executions == 0)
        return "never ran";
    const double share = runStates == 0 ? 0.0 : 100.0 * static_cast<double>(line.states) / runStates;
    return plural(line.executions, "execution") + ", " + plural(line.states, "state") + " (" +
           withOneDecimal(share, "%") + " of the run), " +
           withOneDecimal(static_cast<double>(line.states) / line.executions, " states per execution");
}

std::string chipTimeText(std::uint64_t states, unsigned hertz) {
    const double seconds = static_cast<double>(states) * clockPeriodsPerState / hertz;
    if (seconds < 1e-3)
        return withOneDecimal(seconds * 1e6, " µs");
    if (seconds < 1)
        return withOneDecimal(seconds * 1e3, " ms");
    return withOneDecimal(seconds, " s");
}
