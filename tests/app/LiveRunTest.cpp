// Live Run in the window: the figures beside the lines after each clean run,
// the Live pane's output and ending, the keys typed in advance, a run dropped
// by an edit, and the selection's measured states.

#include "AppTest.h"
#include "DebugSession.h"
#include "LivePane.h"
#include "LiveRunner.h"
#include "LiveSession.h"

#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QToolTip>

namespace {

const QString countdown = "\tLBI 5\nLOOP\tDCB\n\tJFZ LOOP\n\tHLT\n";
const QString endless = "\tLAI 1\nLOOP\tINB\n\tJMP LOOP\n";
const QString echo = "WAIT\tINP 0\n\tNDA\n\tJTZ WAIT\n\tINP 1\n\tOUT 8\n\tJMP WAIT\n";

// Live Run on, `source` typed and assembled, and its run waited for.
bool liveRun(TForm1& window, const QString& source) {
    session<TLiveSession>(window)->SetOn(true);
    edit(window, source);
    window.Brenvik1->doAsm();
    return QTest::qWaitFor([&] { return window.Brenvik1->GetLiveStrip().Result() != nullptr; }, 10000);
}

// The middle of line `line`'s row in the live strip.
QPoint inStrip(TForm1& window, int line) {
    TBrenvik& editor = *window.Brenvik1;
    const QRect row = editor.GetTextArea()->cursorRect(
        QTextCursor(editor.GetTextArea()->document()->findBlockByNumber(line)));
    return {editor.GetCodeWidth() + editor.GetLiveStrip().Width() * 3 / 4,
            editor.GetTextArea()->mapTo(&editor, row.center()).y()};
}

} // namespace

class LiveRunTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { QSettings().clear(); }

    void aLoopShowsItsExactCountsBesideItsLines() {
        TForm1 window;
        window.show();
        QCOMPARE(window.Brenvik1->GetLiveStrip().Width(), 0);
        QVERIFY(liveRun(window, countdown));
        QVERIFY(window.Brenvik1->GetLiveStrip().Width() > 0);
        const LiveResult& result = *window.Brenvik1->GetLiveStrip().Result();
        const std::uint64_t executions[] = {1, 5, 5, 1};
        for (int line = 0; line < 4; ++line)
            QCOMPARE(result.lines[static_cast<std::size_t>(line)].executions, executions[line]);
        QCOMPARE(pane<TLivePane>(window, "LivePane")->Ending(),
                 QStringLiteral("halted at line 4 (000006) after 90 states"));
        QVERIFY(pane<TLivePane>(window, "LivePane")->isVisible());
        // The busiest line's bar is drawn in its warm colour; a line that never ran has none.
        const QImage column = window.Brenvik1->grab().toImage();
        const auto warmIn = [&](int line) {
            const QPoint middle = inStrip(window, line) * column.devicePixelRatio();
            const QColor colour = column.pixelColor(middle.x() - 4 * column.devicePixelRatio(), middle.y());
            return colour.red() > 0xC0 && colour.blue() < 0x60;
        };
        QVERIFY(warmIn(2));
        QVERIFY(!warmIn(4));
        QHelpEvent hover(QEvent::ToolTip, inStrip(window, 2),
                         window.Brenvik1->mapToGlobal(inStrip(window, 2)));
        QApplication::sendEvent(window.Brenvik1, &hover);
        QCOMPARE(
            QToolTip::text(),
            QStringLiteral("Line 3: 5 executions, 53 states (58.9% of the run), 10.6 states per execution"));
        // The selection's measured states stand beside its designed count.
        QTextCursor selection(window.Brenvik1->GetTextArea()->document()->findBlockByNumber(1));
        selection.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 2);
        window.Brenvik1->GetTextArea()->setTextCursor(selection);
        QCOMPARE(statusPanel(window, "SelectionPanel")->text(),
                 QStringLiteral("4 bytes, 14-16 states (78 in the live run)"));
        // The debugger has not been touched.
        QVERIFY(!session<TDebugSession>(window)->Debugger().IsLoaded());
        session<TLiveSession>(window)->SetOn(false);
        QCOMPARE(window.Brenvik1->GetLiveStrip().Width(), 0);
        QVERIFY(!window.Brenvik1->GetLiveStrip().Result());
        QCOMPARE(statusPanel(window, "SelectionPanel")->text(), QStringLiteral("4 bytes, 14-16 states"));
    }

    void aProgramThatNeverHaltsSpendsItsBudgetAndNamesTheBusiestLines() {
        TForm1 window;
        session<TLiveSession>(window)->SetBudget(1'000'000);
        QVERIFY(liveRun(window, endless));
        QCOMPARE(pane<TLivePane>(window, "LivePane")->Ending(),
                 QStringLiteral("still running after 1,000,008 states: the busiest lines are 3, 2 and 1"));
    }

    void theKeysTypedInAdvanceAreReadThenTheProgramWaits() {
        TForm1 window;
        pane<TLivePane>(window, "LivePane")->SetInput("hi\nthere");
        QVERIFY(liveRun(window, echo));
        QCOMPARE(pane<TLivePane>(window, "LivePane")->Output(), QStringLiteral("hi\nthere"));
        QCOMPARE(pane<TLivePane>(window, "LivePane")->Ending(),
                 QStringLiteral("waiting for input at line 1 (000000)"));
        // Its keys put the keys in the input, even after a run has shown output; what is typed there runs it
        // again.
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("LiveInput"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Exclam);
        QVERIFY(QTest::qWaitFor([&] { return pane<TLivePane>(window, "LivePane")->Output() == "hi\nthere!"; },
                                10000));
    }

    void anEditDropsTheRunUnderWayAndNoStaleFigureIsShown() {
        TForm1 window;
        window.show();
        session<TLiveSession>(window)->SetBudget(1'000'000'000);
        session<TLiveSession>(window)->SetOn(true);
        edit(window, endless);
        window.Brenvik1->doAsm();
        QSignalSpy finished(&session<TLiveSession>(window)->Runner(), &TLiveRunner::OnFinished);
        idle(); // the run's first slices
        QVERIFY(session<TLiveSession>(window)->Runner().IsRunning());
        QTest::keyClick(window.Brenvik1->GetTextArea(), Qt::Key_A);
        QVERIFY(!session<TLiveSession>(window)->Runner().IsRunning());
        QVERIFY(!finished.wait(50)); // nor does a slice of it end it later
        QVERIFY(!window.Brenvik1->GetLiveStrip().Result());
        QCOMPARE(pane<TLivePane>(window, "LivePane")->Ending(),
                 QStringLiteral("The text has changed: its next assembly runs again."));
        // A result that comes after an edit is not taken.
        window.Brenvik1->SetLiveResult(std::make_shared<LiveResult>());
        QVERIFY(!window.Brenvik1->GetLiveStrip().Result());
    }

    void theChoiceTheBudgetAndEachFilesKeysAreKept() {
        QTemporaryDir folder;
        const QString path = folder.filePath("echo.asm");
        writeFile(path, echo.toLatin1());
        {
            TForm1 window;
            window.FormCreate(path);
            session<TLiveSession>(window)->SetOn(true);
            session<TLiveSession>(window)->SetBudget(100'000'000);
            pane<TLivePane>(window, "LivePane")->SetInput("abc");
            window.close();
        }
        TForm1 window;
        QVERIFY(session<TLiveSession>(window)->IsOn());
        QCOMPARE(session<TLiveSession>(window)->GetBudget(), std::uint64_t{100'000'000});
        QCOMPARE(pane<TLivePane>(window, "LivePane")->Input(), QString());
        window.FormCreate(path);
        QCOMPARE(pane<TLivePane>(window, "LivePane")->Input(), QStringLiteral("abc"));
        window.New1->trigger();
        QCOMPARE(pane<TLivePane>(window, "LivePane")->Input(), QString());
    }
};

BRENVIK_APP_TEST_MAIN(LiveRunTest)
#include "LiveRunTest.moc"
