#include "LiveRunner.h"

#include <QElapsedTimer>

namespace {

// A slice runs for about this long, then lets the window's events through:
// well within a frame, so that a keystroke is shown at once.
constexpr qint64 sliceMilliseconds = 4;
// States between looks at the clock: a small part of a slice.
constexpr std::uint64_t statesPerStep = 1 << 15;

} // namespace

TLiveRunner::TLiveRunner(QObject* parent) : QObject(parent) {
    sliceTimer.setInterval(0);
    connect(&sliceTimer, &QTimer::timeout, this, &TLiveRunner::slice);
}

void TLiveRunner::Start(const Program& program, std::uint64_t budget, const std::string& keys,
                        const MachineDescription& machine, const std::vector<std::uint8_t>& rom) {
    run.emplace(program, budget, keys, machine, rom);
    sliceTimer.start();
}

void TLiveRunner::Abandon() {
    sliceTimer.stop();
    run.reset();
}

void TLiveRunner::slice() {
    QElapsedTimer clock;
    clock.start();
    bool ended = false;
    while (!ended && clock.elapsed() < sliceMilliseconds)
        ended = run->advance(statesPerStep);
    if (!ended)
        return;
    const auto result = std::make_shared<const LiveResult>(run->result());
    Abandon();
    Q_EMIT OnFinished(result);
}
