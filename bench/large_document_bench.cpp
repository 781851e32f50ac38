// The editor on a very large document: the time from LoadFromFile to the first
// painted code column (loading, one doAsm, one repaint), for a generated program
// of LINES lines and for one line of 10 MB, with the peak memory of the process.
// usage: large_document_bench [LINES]   (default 1,000,000; runs offscreen)

#include "BrenvikControl.h"
#include "ProgramGenerator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void loadAssembleAndPaint(TBrenvik& editor, const QString& path, const char* what) {
    QElapsedTimer timer;
    timer.start();
    editor.LoadFromFile(path);
    const double loaded = timer.nsecsElapsed() / 1e6;
    editor.doAsm();
    const double assembled = timer.nsecsElapsed() / 1e6;
    editor.repaint();
    const double painted = timer.nsecsElapsed() / 1e6;
    std::printf(
        "%-28s load %8.1f ms   + doAsm %8.1f ms   + paint %6.1f ms   = %8.1f ms   (%d errors, %u bytes)\n",
        what, loaded, assembled - loaded, painted - assembled, painted, editor.GetErrorCount(),
        editor.BytesAssembled());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const auto lineCount = static_cast<std::size_t>(argc > 1 ? std::atol(argv[1]) : 1000000);

    QTemporaryDir folder;
    QByteArray program;
    for (const std::string& line : generateProgram(lineCount))
        program += QByteArray::fromStdString(line) + "\r\n";
    writeFile(folder.filePath("program.asm"), program);
    writeFile(folder.filePath("long-line.asm"),
              "\tDB\t" + QByteArray(10 * 1024 * 1024 / 2, '1').replace("1", "1,") + "0\r\n");
    program.clear();

    TBrenvik editor;
    editor.resize(900, 700);
    editor.SetFont(QFontDatabase::systemFont(QFontDatabase::FixedFont), Qt::black);
    editor.show();
    QApplication::processEvents();

    loadAssembleAndPaint(editor, folder.filePath("program.asm"),
                         (std::to_string(lineCount) + " lines").c_str());
    loadAssembleAndPaint(editor, folder.filePath("long-line.asm"), "one line of 10 MB");

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory %.1f MiB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
