// The debugger in the window (offscreen): the speed of a run at full speed
// beside the machine alone, how long a Pause waits, and how soon a key typed
// in the console reaches a program that polls for it.
// usage: debugger_bench [PASSES [SAMPLES]]

#include "BrenvikApplication.h"
#include "BrenvikControl.h"
#include "BusyProgram.h"
#include "ConsolePane.h"
#include "DebugSession.h"
#include "HeadlessTextArea.h"
#include "MainForm.h"
#include "RichEdit2.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

using Milliseconds = std::vector<double>;

void waitUntil(const std::function<bool()>& done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void waitFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void report(const char* what, Milliseconds samples) {
    std::sort(samples.begin(), samples.end());
    std::printf("%-28s median %.2f ms, worst %.2f ms of %zu\n", what, samples[samples.size() / 2],
                samples.back(), samples.size());
}

double seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Instructions per second of the machine alone on `source`, to its halt.
double headlessSpeed(const std::vector<std::string>& source) {
    HeadlessTextArea text(source);
    TBrenvikEngine engine(text);
    const Assembly& assembly = engine.run();
    Machine machine;
    assembly.GetCode([&](std::uint32_t address, std::uint8_t byte) { machine.memory[address] = byte; });
    QElapsedTimer timer;
    timer.start();
    machine.run();
    return static_cast<double>(machine.instructions) / seconds(timer);
}

void setText(TForm1& window, const std::vector<std::string>& source) {
    QString text;
    for (const std::string& line : source)
        text += QString::fromStdString(line) + "\n";
    window.Brenvik1->GetTextArea()->setPlainText(text);
}

double windowSpeed(TForm1& window, const std::vector<std::string>& source) {
    setText(window, source);
    TDebugSession& session = *window.findChild<TDebugSession*>();
    TDebugger& debugger = session.Debugger();
    QElapsedTimer timer;
    timer.start();
    session.Restart1->trigger();
    waitUntil([&] { return !debugger.IsRunning(); });
    return static_cast<double>(debugger.GetMachine().instructions) / seconds(timer);
}

// From the moment a Pause is due (a timer's) to the stop, at random moments of a run.
Milliseconds pauseLatencies(TForm1& window, int samples) {
    setText(window, {"LOOP:\tINB", "\tADB", "\tJMP\tLOOP"});
    TDebugSession& session = *window.findChild<TDebugSession*>();
    TDebugger& debugger = session.Debugger();
    session.Restart1->trigger();
    std::mt19937 random(8008);
    std::uniform_int_distribution<int> delay(20, 120);
    Milliseconds latencies;
    for (int i = 0; i < samples; ++i) {
        const int after = delay(random);
        QElapsedTimer timer;
        timer.start();
        QTimer::singleShot(after, Qt::PreciseTimer, [&] { session.Pause1->trigger(); });
        waitUntil([&] { return !debugger.IsRunning(); });
        latencies.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6 - after);
        session.RunContinue1->trigger();
    }
    session.Stop1->trigger();
    return latencies;
}

// From a key typed to its echo on the screen, the program polling between keys.
Milliseconds keyLatencies(TForm1& window, int samples) {
    setText(window, {"WAIT:\tINP\t0", "\tNDI\t1", "\tJTZ\tWAIT", "\tINP\t1", "\tOUT\t8", "\tJMP\tWAIT"});
    TDebugSession& session = *window.findChild<TDebugSession*>();
    TDebugger& debugger = session.Debugger();
    session.Restart1->trigger();
    bool echoed = false;
    QObject::connect(&debugger, &TDebugger::OnScreen, [&] { echoed = true; });
    Milliseconds latencies;
    for (int i = 0; i < samples; ++i) {
        waitFor(100); // long enough for the program to be taken as waiting
        echoed = false;
        QElapsedTimer timer;
        timer.start();
        Q_EMIT session.Console()->View()->OnKeys("k");
        waitUntil([&] { return echoed; });
        latencies.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    session.Stop1->trigger();
    return latencies;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const unsigned passes = argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 200;
    const int samples = argc > 2 ? std::atoi(argv[2]) : 30;
    TBrenvikApplication application(argc, argv);
    TForm1 window;
    window.show();

    const std::vector<std::string> source = busyProgram(passes);
    const double alone = headlessSpeed(source);
    const double inWindow = windowSpeed(window, source);
    std::printf("machine alone                %.1f million instructions/s\n", alone / 1e6);
    std::printf("in the window, full speed    %.1f million instructions/s (%.0f%% of alone)\n",
                inWindow / 1e6, 100 * inWindow / alone);
    report("pause latency", pauseLatencies(window, samples));
    report("key to echo", keyLatencies(window, samples));
    return 0;
}
