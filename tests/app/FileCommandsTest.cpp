// New, Open, Reopen, Save, Save As and closing: the discard prompt, the nine
// backups, and failures that leave the document and the file as they were.

#include "AppTest.h"
#include "Backups.h"
#include "RichEdit2.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>

namespace {

// Triggers a command as a click would, so that an error reaches the application's report.
void click(QAction* action) {
    QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
    idle();
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
    QTemporaryDir* folder = nullptr;
    QString file(const QString& name) const { return folder->filePath(name); }

  private Q_SLOTS:
    void init() {
        QSettings().clear();
        folder = new QTemporaryDir;
    }
    void cleanup() { delete folder; }

    void fileDialogsStartInTheDocumentsFolderAndGiveTheKeysBack() {
        TForm1 window;
        window.show();
        QDir(folder->path()).mkdir("src");
        writeFile(file("src/first.asm"), "\tRET\r\n");
        writeFile(file("src/second.asm"), "\tRLC\r\n");
        window.FormCreate(file("src/first.asm"));
        QString startedIn;
        QAbstractItemView* popup = nullptr;
        whenModal<QFileDialog>([&](QFileDialog* dialog) {
            startedIn = dialog->directory().absolutePath();
            // A name typed in part shows the completer's popup; Enter then takes the whole name.
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            name->setText("sec");
            name->completer()->complete();
            popup = name->completer()->popup();
            name->setText("second.asm");
            static_cast<QDialog*>(dialog)->accept();
        });
        window.Open1->trigger();
        QCOMPARE(startedIn, QDir(file("src")).absolutePath());
        QCOMPARE(window.GetCurrentFile(), QFileInfo(file("src/second.asm")).absoluteFilePath());
        QVERIFY(popup && !popup->isVisible());
        // The window's focus widget, which has the keys whenever the window is active.
        QCOMPARE(window.focusWidget(), window.Brenvik1->GetTextArea());
    }

    void breakpointsAreRememberedForEachFile() {
        writeFile(file("a.asm"), "\tLAI 1\r\n\tLBI 2\r\n\tRET\r\n");
        writeFile(file("b.asm"), "\tRET\r\n");
        {
            TForm1 window;
            window.show();
            window.SetRecentFiles({file("b.asm"), file("a.asm")});
            window.Reopen1->actions().at(1)->trigger(); // a.asm
            window.Brenvik1->GetDocument().ToggleBreakpoint(0);
            window.Brenvik1->GetDocument().ToggleBreakpoint(2);
            idle();
            window.Reopen1->actions().at(1)->trigger(); // b.asm
            QCOMPARE(window.Brenvik1->GetDocument().BreakpointLines(), std::vector<int>{});
            idle();
            window.Reopen1->actions().at(1)->trigger(); // a.asm again
            QCOMPARE(window.Brenvik1->GetDocument().BreakpointLines(), (std::vector<int>{0, 2}));
            window.Brenvik1->GetDocument().ToggleBreakpoint(0);
            window.close();
        }
        TForm1 next; // a session later
        next.show();
        idle();
        next.Reopen1->actions().at(0)->trigger(); // a.asm, the last one open
        QCOMPARE(next.Brenvik1->GetDocument().BreakpointLines(), std::vector<int>{2});
    }

    void savingAModifiedFileKeepsNineBackups() {
        TForm1 window;
        writeFile(file("prog.asm"), "version 0\r\n");
        window.FormCreate(file("prog.asm"));
        for (int version = 1; version <= 10; ++version) {
            edit(window, QString("version %1\n").arg(version));
            window.Save1->trigger();
        }
        QCOMPARE(readFile(file("prog.asm")), QByteArray("version 10\r\n"));
        for (int n = 1; n <= 9; ++n)
            QCOMPARE(readFile(file(QString("prog.%1").arg(n))),
                     QString("version %1\r\n").arg(10 - n).toLatin1());
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString("File saved."));
    }

    void backupGapsMoveUpByOne() {
        writeFile(file("prog.asm"), "now");
        for (const char* n : {"1", "2", "4"})
            writeFile(file(QString("prog.%1").arg(n)), n);
        rotateBackups(file("prog.asm"));
        QCOMPARE(readFile(file("prog.1")), QByteArray("now"));
        QCOMPARE(readFile(file("prog.2")), QByteArray("1"));
        QCOMPARE(readFile(file("prog.3")), QByteArray("2"));
        QVERIFY(!QFile::exists(file("prog.4")));
        QCOMPARE(readFile(file("prog.5")), QByteArray("4"));
        QCOMPARE(readFile(file("prog.asm")), QByteArray("now")); // still in place until it is rewritten
        QCOMPARE(backupPath("/src/prog", 3), QString("/src/prog.3"));
        QCOMPARE(backupPath("/rel1.2/prog.inc", 1), QString("/rel1.2/prog.1"));
    }

    void saveWithoutEditsRewritesWithoutABackup() {
        writeFile(file("same.asm"), "\tRET\n");
        TForm1 window;
        window.FormCreate(file("same.asm"));
        window.Save1->trigger();
        QCOMPARE(readFile(file("same.asm")), QByteArray("\tRET\n")); // with the line ends it had
        QVERIFY(!QFile::exists(file("same.1")));
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString("File saved."));
        QTest::keyClick(window.Brenvik1->GetTextArea(), Qt::Key_X);
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString());
    }

    void saveOfAnUntitledDocumentAsksForAName() {
        TForm1 window;
        edit(window, "\tRET\n");
        chooseFile(QString());
        window.Save1->trigger();
        QCOMPARE(window.windowTitle(), QString("Brenvik - (untitled)"));
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString());
        QVERIFY(window.Brenvik1->GetModified());

        chooseFile(file("named.asm"));
        window.Save1->trigger();
        QCOMPARE(window.GetCurrentFile(), file("named.asm"));
        QCOMPARE(readFile(file("named.asm")), QByteArray("\tRET\r\n"));
        QCOMPARE(window.GetRecentFiles().first(), file("named.asm"));
        QVERIFY(!window.Brenvik1->GetModified());
    }

    void saveAsMakesTheOverwrittenFileItsFirstBackup() {
        writeFile(file("other.asm"), "old");
        TForm1 window;
        edit(window, "new\n");
        chooseFile(file("other.asm"));
        answerMessageBox(QMessageBox::Yes); // Qt asks before overwriting
        window.SaveAs1->trigger();
        QCOMPARE(readFile(file("other.asm")), QByteArray("new\r\n"));
        QCOMPARE(readFile(file("other.1")), QByteArray("old"));
    }

    void failedSaveKeepsTheEditsUnsaved() {
        TForm1 window;
        QVERIFY(QDir(folder->path()).mkdir("gone"));
        chooseFile(file("gone/x.asm"));
        window.SaveAs1->trigger();
        QVERIFY(QDir(file("gone")).removeRecursively()); // the document's folder goes
        edit(window, "\tRET\n");
        QString message;
        answerMessageBox(QMessageBox::Ok, &message);
        click(window.Save1);
        QVERIFY2(message.contains("x.asm"), qPrintable(message));
        QCOMPARE(window.GetCurrentFile(), file("gone/x.asm"));
        QVERIFY(window.Brenvik1->GetModified());
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString());
    }

    void discardPromptGuardsEveryCommandThatLosesEdits() {
        writeFile(file("a.asm"), "\tRLC\r\n");
        TForm1 window;
        edit(window, "\tRET\n");
        QString asked;

        answerMessageBox(QMessageBox::No, &asked);
        window.New1->trigger();
        QCOMPARE(asked, QString("Discard current changes?"));
        QCOMPARE(window.Brenvik1->GetDocument().GetText(), QString("\tRET\n"));

        answerMessageBox(QMessageBox::No);
        window.Open1->trigger();
        QCOMPARE(window.Brenvik1->GetDocument().GetText(), QString("\tRET\n"));

        window.SetRecentFiles({file("a.asm")});
        answerMessageBox(QMessageBox::No);
        window.Reopen1->actions().first()->trigger();
        QCOMPARE(window.Brenvik1->GetDocument().GetText(), QString("\tRET\n"));
        QVERIFY(window.Brenvik1->GetModified());

        answerMessageBox(QMessageBox::Yes);
        window.Reopen1->actions().first()->trigger();
        QCOMPARE(window.Brenvik1->GetDocument().GetText(), QString("\tRLC\n"));
        QCOMPARE(window.windowTitle(), "Brenvik - " + file("a.asm"));
        QVERIFY(!window.Brenvik1->GetModified());

        edit(window, "\tRET\n");
        answerMessageBox(QMessageBox::Yes);
        window.New1->trigger();
        QCOMPARE(window.Brenvik1->GetDocument().GetText(), QString());
        QCOMPARE(window.windowTitle(), QString("Brenvik - (untitled)"));
        QCOMPARE(window.GetRecentFiles(), QStringList{file("a.asm")});
    }

    void noPromptWithoutEdits() {
        writeFile(file("b.asm"), "\tRLC\r\n");
        TForm1 window;
        chooseFile(file("b.asm"));
        window.Open1->trigger();
        QCOMPARE(window.Brenvik1->GetDocument().GetText(), QString("\tRLC\n"));
        QCOMPARE(window.GetCurrentFile(), file("b.asm"));
    }

    void closingWithEditsAsksAndNoKeepsTheWindow() {
        TForm1 window;
        window.show();
        edit(window, "\tRET\n");
        answerMessageBox(QMessageBox::No);
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        answerMessageBox(QMessageBox::Yes);
        QVERIFY(window.close());
        QVERIFY(QSettings().contains("Options/AutoIndent")); // the settings are written on close
    }

    void failedOpenLeavesTheDocumentAsItWas() {
        writeFile(file("c.asm"), "\tRET\r\n");
        TForm1 window;
        window.FormCreate(file("c.asm"));
        chooseFile(file("missing.asm"));
        QString message;
        answerMessageBox(QMessageBox::Ok, &message);
        click(window.Open1);
        QVERIFY2(message.contains("missing.asm"), qPrintable(message));
        QCOMPARE(window.GetCurrentFile(), file("c.asm"));
        QCOMPARE(window.GetRecentFiles(), QStringList{file("c.asm")});
        QCOMPARE(window.Brenvik1->GetDocument().GetText(), QString("\tRET\n"));
    }
};

BRENVIK_APP_TEST_MAIN(FileCommandsTest)
#include "FileCommandsTest.moc"
