#include "Runner.h"

#include "CodeFormat.h"
#include "Disassembler.h"
#include "Instructions.h"

#include <utility>

namespace {

constexpr std::uint16_t addressMask = Cpu::addressMask;

} // namespace

Runner::Runner(const MachineDescription& description) : description(&description), current(description) {}

bool Runner::load(const Program& program, std::string& reason) {
    reason = program.loadProblem();
    if (!reason.empty())
        return false;
    unload();
    loadedProgram = std::make_shared<Program>(program);
    if (description->romWindow)
        if (std::optional<std::vector<std::uint8_t>> image = program.romImage(*description->romWindow, rom))
            current.setRom(std::move(*image));
    program.loadInto(current);
    isLoaded = true;
    note(true);
    return true;
}

bool Runner::setRom(std::vector<std::uint8_t> image, std::string& reason) {
    const std::optional<RomWindow>& window = description->romWindow;
    if (!window) {
        reason = "the " + description->name + " machine has no ROM";
        return false;
    }
    const std::size_t room = std::size_t{window->size} * window->banks;
    if (image.empty() || image.size() > room) {
        reason = image.empty() ? std::string("an empty ROM image")
                               : std::to_string(image.size()) + " bytes, more than the " + description->name +
                                     "'s ROM holds (" + std::to_string(window->banks) + " banks of " +
                                     std::to_string(window->size) + ")";
        return false;
    }
    rom = std::move(image);
    unload();
    return true;
}

bool Runner::relink(const Program& program) {
    if (!isLoaded || !program.sameBytes(*loadedProgram))
        return false;
    loadedProgram = std::make_shared<Program>(program);
    return true;
}

void Runner::unload() {
    const bool counting = current.counts != nullptr;
    // The switches stay as the user set them, as on a front panel.
    const auto switches = current.ports.inputValues;
    current = Machine(*description);
    if (!rom.empty())
        current.setRom(rom);
    current.ports.inputValues = switches;
    current.countExecutions(counting);
    loadedProgram = std::make_shared<Program>();
    isLoaded = false;
    breakpoints.reset();
    stops.reset();
    returnBelow.reset();
    runToAddress.reset();
    waiting = false;
    shown.clear();
    shownBefore = 0;
    unread.clear();
    history.clear();
    toldLostSlot.reset();
}

void Runner::setMachine(const MachineDescription& machine) {
    description = &machine;
    rom.clear();
    unload();
    current.ports.inputValues = {}; // another machine's switches
}

void Runner::keepHistory(bool on) {
    historyKept = on;
    history.clear();
    if (on)
        note(true);
}

void Runner::note(bool fromOutside) {
    if (historyKept)
        history.note(current, shownBefore + shown.size(), fromOutside);
}

std::string Runner::where(std::uint16_t address) const {
    const std::string octal = octalText(address, 6);
    const int line = loadedProgram->lineOf(address);
    return line < 0 ? octal : "line " + std::to_string(line + 1) + " (" + octal + ")";
}

int Runner::currentLine() const {
    const std::uint16_t pc = current.cpu.pc();
    return loadedProgram->lineOf(current.cpu.halted ? static_cast<std::uint16_t>((pc - 1) & addressMask)
                                                    : pc);
}

void Runner::setBreakpointLines(const std::vector<int>& lines) {
    breakpoints.reset();
    for (const int line : lines)
        if (loadedProgram->lineHasInstruction(line))
            breakpoints.set(*loadedProgram->addressFrom(line));
    stops = breakpoints;
    if (runToAddress)
        stops.set(*runToAddress);
}

void Runner::startGoal(std::optional<unsigned> returnBelowDepth, std::optional<std::uint16_t> stopAt) {
    returnBelow = returnBelowDepth;
    runToAddress = stopAt;
    stops = breakpoints;
    if (stopAt)
        stops.set(*stopAt);
    waiting = false;
    note(false);
}

void Runner::runOn() {
    startGoal(std::nullopt, std::nullopt);
}

std::optional<Stop> Runner::stepOver() {
    if (current.cpu.halted || !isCall(current.memory[current.cpu.pc()]))
        return stepInto();
    startGoal(current.callDepth + 1, std::nullopt);
    return std::nullopt;
}

void Runner::stepOut() {
    startGoal(current.callDepth, std::nullopt);
}

bool Runner::runTo(int line) {
    const std::optional<std::uint16_t> address = loadedProgram->addressFrom(line);
    if (address)
        startGoal(std::nullopt, address);
    return address.has_value();
}

Stop Runner::stepInto() {
    startGoal(std::nullopt, std::nullopt);
    const StopReason reason = current.run(Machine::Stops{}, Machine::unlimited, 1);
    collectScreen();
    note(false);
    return {reason, stopText(reason)};
}

std::optional<Stop> Runner::advance(std::uint64_t states) {
    // Without breakpoints the machine runs its fastest way.
    const StopReason reason =
        current.run(Machine::Stops{stops.any() ? &stops : nullptr, returnBelow}, states);
    collectScreen();
    note(false);
    waiting = reason == StopReason::waitingForKeys && !hasKeys();
    if (reason == StopReason::budget || reason == StopReason::waitingForKeys)
        return std::nullopt;
    return Stop{reason, stopText(reason)};
}

void Runner::type(const std::string& keys) {
    if (TerminalDevice* terminal = current.ports.terminal()) {
        terminal->type(keys);
        waiting = false;
        note(true);
    }
}

bool Runner::hasKeys() const {
    const TerminalDevice* terminal = current.ports.terminal();
    return terminal && terminal->hasKeys();
}

void Runner::collectScreen() {
    TerminalDevice* terminal = current.ports.terminal();
    if (!terminal)
        return;
    const std::string text = terminal->takeScreen();
    unread += text;
    if (!historyKept)
        return;
    shown += text;
    if (shown.size() > transcriptKept) {
        const std::size_t dropped = shown.size() - transcriptKept / 2;
        shown.erase(0, dropped);
        shownBefore += dropped;
    }
}

std::string Runner::takeScreen() {
    collectScreen();
    return std::exchange(unread, {});
}

void Runner::interrupt(unsigned restart) {
    current.interrupt(restartOpcode(restart));
    waiting = false;
    note(true);
}

void Runner::changedFromOutside() {
    note(true);
}

bool Runner::stepBack() {
    collectScreen();
    std::uint64_t shownSoFar = 0;
    if (!historyKept || !history.back(current, shownSoFar))
        return false;
    shown.resize(shownSoFar > shownBefore ? static_cast<std::size_t>(shownSoFar - shownBefore) : 0);
    unread.clear();
    waiting = false;
    return true;
}

std::uint64_t Runner::stepsBack() const {
    return historyKept ? history.reachFrom(current) : 0;
}

std::string Runner::stopText(StopReason reason) const {
    const std::uint16_t pc = current.cpu.pc();
    switch (reason) {
    case StopReason::halted: {
        // The PC has moved past the HLT, a one-byte instruction.
        const auto at = static_cast<std::uint16_t>((pc - 1) & addressMask);
        return "Halted by " + disassemble(current.memory[at], 0) + " at " + where(at);
    }
    case StopReason::undefinedOpcode:
        return "Undefined opcode " + octalText(current.memory[pc], 3) + " at " + where(pc);
    case StopReason::breakpoint:
        if (!breakpoints[pc] && runToAddress == pc)
            return "Ran to " + where(pc);
        return "Breakpoint at " + where(pc);
    case StopReason::endOfInput:
        return "Waiting for input at end of input";
    default:
        return "Stepped to " + where(pc);
    }
}

std::optional<std::string> Runner::takeLostReturn() {
    const std::optional<std::uint8_t> told = std::exchange(toldLostSlot, current.lostReturnSlot);
    if (!current.lostReturnSlot || current.lostReturnSlot == told)
        return std::nullopt;
    return "An 8th nested call overwrote the oldest return address (stack slot " +
           std::to_string(*current.lostReturnSlot) + ")";
}
