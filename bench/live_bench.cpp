// Live Run in the window (offscreen): what it adds to a run of the examples
// and of a generated program of a few hundred lines (assembly, the live run
// and the repaint of the column, beside the same without it), and a key typed
// while a run is under way, to its repaint, with Live Run on and off.
// usage: live_bench [SAMPLES [SOURCE...]]   (the examples unless sources are named)

#include "BrenvikApplication.h"
#include "BrenvikControl.h"
#include "LiveRunner.h"
#include "LiveSession.h"
#include "MainForm.h"
#include "ProgramGenerator.h"
#include "RichEdit2.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Milliseconds = std::vector<double>;

const QString endlessLoop = "\tLAI 1\nLOOP\tINB\n\tJMP LOOP\n";

double median(Milliseconds samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double elapsed(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void waitUntil(const std::function<bool()>& done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// A whole run of the text as it stands, to its repainted code column: with
// Live Run on, to the column with the run's figures.
Milliseconds runs(TForm1& window, int samples) {
    int finished = 0;
    const TLiveSession& live = *window.findChild<TLiveSession*>();
    const QMetaObject::Connection counting =
        QObject::connect(&live.Runner(), &TLiveRunner::OnFinished, [&] { ++finished; });
    Milliseconds times;
    for (int i = 0; i < samples; ++i) {
        QElapsedTimer timer;
        timer.start();
        const int before = finished;
        window.Brenvik1->doAsm();
        if (live.IsOn())
            waitUntil([&] { return finished > before; });
        window.Brenvik1->repaint();
        times.push_back(elapsed(timer));
    }
    QObject::disconnect(counting);
    return times;
}

// From a key typed into the text to the text area's repaint, while an endless
// program's run is under way when Live Run is on; each key drops that run, and
// the next sample starts another.
Milliseconds keystrokes(TForm1& window, int samples) {
    QWidget& viewport = *window.Brenvik1->GetTextArea()->viewport();
    bool painted = false;
    struct PaintWatch : QObject {
        bool* painted;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                *painted = true;
            return false;
        }
    } watch;
    watch.painted = &painted;
    viewport.installEventFilter(&watch);
    Milliseconds times;
    for (int i = 0; i < samples; ++i) {
        window.Brenvik1->GetTextArea()->setPlainText(endlessLoop);
        window.Brenvik1->doAsm();
        QElapsedTimer settle; // a few of the run's slices go by first
        settle.start();
        while (settle.elapsed() < 20)
            QCoreApplication::processEvents();
        painted = false;
        QElapsedTimer timer;
        timer.start();
        QCoreApplication::postEvent(window.Brenvik1->GetTextArea(),
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x"));
        waitUntil([&] { return painted; });
        times.push_back(elapsed(timer));
    }
    viewport.removeEventFilter(&watch);
    return times;
}

QString textOf(const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines)
        text += QString::fromStdString(line) + '\n';
    return text;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int samples = argc > 1 ? std::atoi(argv[1]) : 21;
    TBrenvikApplication application(argc, argv);
    QStringList sources;
    for (int i = 2; i < argc; ++i)
        sources.append(QString::fromLocal8Bit(argv[i]));
    if (sources.isEmpty())
        for (const QFileInfo& file : QDir(EXAMPLES_DIR).entryInfoList({"*.asm"}, QDir::Files, QDir::Name))
            sources.append(file.filePath());

    TForm1 window;
    window.resize(1000, 800);
    window.show();
    QElapsedTimer exposing; // until the window is on the (offscreen) screen and paints
    exposing.start();
    while (exposing.elapsed() < 200)
        QCoreApplication::processEvents();
    QList<std::pair<QString, QString>> programs;
    for (const QString& path : sources) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        programs.append({QFileInfo(path).fileName(), QString::fromLatin1(file.readAll())});
    }
    programs.append({"generated, 300 lines", textOf(generateProgram(300))});
    // The worst case: a run that spends the whole budget.
    programs.append({"endless loop", endlessLoop});

    std::printf("%-22s %6s %10s %10s %10s  %s\n", "program", "lines", "off (ms)", "on (ms)", "added",
                "live run");
    TLiveSession& liveSession = *window.findChild<TLiveSession*>();
    for (const auto& [name, text] : programs) {
        window.Brenvik1->GetTextArea()->setPlainText(text);
        liveSession.SetOn(false);
        const double off = median(runs(window, samples));
        liveSession.SetOn(true);
        const double on = median(runs(window, samples));
        const LiveResult* result = window.Brenvik1->GetLiveStrip().Result();
        std::printf("%-22s %6d %10.2f %10.2f %10.2f  %s\n", qPrintable(name),
                    window.Brenvik1->GetTextArea()->document()->blockCount(), off, on, on - off,
                    result ? result->endingText.c_str() : "(no run: errors)");
    }
    for (const bool live : {false, true}) {
        liveSession.SetOn(live);
        const Milliseconds times = keystrokes(window, samples * 5);
        std::printf("key to repaint, Live Run %-3s median %.2f ms, worst %.2f ms of %zu\n",
                    live ? "on" : "off", median(times), *std::max_element(times.begin(), times.end()),
                    times.size());
    }
    return 0;
}
