// The editor on a 20,000-line document: a whole doAsm with its marks and
// repaint, one typed character, and one scroll step of the code column.
// usage: component_bench [LINES]   (runs on the offscreen platform)

#include "BrenvikControl.h"
#include "ProgramGenerator.h"
#include "RichEdit2.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

struct Figures {
    double best, median;
};

Figures measure(
    int repeats, const std::function<void()>& step, const std::function<void()>& setUp = [] {}) {
    std::vector<double> ms;
    for (int i = 0; i < repeats; ++i) {
        setUp();
        QElapsedTimer timer;
        timer.start();
        step();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

void report(const char* what, const Figures& f) {
    std::printf("%-34s best %7.3f ms   median %7.3f ms\n", what, f.best, f.median);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lineCount = argc > 1 ? std::atoi(argv[1]) : 20000;

    QString text;
    for (const std::string& line : generateProgram(static_cast<std::size_t>(lineCount)))
        text += QString::fromStdString(line) + '\n';
    TBrenvik editor;
    editor.resize(900, 700);
    editor.SetFont(QFontDatabase::systemFont(QFontDatabase::FixedFont), Qt::black);
    editor.GetTextArea()->setPlainText(text);
    editor.AutoAsmDelay = 2000;
    editor.show();
    QApplication::processEvents();

    std::printf("lines %d, errors %d\n", lineCount, (editor.doAsm(), editor.GetErrorCount()));
    report("doAsm with marks and repaint", measure(20, [&] { editor.doAsm(); }));
    report("first doAsm after loading", measure(
                                            5, [&] { editor.doAsm(); },
                                            [&] {
                                                editor.GetTextArea()->setPlainText(text);
                                                QApplication::processEvents();
                                            }));

    TRichEdit2& area = *editor.GetTextArea();
    area.setFocus();
    area.moveCursor(QTextCursor::Start);
    area.moveCursor(QTextCursor::Down);
    report("one typed character", measure(200, [&] {
               QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
               QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, "x");
               QApplication::sendEvent(&area, &press);
               QApplication::sendEvent(&area, &release);
               QApplication::processEvents();
           }));

    editor.doAsm();
    QScrollBar& bar = *area.verticalScrollBar();
    report("one scroll step", measure(200, [&] {
               bar.setValue(bar.value() + 1);
               QApplication::processEvents();
           }));
    return 0;
}
