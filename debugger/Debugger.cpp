#include "Debugger.h"

#include "Disassembler.h"
#include "Instructions.h"
#include "Values.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace {

using namespace std::chrono_literals;

constexpr auto sliceTarget = 8ms;   // a slice at full speed, so that a Pause waits at most this long
constexpr auto realTimeTick = 10ms; // how often a real-time run catches up with the wall clock
constexpr auto keyRetry = 50ms;     // a program taken to wait for keys runs again this often anyway
constexpr auto refreshInterval = 33ms;
constexpr std::uint64_t firstSliceStates = 100'000;
constexpr std::uint64_t leastSliceStates = 1'000;
constexpr std::uint16_t addressMask = Cpu::addressMask;

std::uint8_t restartOpcode(unsigned restart) {
    return static_cast<std::uint8_t>(0005 | (restart & 7) << 3);
}

} // namespace

TDebugger::TDebugger(QObject* parent) : QObject(parent), statesPerSlice(firstSliceStates) {
    sliceTimer.setSingleShot(true);
    connect(&sliceTimer, &QTimer::timeout, this, &TDebugger::slice);
}

bool TDebugger::Load(const Assembly& assembly, QString& reason) {
    // The switches stay as the user set them, as on a front panel.
    const auto switches = machine.ports.inputValues;
    Unload();
    machine.ports.inputValues = switches;
    std::optional<std::uint32_t> beyond;
    assembly.forEachByte([&](std::uint32_t address, std::uint8_t byte) {
        if (address < Machine::memorySize)
            machine.memory[address] = byte;
        else if (!beyond)
            beyond = address;
    });
    if (beyond) {
        reason = QStringLiteral("Address %1 is beyond the 8008's 16 KiB of memory (000000 to 037777)")
                     .arg(octalString(*beyond, 6));
        Unload();
        machine.ports.inputValues = switches;
        return false;
    }
    lineOfAddress.assign(Machine::memorySize, -1);
    addressOfLine.assign(assembly.lines.size(), Assembly::noLine);
    for (std::size_t i = 0; i < assembly.lines.size(); ++i) {
        const Assembly::Line& line = assembly.lines[i];
        if (!line.emit || line.value >= Machine::memorySize)
            continue;
        if (line.hasOpcode()) {
            lineOfAddress[line.value] = static_cast<int>(i);
        } else if (line.kind == Assembly::Line::lhli) {
            // Two instructions, LHI and LLI, both of the line.
            lineOfAddress[line.value] = static_cast<int>(i);
            lineOfAddress[(line.value + 2) & addressMask] = static_cast<int>(i);
        } else {
            continue;
        }
        addressOfLine[i] = line.value;
    }
    before = machine;
    loaded = true;
    stale = false;
    return true;
}

void TDebugger::Unload() {
    stopSlices();
    machine = Machine{};
    before = machine;
    loaded = false;
    stale = false;
    lineOfAddress.clear();
    addressOfLine.clear();
    breakpoints.reset();
    warnedLostSlot.reset();
}

int TDebugger::LineOf(std::uint16_t address) const {
    return address < lineOfAddress.size() ? lineOfAddress[address] : -1;
}

int TDebugger::CurrentLine() const {
    const std::uint16_t pc = machine.cpu.pc();
    return LineOf(machine.cpu.halted ? static_cast<std::uint16_t>((pc - 1) & addressMask) : pc);
}

std::optional<std::uint16_t> TDebugger::AddressFrom(int line) const {
    for (auto i = static_cast<std::size_t>(std::max(line, 0)); i < addressOfLine.size(); ++i)
        if (addressOfLine[i] != Assembly::noLine)
            return static_cast<std::uint16_t>(addressOfLine[i]);
    return std::nullopt;
}

void TDebugger::SetBreakpointLines(const std::vector<int>& lines) {
    breakpoints.reset();
    for (const int line : lines)
        if (line >= 0 && static_cast<std::size_t>(line) < addressOfLine.size() &&
            addressOfLine[static_cast<std::size_t>(line)] != Assembly::noLine)
            breakpoints.set(addressOfLine[static_cast<std::size_t>(line)]);
    if (running)
        stops |= breakpoints;
}

void TDebugger::SetClock(unsigned hertz) {
    clock = hertz;
    // A real-time run keeps time from the change on.
    statesAtStart = machine.states;
    sinceStart.start();
}

void TDebugger::Continue() {
    start(std::nullopt, std::nullopt);
}

void TDebugger::Pause() {
    if (running)
        finish(QStringLiteral("Paused by the user at %1").arg(Where(machine.cpu.pc())));
}

void TDebugger::StepInto() {
    if (!loaded || running)
        return;
    before = machine;
    const StopReason reason = machine.run(Machine::Stops{}, Machine::unlimited, 1);
    showScreen();
    noteLostReturn();
    finish(stopText(reason));
}

void TDebugger::StepOver() {
    if (!loaded || running)
        return;
    if (!machine.cpu.halted && isCall(machine.memory[machine.cpu.pc()]))
        start(machine.callDepth + 1, std::nullopt);
    else
        StepInto();
}

void TDebugger::StepOut() {
    start(machine.callDepth, std::nullopt);
}

void TDebugger::RunTo(int line) {
    if (const std::optional<std::uint16_t> address = AddressFrom(line))
        start(std::nullopt, address);
    else
        Q_EMIT OnStop(QStringLiteral("No code at or below line %1 to run to").arg(line + 1));
}

void TDebugger::Interrupt(unsigned restart) {
    if (!loaded)
        return;
    const bool wasHalted = machine.cpu.halted;
    machine.interrupt(restartOpcode(restart));
    const QString instruction = QString::fromStdString(disassemble(restartOpcode(restart), 0));
    if (running)
        return;
    if (wasHalted) { // the chip wakes and takes the interrupt
        Continue();
        return;
    }
    Q_EMIT OnStop(QStringLiteral("%1 will be taken before the next instruction, at %2")
                      .arg(instruction, Where(machine.cpu.pc())));
}

void TDebugger::TypeKeys(const std::string& keys) {
    machine.ports.console.type(keys);
    if (running && waitingForKeys) {
        waitingForKeys = false;
        sliceTimer.start(0);
    }
}

void TDebugger::start(std::optional<unsigned> returnBelowDepth, std::optional<std::uint16_t> stopAt) {
    if (!loaded || running)
        return;
    before = machine;
    returnBelow = returnBelowDepth;
    runToAddress = stopAt;
    stops = breakpoints;
    if (stopAt)
        stops.set(*stopAt);
    running = true;
    waitingForKeys = false;
    statesAtStart = machine.states;
    sinceStart.start();
    sinceRefresh.start();
    Q_EMIT OnRunning(true);
    sliceTimer.start(0);
}

std::uint64_t TDebugger::sliceBudget() const {
    if (clock == fullSpeed)
        return statesPerSlice;
    // Real time: as many states as the wall clock has let the chip spend since the start.
    const auto elapsed = std::chrono::nanoseconds(sinceStart.nsecsElapsed());
    const auto due = static_cast<std::uint64_t>(std::chrono::duration<double>(elapsed).count() * clock /
                                                clockPeriodsPerState);
    const std::uint64_t spent = machine.states - statesAtStart;
    // After a stall the chip catches up, but in slices no longer than at full speed.
    return due > spent ? std::min(due - spent, statesPerSlice) : 0;
}

void TDebugger::slice() {
    if (!running)
        return;
    QElapsedTimer took;
    took.start();
    const std::uint64_t budget = sliceBudget();
    const StopReason reason =
        budget == 0 ? StopReason::budget : machine.run(Machine::Stops{&stops, returnBelow}, budget);
    if (clock == fullSpeed && reason == StopReason::budget) {
        // Aim the next slice at the target length, whatever this host's speed.
        const auto nanoseconds = std::max<qint64>(took.nsecsElapsed(), 1);
        const auto target = std::chrono::nanoseconds(sliceTarget).count();
        statesPerSlice = std::max(leastSliceStates, budget * static_cast<std::uint64_t>(target) /
                                                        static_cast<std::uint64_t>(nanoseconds));
    }
    showScreen();
    noteLostReturn();
    switch (reason) {
    case StopReason::budget:
        break;
    case StopReason::waitingForKeys:
        // In real time the polls go on, as they spend the chip's time; at full speed
        // they would only heat the host.
        if (clock == fullSpeed && !machine.ports.console.hasKeys()) {
            waitingForKeys = true;
            refresh();
            sliceTimer.start(keyRetry);
            return;
        }
        break;
    default:
        finish(stopText(reason));
        return;
    }
    if (sinceRefresh.elapsed() >= refreshInterval.count())
        refresh();
    sliceTimer.start(clock == fullSpeed ? 0ms : realTimeTick);
}

void TDebugger::refresh() {
    sinceRefresh.start();
    Q_EMIT OnRefresh();
}

void TDebugger::stopSlices() {
    sliceTimer.stop();
    waitingForKeys = false;
    if (running) {
        running = false;
        Q_EMIT OnRunning(false);
    }
}

void TDebugger::finish(const QString& why) {
    stopSlices();
    Q_EMIT OnRefresh();
    Q_EMIT OnStop(why);
}

QString TDebugger::stopText(StopReason reason) const {
    const std::uint16_t pc = machine.cpu.pc();
    switch (reason) {
    case StopReason::halted: {
        // The PC has moved past the HLT, a one-byte instruction.
        const auto at = static_cast<std::uint16_t>((pc - 1) & addressMask);
        return QStringLiteral("Halted by %1 at %2")
            .arg(QString::fromStdString(disassemble(machine.memory[at], 0)), Where(at));
    }
    case StopReason::undefinedOpcode:
        return QStringLiteral("Undefined opcode %1 at %2").arg(octalString(machine.memory[pc], 3), Where(pc));
    case StopReason::breakpoint:
        if (!breakpoints[pc] && runToAddress == pc)
            return QStringLiteral("Ran to %1").arg(Where(pc));
        return QStringLiteral("Breakpoint at %1").arg(Where(pc));
    default:
        return QStringLiteral("Stepped to %1").arg(Where(pc));
    }
}

QString TDebugger::Where(std::uint16_t address) const {
    const QString octal = octalString(address, 6);
    const int line = LineOf(address);
    return line < 0 ? octal : QStringLiteral("line %1 (%2)").arg(line + 1).arg(octal);
}

void TDebugger::showScreen() {
    const std::string text = machine.ports.console.takeScreen();
    if (!text.empty())
        Q_EMIT OnScreen(QString::fromLatin1(text));
}

void TDebugger::noteLostReturn() {
    const std::optional<std::uint8_t> lost = std::exchange(warnedLostSlot, machine.lostReturnSlot);
    if (machine.lostReturnSlot && machine.lostReturnSlot != lost)
        Q_EMIT OnWarning(
            QStringLiteral("An 8th nested call overwrote the oldest return address (stack slot %1)")
                .arg(*machine.lostReturnSlot));
}
