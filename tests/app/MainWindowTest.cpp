// The main window as a user meets it: caption, status bar, menu states, the
// HEX file after each clean run, and the options kept between runs.

#include "AboutForm.h"
#include "AppTest.h"
#include "ElidedLabel.h"
#include "Marks.h"

#include "PermissionsEnforced.h"
#include "RichEdit2.h"
#include "Settings.h"
#include <QToolTip>

#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QToolTip>

namespace {

// Whether the label shows pure red ink.
bool showsRed(QLabel* label) {
    const QImage image = label->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                return true;
        }
    return false;
}

void setText(TForm1& window, const QString& text) {
    window.Brenvik1->GetTextArea()->setPlainText(text);
    window.Brenvik1->doAsm();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder;

  private Q_SLOTS:
    void init() { QSettings().clear(); }

    void theResultIsRedInTheEditorsColourForAnyPalette() {
        TForm1 window;
        window.show();
        edit(window, "\tFOO\n");
        window.Brenvik1->doAsm();
        QPalette dark = window.palette();
        dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
        window.setPalette(dark);
        QCOMPARE(statusPanel(window, "ResultPanel")->palette().color(QPalette::WindowText),
                 window.Brenvik1->GetMarkColours().error);
        QCOMPARE(window.Brenvik1->GetMarkColours().error, markColoursFor(dark.color(QPalette::Base)).error);
    }

    void startsUntitledWithEmptyPanels() {
        TForm1 window;
        window.show();
        QCOMPARE(window.windowTitle(), QString("Brenvik - (untitled)"));
        idle();
        QCOMPARE(statusPanel(window, "ResultPanel")->text(), QString());
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString());
        QCOMPARE(statusPanel(window, "LinePanel")->text(), QString("Line 1"));
        QVERIFY(!window.Assemble1->isEnabled());
        QVERIFY(!window.Reopen1->menuAction()->isEnabled());
        QVERIFY(window.Reopen1->isEmpty());
    }

    void resultPanelSaysWhatTheRunFound_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("red");
        QTest::newRow("one error") << "\tFOO\n"
                                   << "1 Error in Assembly!" << true;
        QTest::newRow("two errors") << "\tFOO\n\tBAR\n"
                                    << "2 Errors in Assembly!" << true;
        QTest::newRow("one byte") << "\tRET\n"
                                  << "1 bytes assembled" << false;
        QTest::newRow("nothing") << "X\tEQU 1\n"
                                 << "" << false;
    }
    void resultPanelSaysWhatTheRunFound() {
        QFETCH(QString, source);
        QFETCH(QString, result);
        QFETCH(bool, red);
        TForm1 window;
        window.show();
        setText(window, source);
        idle();
        QCOMPARE(statusPanel(window, "ResultPanel")->text(), result);
        QVERIFY(statusPanel(window, "ResultPanel")->font().bold());
        QCOMPARE(showsRed(statusPanel(window, "ResultPanel")), red);
    }

    void aLongMessageIsCutWithAnEllipsisAndShownWholeOnHovering() {
        TForm1 window;
        window.resize(700, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* panel = qobject_cast<TElidedLabel*>(statusPanel(window, "MessagePanel"));
        QVERIFY(panel);
        const QString message =
            "The source has changed since the program was loaded: Restart (Ctrl+Shift+F5) "
            "runs the new assembly.";
        panel->setText(message);
        QCOMPARE(window.width(), 700); // the message does not widen the window
        const QString shown = panel->ShownText();
        QVERIFY2(shown.size() < message.size() && shown.endsWith(QChar(0x2026)), qPrintable(shown));
        QVERIFY(message.startsWith(shown.chopped(1)));
        QHelpEvent hover(QEvent::ToolTip, panel->rect().center(), panel->mapToGlobal(panel->rect().center()));
        QApplication::sendEvent(panel, &hover);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), message);
        panel->setText("Stopped");
        QCOMPARE(panel->ShownText(), QString("Stopped"));
    }

    void enterThatClosesADialogLeavesTheTextAlone() {
        TForm1 window;
        window.show();
        setText(window, "\tRET\n\tRLC");
        window.Brenvik1->GetTextArea()->moveCursor(QTextCursor::End);
        window.Brenvik1->SetModified(false);
        whenModal<TAboutBox>([](TAboutBox* box) { QTest::keyPress(box, Qt::Key_Return); });
        window.About1->trigger();
        // The window system hands the release to the widget that has the focus now.
        QTest::keyRelease(window.Brenvik1->GetTextArea(), Qt::Key_Return);
        QCOMPARE(window.Brenvik1->GetDocument().GetText(), QString("\tRET\n\tRLC"));
        QVERIFY(!window.Brenvik1->GetModified());
        QVERIFY(!window.Assemble1->isEnabled());
    }

    void assembleIsEnabledExactlyWhileTheTextChanged() {
        TForm1 window;
        window.show();
        statusPanel(window, "MessagePanel")->setText("File saved.");
        QTest::keyClick(window.Brenvik1->GetTextArea(), Qt::Key_A);
        QVERIFY(window.Assemble1->isEnabled());
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString());
        window.Assemble1->trigger();
        QVERIFY(!window.Assemble1->isEnabled());
        QVERIFY(window.Brenvik1->GetDocument().IsAssemblyCurrent());
    }

    void editMenuFollowsSelectionUndoAndClipboard() {
        TForm1 window;
        window.show();
        setText(window, "abc");
        auto* data = new QMimeData;
        data->setData("application/octet-stream", "x");
        QGuiApplication::clipboard()->setMimeData(data);
        Q_EMIT window.Edit1->aboutToShow();
        QVERIFY(!window.Cut1->isEnabled() && !window.Copy1->isEnabled() && !window.Clear1->isEnabled());
        QVERIFY(!window.Paste1->isEnabled());
        QVERIFY(!window.Undo1->isEnabled());
        QVERIFY(window.SelectAll1->isEnabled() && window.Find1->isEnabled());

        QGuiApplication::clipboard()->setText("text");
        window.Brenvik1->SetSelStart(1);
        window.Brenvik1->SetSelLength(1);
        window.Brenvik1->ReplaceSelection("x");
        window.Brenvik1->SetSelLength(1);
        Q_EMIT window.Edit1->aboutToShow();
        QVERIFY(window.Cut1->isEnabled() && window.Copy1->isEnabled() && window.Clear1->isEnabled());
        QVERIFY(window.Paste1->isEnabled() && window.Undo1->isEnabled());
    }

    void cleanRunsOfATitledDocumentWriteTheHexFile() {
        const QString source = folder.filePath("prog.asm");
        writeFile(source, "\tORG 100B\r\n\tDB 1,2,3\r\n");
        TForm1 window;
        window.FormCreate(source);
        window.Brenvik1->doAsm();
        QCOMPARE(readFile(folder.filePath("prog.hex")), QByteArray(":03004000010203B7\r\n:00000001FF\r\n"));

        setText(window, "\tFOO\n");
        QCOMPARE(readFile(folder.filePath("prog.hex")), QByteArray(":03004000010203B7\r\n:00000001FF\r\n"));

        window.WriteHexfile1->trigger(); // a click switches hex output off
        QVERIFY(!window.WriteHexfile1->isChecked());
        setText(window, "\tRET\n");
        QCOMPARE(readFile(folder.filePath("prog.hex")), QByteArray(":03004000010203B7\r\n:00000001FF\r\n"));
        QVERIFY(!window.Assemble1->isEnabled());
    }

    void untitledDocumentsWriteNoHexFile() {
        TForm1 window;
        const QTemporaryDir current;
        const QString before = QDir::currentPath();
        QDir::setCurrent(current.path());
        setText(window, "\tRET\n");
        QDir::setCurrent(before);
        QCOMPARE(QDir(current.path()).entryList(QDir::Files), QStringList());
    }

    void hexFileThatCannotBeCreatedIsReported() {
        QTemporaryDir gone;
        const QString source = gone.filePath("prog.asm");
        writeFile(source, "\tRET\r\n");
        TForm1 window;
        window.FormCreate(source);
        gone.remove();
        QString message;
        answerMessageBox(QMessageBox::Ok, &message);
        window.Brenvik1->doAsm();
        QCOMPARE(message, "EFCreateErrorCannot create file " + gone.path() + "/prog.hex");
        QVERIFY(!QFile::exists(gone.path()));
    }

    void hexFileFailureGivesItsReasonOncePerCause() {
        const QString source = folder.filePath("once.asm");
        writeFile(source, "\tRET\r\n");
        QDir(folder.path()).mkdir("once.hex"); // a folder where the file should go
        TForm1 window;
        window.FormCreate(source);
        QString reason;
        auto watch = whenModal<QMessageBox>([&](QMessageBox* box) {
            reason = box->informativeText();
            box->accept();
        });
        window.Brenvik1->doAsm();
        QCOMPARE(reason, QString("Is a directory"));

        // While the cause stays, runs go on without a box that would take the typed keys.
        int boxes = 0;
        watch = whenModal<QMessageBox>([&](QMessageBox* box) {
            ++boxes;
            box->accept();
        });
        window.Brenvik1->doAsm();
        window.Brenvik1->doAsm();
        idle();
        QCOMPARE(boxes, 0);

        // Once a write succeeds, the next failure is told again.
        QDir(folder.path()).rmdir("once.hex");
        window.Brenvik1->doAsm();
        QVERIFY(QFile::exists(folder.filePath("once.hex")));
        QFile::remove(folder.filePath("once.hex"));
        QDir(folder.path()).mkdir("once.hex");
        window.Brenvik1->doAsm();
        QTRY_COMPARE(boxes, 1);
        delete watch;
    }

    void firstRunWritesEverySettingAndTheNextReadsThem() {
        {
            TForm1 window;
            window.close();
        }
        QSettings settings;
        settings.beginGroup("Options");
        for (const char* name : {"Charset", "Color", "Name", "Pitch", "Size", "Bold", "Italic", "Underline",
                                 "StrikeOut", "AutoAssemble", "SaveHex", "AutoIndent"})
            QVERIFY2(settings.contains(name), name);
        QCOMPARE(settings.value("AutoAssemble").toString(), QString("1"));
        QCOMPARE(settings.value("Color").toString(), QString("-2147483640"));
        QCOMPARE(settings.value("Name").toString(), QString("MS Sans Serif"));
        settings.setValue("AutoAssemble", "2");
        settings.setValue("AutoIndent", "0");
        settings.setValue("SaveHex", "0");
        settings.setValue("Size", "14");
        settings.setValue("Color", "255");
        settings.sync();

        TForm1 window;
        QVERIFY(window.After4s1->isChecked());
        QCOMPARE(window.Brenvik1->AutoAsmDelay, 4000u);
        QVERIFY(!window.AutoIndent1->isChecked() && !window.Brenvik1->GetAutoIndent());
        QVERIFY(!window.WriteHexfile1->isChecked());
        QCOMPARE(window.Brenvik1->GetFont().pointSize(), 14);
        QCOMPARE(window.Brenvik1->GetFontColour(), QColor(255, 0, 0));
    }

    void windowSizePlaceAndMaximisedStateAreRemembered() {
        {
            TForm1 window;
            QCOMPARE(window.size(), QSize(700, 496)); // the designed size, at first
            window.show();
            window.resize(820, 610);
            window.close();
        }
        {
            TForm1 window;
            QCOMPARE(window.size(), QSize(820, 610));
            window.showMaximized();
            QTRY_VERIFY(window.isMaximized());
            window.close();
        }
        TForm1 window;
        window.show();
        QTRY_VERIFY(window.isMaximized());
    }

    void redoStandsBesideUndo() {
        TForm1 window;
        window.show();
        setText(window, "abc");
        QCOMPARE(window.Edit1->actions().indexOf(window.Redo1),
                 window.Edit1->actions().indexOf(window.Undo1) + 1);
        QCOMPARE(window.Redo1->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
        QTest::keyClick(window.Brenvik1->GetTextArea(), Qt::Key_X);
        window.Undo1->trigger();
        Q_EMIT window.Edit1->aboutToShow();
        QVERIFY(window.Redo1->isEnabled());
        window.Redo1->trigger();
        QCOMPARE(window.Brenvik1->GetDocument().GetText(), QString("xabc"));
        Q_EMIT window.Edit1->aboutToShow();
        QVERIFY(!window.Redo1->isEnabled());
    }

    void aboutBoxOpensAtTheTopEachTime() {
        TForm1 window;
        QPlainTextEdit* summary = window.findChild<TAboutBox*>()->Edit1;
        int opened = 0;
        auto watch = whenModal<TAboutBox>([&](TAboutBox* box) {
            QCOMPARE(summary->verticalScrollBar()->value(), 0);
            summary->verticalScrollBar()->setValue(summary->verticalScrollBar()->maximum());
            ++opened;
            box->accept();
        });
        window.About1->trigger();
        QVERIFY(summary->verticalScrollBar()->maximum() > 0);
        watch = whenModal<TAboutBox>([&](TAboutBox* box) {
            QCOMPARE(summary->verticalScrollBar()->value(), 0);
            ++opened;
            box->accept();
        });
        window.About1->trigger();
        QCOMPARE(opened, 2);
    }

    void storedValuesOutsideTheModelKeepTheDefaults() {
        for (const char* delay : {"-1", "4", "7"}) {
            QSettings settings;
            settings.setValue("Options/AutoAssemble", delay);
            settings.setValue("Options/Size", "abc");
            settings.sync();
            TForm1 window;
            QVERIFY2(window.After2s1->isChecked(), delay);
            QCOMPARE(window.Brenvik1->GetFont().pointSize(), 8);
        }
    }

    void damagedSettingsGiveTheDesignedOptionsAndAreWrittenSoundOnClose_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("readable");
        QByteArray garbage(4096, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = static_cast<char>((i * 7919) % 251);
        QTest::newRow("binary garbage") << ("[Options\n" + garbage) << true;
        QTest::newRow("unreadable") << QByteArray("[Options]\nSize=14\n") << false;
        QTest::newRow("absurd font size") << QByteArray("[Options]\nSize=2000000000\n") << true;
    }
    void damagedSettingsGiveTheDesignedOptionsAndAreWrittenSoundOnClose() {
        QFETCH(QByteArray, contents);
        QFETCH(bool, readable);
        const QString store = QSettings().fileName();
        QDir().mkpath(QFileInfo(store).path());
        writeFile(store, contents);
        const PermissionsEnforced permissions;
        if (!permissions.holds())
            QSKIP("running as root without the right to give up CAP_DAC_OVERRIDE");
        if (!readable)
            QFile::setPermissions(store, QFile::Permissions());
        {
            TForm1 window;
            QCOMPARE(window.Brenvik1->GetFont().pointSize(), 8);
            QVERIFY(window.After2s1->isChecked());
            QVERIFY(window.AutoIndent1->isChecked() && window.WriteHexfile1->isChecked());
            window.close();
        }
        QSettings written;
        QCOMPARE(written.status(), QSettings::NoError);
        QCOMPARE(written.value("Options/Size").toString(), QString("8"));
        QCOMPARE(written.value("Options/AutoIndent").toString(), QString("1"));
    }

    void recentFilesAreReadWithoutGapsAndShownWithAltKeys() {
        QSettings settings;
        for (int n = 1; n <= 12; ++n)
            settings.setValue(QString("Options/Recent%1").arg(n), QString("/src/p%1.asm").arg(n));
        settings.setValue("Options/Recent14", "/src/after-the-gap.asm");
        settings.sync();
        TForm1 window;
        window.show();
        idle();
        const QList<QAction*> entries = window.Reopen1->actions();
        QCOMPARE(entries.size(), 12);
        QCOMPARE(entries[0]->text(), QString("/src/p1.asm"));
        QCOMPARE(entries[0]->shortcut(), QKeySequence(Qt::ALT | Qt::Key_1));
        QCOMPARE(entries[8]->shortcut(), QKeySequence(Qt::ALT | Qt::Key_9));
        QCOMPARE(entries[9]->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Colon));

        const QString source = folder.filePath("new.asm");
        writeFile(source, "\tRET\r\n");
        window.FormCreate(source);
        QCOMPARE(window.GetRecentFiles().size(), 9);
        QCOMPARE(window.GetRecentFiles().first(), source);
    }

    void addingARecentFileMovesItFirstAndKeepsNine() {
        QStringList list;
        for (int n = 1; n <= 10; ++n)
            list = addRecentFile(list, QString("/f%1").arg(n));
        QCOMPARE(list.size(), 9);
        QCOMPARE(list.first(), QString("/f10"));
        QCOMPARE(list.last(), QString("/f2"));
        list = addRecentFile(list, "/f6");
        QCOMPARE(list.size(), 9);
        QCOMPARE(list.mid(0, 2), (QStringList{"/f6", "/f10"}));
        list = addRecentFile(list, "/F6"); // names differ in case on this file system
        QCOMPARE(list.mid(0, 2), (QStringList{"/F6", "/f6"}));
    }

    void aboutBoxTurnsBackslashTIntoTabsOnceAndForAll() {
        TAboutBox about;
        QPlainTextEdit* summary = about.Edit1;
        QVERIFY(summary->toPlainText().contains("\\tORG\\texpression"));
        for (int activation = 0; activation < 2; ++activation) {
            QEvent activate(QEvent::WindowActivate);
            QCoreApplication::sendEvent(&about, &activate);
            const QStringList lines = summary->toPlainText().split('\n');
            QCOMPARE(lines.size(), 46);
            QCOMPARE(lines[8], QString("\tORG\texpression"));
            QCOMPARE(lines[2], QString("[label[:]]\t[[opcode or directive]\t[argument]]\t[* or ; comment]"));
            QVERIFY(lines[27].endsWith("(for ") && lines[43].endsWith("quoted ") &&
                    lines[44].endsWith("separate "));
            QVERIFY(!summary->toPlainText().contains("\\t"));
        }
        QVERIFY(about.Label1->text().contains(TAboutBox::updatePage.toString()));
    }

    void printOffersTheSelectionOnlyWhenThereIsOne() {
        TForm1 window;
        setText(window, "\tRET\n\tRLC\n");
        window.GetPrinter().setOutputFormat(QPrinter::PdfFormat);
        window.GetPrinter().setOutputFileName(folder.filePath("job.pdf"));
        for (const bool selected : {false, true}) {
            window.Brenvik1->SetSelStart(0);
            window.Brenvik1->SetSelLength(selected ? 2 : 0);
            bool offered = !selected;
            QAbstractPrintDialog::PrintRange range = QAbstractPrintDialog::PageRange;
            bool pageRangeShown = true;
            whenModal<QPrintDialog>([&](QPrintDialog* dialog) {
                offered = dialog->testOption(QAbstractPrintDialog::PrintSelection);
                range = dialog->printRange();
                // The options the dialog folds away at first, unfolded.
                for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
                    if (button->text().contains("Options"))
                        button->click();
                pageRangeShown = false;
                for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
                    pageRangeShown |= button->isVisible() && button->text().contains("Pages");
                for (QLabel* label : dialog->findChildren<QLabel*>())
                    pageRangeShown |= label->isVisible() && label->text() == "to";
                dialog->reject();
            });
            window.Print1->trigger();
            QCOMPARE(offered, selected);
            QCOMPARE(range, selected ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);
            QVERIFY(!pageRangeShown);
        }
    }

    void commandLineFileKeepsItsFolderAndAMissingOneIsReported() {
        writeFile(folder.filePath("rel.asm"), "\tRET\r\n");
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder.path());
        TForm1 window;
        window.FormCreate("rel.asm");
        QDir::setCurrent(before);
        QCOMPARE(window.GetCurrentFile(), folder.filePath("rel.asm"));
        QCOMPARE(window.windowTitle(), "Brenvik - " + folder.filePath("rel.asm"));
        QVERIFY(!window.Brenvik1->GetModified());

        TForm1 other;
        QString message;
        answerMessageBox(QMessageBox::Ok, &message);
        other.FormCreate(folder.filePath("missing.asm"));
        QVERIFY2(message.contains("missing.asm") && message.endsWith("."), qPrintable(message));
        QCOMPARE(other.windowTitle(), QString("Brenvik - (untitled)"));
    }
};

BRENVIK_APP_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
