// Symbols and navigation in the window (offscreen) on a generated program: a
// whole run with the symbols pane closed and open, Find Uses of a symbol, and
// the cost of a selection of every line.
// usage: navigation_bench [LINES [SAMPLES]]

#include "BrenvikApplication.h"
#include "BrenvikControl.h"
#include "MainForm.h"
#include "ProgramGenerator.h"
#include "RichEdit2.h"
#include "SymbolsPane.h"

#include <QElapsedTimer>
#include <QTextCursor>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

void report(const char* what, int samples, const std::function<void()>& action) {
    std::vector<double> times;
    for (int i = 0; i < samples; ++i) {
        QElapsedTimer timer;
        timer.start();
        action();
        QCoreApplication::processEvents();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-36s median %.2f ms, worst %.2f ms of %d\n", what, times[times.size() / 2], times.back(),
                samples);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::size_t lines = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 5000;
    const int samples = argc > 2 ? std::atoi(argv[2]) : 20;
    TBrenvikApplication application(argc, argv);
    TForm1 window;
    window.show();

    QString text;
    for (const std::string& line : generateProgram(lines))
        text += QString::fromStdString(line) + u'\n';
    QPlainTextEdit& area = *window.Brenvik1->GetTextArea();
    area.setPlainText(text);
    window.Brenvik1->doAsm();
    std::printf("%zu lines, %zu symbols\n", lines,
                window.Brenvik1->GetDocument().GetAssembly().symbols.size());

    const auto run = [&] {
        window.Brenvik1->SetModified(true); // so that the run is a whole one, as after typing
        window.Brenvik1->doAsm();
    };
    report("run, symbols pane closed", samples, run);
    window.Symbols1->trigger();
    report("run, symbols pane open", samples, run);

    area.moveCursor(QTextCursor::Start);
    area.find(QStringLiteral("B1:"));
    window.Brenvik1->GoTo(window.Brenvik1->GetLine() - 1, 1);
    report("Find Uses of B1", samples, [&] { window.FindUses1->trigger(); });
    report("selection of every line", samples, [&] {
        area.moveCursor(QTextCursor::Start);
        area.moveCursor(QTextCursor::End, QTextCursor::KeepAnchor);
    });
    return 0;
}
