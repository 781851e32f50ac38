#include "Debugger.h"

#include "Disassembler.h"
#include "Instructions.h"

#include <algorithm>
#include <chrono>

namespace {

using namespace std::chrono_literals;

constexpr auto sliceTarget = 8ms;   // a slice at full speed, so that a Pause waits at most this long
constexpr auto realTimeTick = 10ms; // how often a real-time run catches up with the wall clock
constexpr auto keyRetry = 50ms;     // a program taken to wait for keys runs again this often anyway
constexpr auto refreshInterval = 33ms;
constexpr std::uint64_t firstSliceStates = 100'000;
constexpr std::uint64_t leastSliceStates = 1'000;

} // namespace

TDebugger::TDebugger(QObject* parent) : QObject(parent), statesPerSlice(firstSliceStates) {
    runner.countExecutions(true); // how often each line ran, told on hovering over the lit line
    sliceTimer.setSingleShot(true);
    connect(&sliceTimer, &QTimer::timeout, this, &TDebugger::slice);
}

bool TDebugger::Load(const Assembly& assembly, QString& reason) {
    stopSlices();
    std::string why;
    if (!runner.load(Program(assembly), why)) {
        reason = QString::fromStdString(why);
        reason[0] = reason[0].toUpper();
        Unload();
        return false;
    }
    before = runner.machine();
    stale = false;
    return true;
}

void TDebugger::Unload() {
    stopSlices();
    runner.unload();
    before = runner.machine();
    stale = false;
}

void TDebugger::SetMachine(const MachineDescription& description) {
    stopSlices();
    runner.setMachine(description);
    before = runner.machine();
    stale = false;
}

bool TDebugger::SetRom(std::vector<std::uint8_t> image, QString& reason) {
    stopSlices();
    std::string why;
    const bool set = runner.setRom(std::move(image), why);
    reason = QString::fromStdString(why);
    before = runner.machine();
    stale = false;
    return set;
}

void TDebugger::SetClock(unsigned hertz) {
    clock = hertz;
    // A real-time run keeps time from the change on.
    pace.restart(clock, runner.machine().states);
}

void TDebugger::Continue() {
    if (!IsLoaded() || running)
        return;
    runner.runOn();
    start();
}

void TDebugger::Pause() {
    if (running)
        finish(QStringLiteral("Paused by the user at %1").arg(Where(runner.machine().cpu.pc())));
}

void TDebugger::StepInto() {
    if (!IsLoaded() || running)
        return;
    before = runner.machine();
    finish(runner.stepInto());
}

void TDebugger::StepOver() {
    if (!IsLoaded() || running)
        return;
    before = runner.machine();
    if (const std::optional<Stop> stepped = runner.stepOver())
        finish(*stepped);
    else
        start();
}

void TDebugger::StepOut() {
    if (!IsLoaded() || running)
        return;
    runner.stepOut();
    start();
}

void TDebugger::RunTo(int line) {
    if (!IsLoaded() || running)
        return;
    if (runner.runTo(line))
        start();
    else
        Q_EMIT OnStop(QStringLiteral("No code at or below line %1 to run to").arg(line + 1));
}

void TDebugger::StepBack() {
    if (!IsLoaded() || running)
        return;
    const Machine was = runner.machine();
    if (!runner.stepBack()) {
        Q_EMIT OnStop(QStringLiteral("Nothing to step back to: the history reaches back %1 instructions")
                          .arg(runner.stepsBack()));
        return;
    }
    before = was;
    Q_EMIT OnScreenReplaced(QString::fromLatin1(runner.transcript()));
    Q_EMIT OnRefresh();
    Q_EMIT OnStop(QStringLiteral("Stepped back to %1").arg(Where(runner.machine().cpu.pc())));
}

void TDebugger::Interrupt(unsigned restart) {
    if (!IsLoaded())
        return;
    const bool wasHalted = runner.machine().cpu.halted;
    runner.interrupt(restart);
    if (running)
        return;
    if (wasHalted) { // the chip wakes and takes the interrupt
        Continue();
        return;
    }
    Q_EMIT OnStop(QStringLiteral("%1 will be taken before the next instruction, at %2")
                      .arg(QString::fromStdString(disassemble(restartOpcode(restart), 0)),
                           Where(runner.machine().cpu.pc())));
}

void TDebugger::TypeKeys(const std::string& keys) {
    const bool wasWaiting = runner.waitingForInput();
    runner.type(keys);
    if (running && wasWaiting)
        sliceTimer.start(0);
}

void TDebugger::start() {
    before = runner.machine();
    running = true;
    pace.restart(clock, runner.machine().states);
    sinceRefresh.start();
    Q_EMIT OnRunning(true);
    sliceTimer.start(0);
}

std::uint64_t TDebugger::sliceBudget() const {
    return clock == fullSpeed ? statesPerSlice : pace.due(runner.machine().states, statesPerSlice);
}

void TDebugger::slice() {
    if (!running)
        return;
    QElapsedTimer took;
    took.start();
    const std::uint64_t budget = sliceBudget();
    const std::optional<Stop> stop = budget == 0 ? std::nullopt : runner.advance(budget);
    if (clock == fullSpeed && !stop && !runner.waitingForInput()) {
        // Aim the next slice at the target length, whatever this host's speed.
        const auto nanoseconds = std::max<qint64>(took.nsecsElapsed(), 1);
        const auto target = std::chrono::nanoseconds(sliceTarget).count();
        statesPerSlice = std::max(leastSliceStates, budget * static_cast<std::uint64_t>(target) /
                                                        static_cast<std::uint64_t>(nanoseconds));
    }
    showScreen();
    noteLostReturn();
    if (stop) {
        finish(QString::fromStdString(stop->text));
        return;
    }
    // In real time the polls go on, as they spend the chip's time; at full speed
    // they would only heat the host.
    if (clock == fullSpeed && runner.waitingForInput()) {
        refresh();
        sliceTimer.start(keyRetry);
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
    if (running) {
        running = false;
        Q_EMIT OnRunning(false);
    }
}

void TDebugger::finish(const Stop& stop) {
    showScreen();
    noteLostReturn();
    finish(QString::fromStdString(stop.text));
}

void TDebugger::finish(const QString& why) {
    stopSlices();
    Q_EMIT OnRefresh();
    Q_EMIT OnStop(why);
}

void TDebugger::showScreen() {
    const std::string text = runner.takeScreen();
    if (!text.empty())
        Q_EMIT OnScreen(QString::fromLatin1(text));
}

void TDebugger::noteLostReturn() {
    if (const std::optional<std::string> lost = runner.takeLostReturn())
        Q_EMIT OnWarning(QString::fromStdString(*lost));
}
