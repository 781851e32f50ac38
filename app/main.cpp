#include "BrenvikApplication.h"
#include "ErrorReport.h"
#include "MainForm.h"
#include "Version.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr int exitAnswered = 0;
constexpr int exitCannotWrite = 2;

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();

    CommandLine() {
        // Qt's own options are words after one dash (-style, -stylesheet): read as
        // letters, -stylesheet held -h and answered with the help.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(
            QStringLiteral("Write, assemble, run and debug Intel 8008 programs."));
        parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The source to open (.asm)."),
                                     QStringLiteral("[file]"));
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationVersion(QString::fromLatin1(brenvikVersion));
    // --help and --version are answered before the application needs a display;
    // options of Qt's own, such as -style, are left for the application to take.
    CommandLine command;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    command.parser.parse(arguments);
    if (command.parser.isSet(command.help) || command.parser.isSet(command.version)) {
        const QString program = QFileInfo(arguments.value(0)).fileName();
        // Without an application object, the parser cannot know the program's name.
        const QString answer =
            command.parser.isSet(command.help)
                ? command.parser.helpText().replace(QStringLiteral("<executable_name>"), program)
                : QStringLiteral("%1 (Brenvik) %2\n").arg(program, brenvikVersion);
        std::fputs(answer.toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 ? exitAnswered : exitCannotWrite;
    }

    TBrenvikApplication application(argc, argv);
    command.parser.process(application); // an unknown option is told, and the program ends
    try {
        TForm1 window;
        window.show();
        window.FormCreate(command.parser.positionalArguments().value(0));
        return application.exec();
    } catch (const std::exception& error) { // the windows could not be built
        showErrorReport(QString::fromStdString(error.what()));
        return 1;
    }
}
