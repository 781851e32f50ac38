// Running and debugging in the window: the Run menu's commands, the line lit
// where the program stands, breakpoints, the panes and a stale program.

#include "AppTest.h"
#include "ConsolePane.h"
#include "DebugSession.h"
#include "MachineChoice.h"
#include "MemoryPane.h"
#include "PortsPane.h"
#include "RegistersPane.h"
#include "SymbolsPane.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolTip>

namespace {

const QString addTwo = "\tLAI 5\n\tLBI 7\n\tADB\n\tHLT\n";

int rowOf(Cpu::Register r) {
    return static_cast<int>(TRegistersModel::firstRegister) + static_cast<int>(r);
}

// A value of the registers pane, as shown, and whether it is in bold.
QString shown(TForm1& window, int row) {
    const TRegistersModel& model = *pane<TRegistersPane>(window, "RegistersPane")->Model();
    return model.data(model.index(row, TRegistersModel::valueColumn), Qt::DisplayRole).toString();
}

bool emphasised(TForm1& window, int row) {
    const TRegistersModel& model = *pane<TRegistersPane>(window, "RegistersPane")->Model();
    return model.data(model.index(row, TRegistersModel::valueColumn), Qt::FontRole).value<QFont>().bold();
}

int litLine(TForm1& window) {
    return window.Brenvik1->Highlights().GetExecutionLine();
}
QString status(TForm1& window) {
    return statusPanel(window, "MessagePanel")->text();
}
TDebugger& debuggerOf(TForm1& window) {
    return session<TDebugSession>(window)->Debugger();
}

// Runs the event loop until the program stops, as a user would wait.
bool waitForStop(TForm1& window) {
    return QTest::qWaitFor([&] { return !debuggerOf(window).IsRunning(); }, 5000);
}

void typeAt(TForm1& window, int line, const QString& text) {
    QTextCursor cursor(window.Brenvik1->GetTextArea()->document()->findBlockByNumber(line));
    cursor.insertText(text);
}

// Run > Machine's choice of the machine named `name` ("8008-sbc"), as a user picks it.
void chooseMachine(TForm1& window, const QString& name) {
    QAction* item = window.findChild<QAction*>(QStringLiteral("Machine_") + name);
    QVERIFY(item);
    item->trigger();
}

QString machinePanel(TForm1& window) {
    return statusPanel(window, "MachinePanel")->text();
}

QString consoleText(TForm1& window) {
    return pane<TConsolePane>(window, "ConsolePane")->View()->toPlainText();
}

} // namespace

class DebuggerTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { QSettings().clear(); }

    void aStepUpdatesTheRegistersAndTheLitLine() {
        TForm1 window;
        window.show();
        edit(window, addTwo);
        window.Brenvik1->SetModified(false);
        action(window, "StepInto1")->trigger(); // loads and stands on the first instruction
        QCOMPARE(litLine(window), 0);
        QVERIFY(pane<TRegistersPane>(window, "RegistersPane")->isVisible());
        QVERIFY(pane<TConsolePane>(window, "ConsolePane")->isVisible());
        action(window, "StepInto1")->trigger();
        QCOMPARE(shown(window, rowOf(Cpu::A)), QString("005"));
        QVERIFY(emphasised(window, rowOf(Cpu::A)));
        QVERIFY(!emphasised(window, rowOf(Cpu::B)));
        QCOMPARE(litLine(window), 1);
        action(window, "StepInto1")->trigger();
        action(window, "StepInto1")->trigger();
        QCOMPARE(shown(window, rowOf(Cpu::A)), QString("014"));
        QCOMPARE(status(window), QString("Stepped to line 4 (000005)"));
        // The light is no edit.
        QVERIFY(!window.Brenvik1->GetModified());
        QVERIFY(!window.Brenvik1->CanUndo());
        action(window, "StepInto1")->trigger();
        QCOMPARE(status(window), QString("Halted by HLT at line 4 (000005)"));
        QCOMPARE(litLine(window), 3);
    }

    void stepOverRunsACallToItsReturn() {
        TForm1 window;
        window.show();
        edit(window, "\tCAL SUB\n\tHLT\nSUB:\tLAI 1\n\tRET\n");
        action(window, "StepOver1")->trigger();
        action(window, "StepOver1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(litLine(window), 1);
        QCOMPARE(shown(window, rowOf(Cpu::A)), QString("001"));
        QCOMPARE(debuggerOf(window).GetMachine().callDepth, 0u);
    }

    void stepOutReturnsFromTheRoutine() {
        TForm1 window;
        window.show();
        edit(window, "\tCAL SUB\n\tHLT\nSUB:\tLAI 1\n\tLBI 2\n\tRET\n");
        action(window, "StepInto1")->trigger();
        action(window, "StepInto1")->trigger();
        QCOMPARE(litLine(window), 2);
        action(window, "StepOut1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(litLine(window), 1);
        QCOMPARE(shown(window, rowOf(Cpu::B)), QString("002"));
    }

    void aBreakpointStopsTheRunAndMovesWithItsLine() {
        TForm1 window;
        window.show();
        edit(window, "LOOP:\tINB\n* count\n\tJMP LOOP\n");
        window.Brenvik1->doAsm();
        window.Brenvik1->GetDocument().ToggleBreakpoint(1); // a comment: the breakpoint goes to the JMP
        QVERIFY(window.Brenvik1->GetDocument().HasBreakpoint(2));
        action(window, "RunContinue1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(status(window), QString("Breakpoint at line 3 (000001)"));
        QCOMPARE(litLine(window), 2);
        QCOMPARE(shown(window, rowOf(Cpu::B)), QString("001"));
        // Set while paused, and cleared again: the program stays as loaded.
        window.Brenvik1->GetDocument().ToggleBreakpoint(0);
        QVERIFY(!debuggerOf(window).IsStale());
        action(window, "RunContinue1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(status(window), QString("Breakpoint at line 1 (000000)"));
        window.Brenvik1->GetDocument().ToggleBreakpoint(0);
        action(window, "RunContinue1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(shown(window, rowOf(Cpu::B)), QString("002"));

        typeAt(window, 0, "\tLAI 1\n");
        QVERIFY(window.Brenvik1->GetDocument().HasBreakpoint(3));
        QVERIFY(!window.Brenvik1->GetDocument().HasBreakpoint(2));
        action(window, "Restart1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(status(window), QString("Breakpoint at line 4 (000003)"));
        QCOMPARE(window.Brenvik1->GetDocument().BreakpointLines(), std::vector<int>{3});
    }

    void aClickInTheCodeColumnTogglesABreakpoint() {
        TForm1 window;
        window.show();
        edit(window, "\tLAI 1\n\tLBI 2\n");
        window.Brenvik1->doAsm();
        const QTextBlock second = window.Brenvik1->GetTextArea()->document()->findBlockByNumber(1);
        const int y = window.Brenvik1->GetTextArea()->blockTop(second) + 3;
        QTest::mouseClick(window.Brenvik1, Qt::LeftButton, {},
                          QPoint(window.Brenvik1->GetCodeWidth() / 2, y));
        QCOMPARE(window.Brenvik1->GetDocument().BreakpointLines(), std::vector<int>{1});
        QTest::mouseClick(window.Brenvik1, Qt::LeftButton, {},
                          QPoint(window.Brenvik1->GetCodeWidth() / 2, y));
        QVERIFY(window.Brenvik1->GetDocument().BreakpointLines().empty());
    }

    void keysTypedInTheConsoleReachAProgramThatEchoes() {
        TForm1 window;
        window.show();
        window.FormCreate(EXAMPLES_DIR "/echo.asm");
        action(window, "RunContinue1")->trigger();
        TConsoleView* console = pane<TConsolePane>(window, "ConsolePane")->View();
        QTRY_COMPARE(QApplication::focusWidget(), console);
        QTest::keyClicks(console, "hi");
        QTest::keyClick(console, Qt::Key_Return);
        QTRY_COMPARE(consoleText(window), QString("HI\n"));
        QVERIFY(debuggerOf(window).IsRunning());
        action(window, "Stop1")->trigger();
        QVERIFY(!debuggerOf(window).IsLoaded());
    }

    void anExampleRunToItsHaltLeavesItsText() {
        TForm1 window;
        window.show();
        window.FormCreate(EXAMPLES_DIR "/hello.asm");
        action(window, "RunContinue1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(consoleText(window), QString::fromLatin1(readFile(GOLDEN_DIR "/run/hello.out")));
        QVERIFY(pane<TConsolePane>(window, "ConsolePane")->Header().startsWith("Halted by HLT at line "));
        QCOMPARE(QApplication::focusWidget(), window.Brenvik1->GetTextArea());
    }

    void pauseStopsARunningEndlessLoop() {
        TForm1 window;
        window.show();
        edit(window, "LOOP:\tINB\n\tJMP LOOP\n");
        action(window, "RunContinue1")->trigger();
        QVERIFY(QTest::qWaitFor([&] { return debuggerOf(window).GetMachine().instructions > 1000; }));
        QVERIFY(debuggerOf(window).IsRunning());
        QVERIFY(action(window, "Pause1")->isEnabled());
        TRegistersModel& registers = *pane<TRegistersPane>(window, "RegistersPane")->Model();
        const QModelIndex a = registers.index(TRegistersModel::firstRegister, TRegistersModel::valueColumn);
        QVERIFY(!(registers.flags(a) & Qt::ItemIsEditable)); // not while it runs
        action(window, "Pause1")->trigger();
        QVERIFY(registers.flags(a) & Qt::ItemIsEditable);
        QVERIFY(!debuggerOf(window).IsRunning());
        QVERIFY(status(window).startsWith("Paused by the user at line "));
        QVERIFY(debuggerOf(window).GetMachine().instructions > 0);
        QVERIFY(litLine(window) == 0 || litLine(window) == 1);
    }

    void inRealTimeTheChipNeverRunsAheadOfTheClock() {
        TForm1 window;
        window.show();
        edit(window, "LOOP:\tINB\n\tJMP LOOP\n");
        session<TDebugSession>(window)->SetSpeed(1);
        const double statesPerSecond = TDebugSession::realTimeClocks[0] / 2.0;
        QElapsedTimer wall;
        wall.start();
        action(window, "RunContinue1")->trigger();
        // A tenth of a second of the chip's time, however long the host takes for it.
        QVERIFY(
            QTest::qWaitFor([&] { return debuggerOf(window).GetMachine().states >= statesPerSecond / 10; }));
        action(window, "Pause1")->trigger();
        const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        const auto states = static_cast<double>(debuggerOf(window).GetMachine().states);
        QVERIFY(states > 0);
        // A slow host may fall behind, but the chip is never ahead of the wall clock.
        QVERIFY2(states <= seconds * statesPerSecond,
                 qPrintable(QString("%1 states in %2 s").arg(states).arg(seconds)));
    }

    void anEighthNestedCallIsToldAndItsLostSlotMarked() {
        QString source;
        for (int depth = 1; depth <= 8; ++depth)
            source += QString("\tCAL L%1\nL%1:").arg(depth);
        source += "\tHLT\n";
        TForm1 window;
        window.show();
        edit(window, source);
        action(window, "RunContinue1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(status(window),
                 QString("Halted by HLT at line 9 (000030). An 8th nested call overwrote the oldest "
                         "return address (stack slot 0)"));
        const TRegistersModel& registers = *pane<TRegistersPane>(window, "RegistersPane")->Model();
        QCOMPARE(registers
                     .data(registers.index(TRegistersModel::firstSlot, TRegistersModel::nameColumn),
                           Qt::DisplayRole)
                     .toString(),
                 QString("Stack 0 (PC) (lost)"));
    }

    void anInterruptWakesAHaltedProgram() {
        TForm1 window;
        window.show();
        edit(window, "\tORG 0\n\tHLT\n\tORG 10B\n\tLAI 7\n\tHLT\n");
        action(window, "RunContinue1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(status(window), QString("Halted by HLT at line 2 (000000)"));
        session<TDebugSession>(window)->SetInterruptRestart(1);
        QCOMPARE(action(window, "Interrupt1")->text(), QString("I&nterrupt (RST 1)"));
        action(window, "Interrupt1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(status(window), QString("Halted by HLT at line 5 (000012)"));
        QCOMPARE(shown(window, rowOf(Cpu::A)), QString("007"));
    }

    void speedInterruptAndPanesAreRemembered() {
        {
            TForm1 window;
            window.show();
            QVERIFY(!pane<TMemoryPane>(window, "MemoryPane")->isVisible()); // hidden until wanted
            session<TDebugSession>(window)->SetSpeed(2);
            session<TDebugSession>(window)->SetInterruptRestart(5);
            pane<TMemoryPane>(window, "MemoryPane")->show();
            window.close();
        }
        TForm1 window;
        window.show();
        QCOMPARE(session<TDebugSession>(window)->GetSpeed(), 2);
        QCOMPARE(debuggerOf(window).GetClock(), TDebugSession::realTimeClocks[1]);
        QCOMPARE(session<TDebugSession>(window)->GetInterruptRestart(), 5u);
        QVERIFY(pane<TMemoryPane>(window, "MemoryPane")->isVisible());
    }

    void theRunMenuStandsBetweenOptionsAndAssemble() {
        TForm1 window;
        QStringList captions;
        for (const QAction* menu : window.menuBar()->actions())
            captions.append(menu->text());
        QCOMPARE(captions,
                 (QStringList{"&File", "&Edit", "&Options", "&View", "&Run", "&Assemble!", "&Help"}));
    }

    void theDebuggerKeysReachTheWindowFromTheText() {
        TForm1 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit(window, addTwo);
        QWidget* text = window.Brenvik1->GetTextArea();
        text->setFocus();
        QTest::keyClick(text, Qt::Key_F9);
        QCOMPARE(window.Brenvik1->GetDocument().BreakpointLines(), std::vector<int>{0});
        QTest::keyClick(text, Qt::Key_F11);
        QTest::keyClick(text, Qt::Key_F10);
        QCOMPARE(litLine(window), 1);
        QTest::keyClick(text, Qt::Key_F5);
        QVERIFY(waitForStop(window));
        QCOMPARE(litLine(window), 3);
        QTest::keyClick(text, Qt::Key_F5, Qt::ShiftModifier);
        QVERIFY(!debuggerOf(window).IsLoaded());
        QCOMPARE(window.Brenvik1->GetDocument().GetText(), addTwo); // no key reached the text
    }

    void anEditMakesTheLoadedProgramStale() {
        TForm1 window;
        window.show();
        edit(window, addTwo);
        action(window, "StepInto1")->trigger();
        action(window, "StepInto1")->trigger();
        typeAt(window, 0, "\tLCI 3\n");
        QCOMPARE(litLine(window), -1);
        window.Brenvik1->doAsm(); // the run finds the bytes changed
        QVERIFY(debuggerOf(window).IsStale());
        QVERIFY(status(window).contains("Restart"));
        QCOMPARE(litLine(window), -1);
        // The old bytes do not run against the new text.
        const std::uint64_t states = debuggerOf(window).GetMachine().states;
        action(window, "StepInto1")->trigger();
        action(window, "RunContinue1")->trigger();
        QCOMPARE(debuggerOf(window).GetMachine().states, states);
        QVERIFY(!debuggerOf(window).IsRunning());
        action(window, "Restart1")->trigger();
        QVERIFY(waitForStop(window));
        QVERIFY(!debuggerOf(window).IsStale());
        QCOMPARE(shown(window, rowOf(Cpu::C)), QString("003"));
    }

    void anEditThatChangesNoByteLeavesTheSessionGoingOn() {
        TForm1 window;
        window.show();
        edit(window, addTwo);
        action(window, "StepInto1")->trigger();
        action(window, "StepInto1")->trigger();
        QCOMPARE(litLine(window), 1);
        typeAt(window, 0, "; adds two numbers\n\n");
        typeAt(window, 4, "\t\t; the sum\n");
        QCOMPARE(litLine(window), -1);
        window.Brenvik1->doAsm();
        QVERIFY(!debuggerOf(window).IsStale());
        QCOMPARE(litLine(window), 3); // where LBI is now
        action(window, "StepInto1")->trigger();
        QCOMPARE(litLine(window), 5);
        action(window, "StepInto1")->trigger();
        QCOMPARE(litLine(window), 6); // past the comment, on HLT
        QCOMPARE(shown(window, rowOf(Cpu::A)), QString("014"));
        // Without a run in between, the step finds out for itself.
        typeAt(window, 0, "\tLAA\n");
        action(window, "StepInto1")->trigger();
        QVERIFY(debuggerOf(window).IsStale());
    }

    void everyPaneHasKeysThatShowAndFocusIt() {
        TForm1 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSet<QKeySequence> keys;
        for (QAction* entry : window.View1->actions()) {
            if (entry == window.LineNumbers1)
                break; // the panes' part ends; how the text is shown follows
            if (entry->isSeparator())
                continue;
            QVERIFY2(!entry->shortcut().isEmpty(), qPrintable(entry->text()));
            keys.insert(entry->shortcut());
            window.Brenvik1->GetTextArea()->setFocus();
            entry->trigger(); // opens the pane, the keys in it
            QVERIFY2(entry->isChecked(), qPrintable(entry->text()));
            QWidget* focus = QApplication::focusWidget();
            QVERIFY2(focus && focus != window.Brenvik1->GetTextArea(), qPrintable(entry->text()));
            while (focus && !qobject_cast<QDockWidget*>(focus))
                focus = focus->parentWidget();
            QVERIFY2(focus && focus->isVisible(), qPrintable(entry->text()));
            entry->trigger(); // the keys were in it: it closes
            QVERIFY2(!entry->isChecked() && focus->isHidden(), qPrintable(entry->text()));
        }
        QCOMPARE(keys.size(), 8); // Problems, Symbols, Uses, Registers, Memory, Console, Ports, Live
    }

    void runningBringsTheRegistersInFrontOfAnotherPane() {
        TForm1 window;
        window.show();
        edit(window, addTwo);
        action(window, "StepInto1")->trigger();
        TRegistersPane& registers = *pane<TRegistersPane>(window, "RegistersPane");
        window.tabifyDockWidget(&registers, pane<TSymbolsPane>(window, "SymbolsPane"));
        pane<TSymbolsPane>(window, "SymbolsPane")->show();
        pane<TSymbolsPane>(window, "SymbolsPane")->raise();
        QTRY_VERIFY(registers.visibleRegion().isEmpty());
        action(window, "StepInto1")->trigger();
        QTRY_VERIFY(!registers.visibleRegion().isEmpty());
        // The memory, chosen to watch while stepping, stays in front.
        pane<TMemoryPane>(window, "MemoryPane")->show();
        pane<TMemoryPane>(window, "MemoryPane")->raise();
        QTRY_VERIFY(registers.visibleRegion().isEmpty());
        action(window, "StepInto1")->trigger();
        QVERIFY(registers.visibleRegion().isEmpty());
    }

    void linesInErrorKeepTheProgramFromRunning() {
        TForm1 window;
        window.show();
        edit(window, "\tLAI 1\n\tFOO\n");
        action(window, "RunContinue1")->trigger();
        QVERIFY(!debuggerOf(window).IsLoaded());
        QCOMPARE(
            status(window),
            QString("1 Error in Assembly! The program runs once they are mended (F8 goes to the next)."));
    }

    void stepBackUndoesStepsAndOutputAndTheLitLineSaysHowOftenItRan() {
        TForm1 window;
        window.show();
        edit(window, "\tLAI \"A\"\n\tOUT 8\n\tLAI \"B\"\n\tOUT 8\n\tHLT\n");
        QCOMPARE(action(window, "StepBack1")->shortcut(), QKeySequence("Ctrl+Shift+F11"));
        action(window, "RunContinue1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(consoleText(window), QString("AB"));
        action(window, "StepBack1")->trigger(); // the HLT
        action(window, "StepBack1")->trigger(); // the second OUT
        QCOMPARE(consoleText(window), QString("A"));
        QCOMPARE(litLine(window), 3);
        QCOMPARE(status(window), QString("Stepped back to line 4 (000005)"));
        QCOMPARE(shown(window, rowOf(Cpu::A)), QString("102"));
        action(window, "StepBack1")->trigger();
        QCOMPARE(shown(window, rowOf(Cpu::A)), QString("101"));
        QVERIFY(emphasised(window, rowOf(Cpu::A)));
        action(window, "StepInto1")->trigger();
        action(window, "StepInto1")->trigger();
        QCOMPARE(consoleText(window), QString("AB"));
        action(window, "StepBack1")->trigger();
        action(window, "StepBack1")->trigger();
        action(window, "StepBack1")->trigger();
        QCOMPARE(litLine(window), 1);
        // Each line ran once on the way, and the lit line says so when hovered.
        const QRect line = window.Brenvik1->GetTextArea()->cursorRect(
            QTextCursor(window.Brenvik1->GetTextArea()->document()->findBlockByNumber(1)));
        QHelpEvent hover(QEvent::ToolTip, line.center(),
                         window.Brenvik1->GetTextArea()->viewport()->mapToGlobal(line.center()));
        QApplication::sendEvent(window.Brenvik1->GetTextArea()->viewport(), &hover);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QString("Not run yet in this run"));
        action(window, "StepBack1")->trigger();
        action(window, "StepBack1")->trigger();
        QCOMPARE(status(window), QString("Nothing to step back to: the history reaches back 0 instructions"));
    }

    void aSwitchCanBeSetWhileTheProgramRuns() {
        TForm1 window;
        window.show();
        edit(window, "L\tINP 3\n\tOUT 9\n\tJMP L\n");
        action(window, "RunContinue1")->trigger();
        TPortsPane& ports = *pane<TPortsPane>(window, "PortsPane");
        ports.show();
        auto* view = ports.findChild<QTableView*>();
        const QModelIndex three = ports.Model()->index(3, TPortsModel::valueColumn);
        view->edit(three);
        auto* editor = view->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText("12");
        QSignalSpy refreshes(&debuggerOf(window), &TDebugger::OnRefresh);
        QTRY_VERIFY(refreshes.count() >= 3);
        QCOMPARE(editor->text(), QString("12"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(debuggerOf(window).GetMachine().ports.lastOutput[9], 012);
        action(window, "Pause1")->trigger();
        // Ports are numbered in octal like every other number here.
        const QModelIndex nine = ports.Model()->index(9, TPortsModel::portColumn);
        QCOMPARE(nine.data().toString(), QString("OUT 11"));
        QCOMPARE(nine.data(Qt::ToolTipRole).toString(),
                 QString("Port 9 in decimal: OUT 9 or OUT 11B in the source"));
    }

    void anotherDocumentEndsTheSessionOfTheLastOne() {
        const QTemporaryDir folder;
        const QString other = folder.filePath("other.asm");
        writeFile(other, "\tLAI 2\n\tHLT\n");
        TForm1 window;
        window.show();
        const auto runAndEdit = [&] {
            edit(window, "\tLAI \"A\"\n\tOUT 8\n\tHLT\n");
            window.Brenvik1->SetModified(false);
            action(window, "RunContinue1")->trigger();
            QVERIFY(waitForStop(window));
            pane<TMemoryPane>(window, "MemoryPane")->GoToField()->setText("100");
            typeAt(window, 2, "\tLAA\n");
            window.Brenvik1->doAsm(); // the program is stale now
            window.Brenvik1->SetModified(false);
            QVERIFY(debuggerOf(window).IsStale());
        };
        const auto expectFresh = [&](const char* how) {
            QVERIFY2(!debuggerOf(window).IsLoaded(), how);
            QCOMPARE(consoleText(window), QString());
            QCOMPARE(pane<TConsolePane>(window, "ConsolePane")->Header(),
                     QString("Run (F5) starts the program; what it prints appears here."));
            QCOMPARE(pane<TMemoryPane>(window, "MemoryPane")->GoToField()->text(), QString());
            QCOMPARE(shown(window, rowOf(Cpu::A)), QString("000"));
            QCOMPARE(status(window), QString());
            QCOMPARE(litLine(window), -1);
        };
        runAndEdit();
        window.New1->trigger();
        expectFresh("New");
        runAndEdit();
        window.SetRecentFiles({other});
        idle(); // the Reopen menu follows the list
        window.Reopen1->actions().first()->trigger();
        expectFresh("Reopen");
        action(window, "RunContinue1")->trigger(); // runs the file opened, not the last one
        QVERIFY(waitForStop(window));
        QCOMPARE(shown(window, rowOf(Cpu::A)), QString("002"));
    }

    void aFloodOfOutputShowsTheScrollbacksLastLinesAtOnce() {
        // A program printing flat out hands over more lines at once than the scrollback keeps.
        QString flood;
        for (int i = 0; i < 12'000; ++i)
            flood += QString::number(i) + (i % 2 ? "\n" : "x\by\n");
        TConsoleView atOnce(nullptr), lineByLine(nullptr);
        for (TConsoleView* view : {&atOnce, &lineByLine})
            view->Show("before\nab\bc");
        atOnce.Show(flood);
        for (const QString& line : flood.split('\n'))
            lineByLine.Show(line + (line.isEmpty() ? "" : "\n"));
        QCOMPARE(atOnce.toPlainText(), lineByLine.toPlainText());
        QCOMPARE(atOnce.document()->blockCount(), 10'000);
        QVERIFY(atOnce.toPlainText().endsWith("11998y\n11999\n"));
    }

    void registersAndMemoryAreEditedWhilePaused() {
        TForm1 window;
        window.show();
        edit(window, "\tLAI 1\n\tLBI 2\n\tHLT\nDATA:\tDB 7\n");
        action(window, "StepInto1")->trigger();
        TRegistersModel& registers = *pane<TRegistersPane>(window, "RegistersPane")->Model();
        const QModelIndex pc = registers.index(TRegistersModel::programCounter, TRegistersModel::valueColumn);
        QVERIFY(registers.flags(pc) & Qt::ItemIsEditable);
        QVERIFY(!registers.setData(pc, "9", Qt::EditRole)); // octal only
        QVERIFY(registers.setData(pc, "2", Qt::EditRole));
        QCOMPARE(litLine(window), 1); // the light follows the PC
        const QModelIndex carry = registers.index(TRegistersModel::firstFlag, TRegistersModel::valueColumn);
        QVERIFY(registers.setData(carry, Qt::Checked, Qt::CheckStateRole));
        QVERIFY(debuggerOf(window).GetMachine().cpu.carry);

        TMemoryPane& memory = *pane<TMemoryPane>(window, "MemoryPane");
        memory.show();
        memory.GoToField()->setText("data");
        QTest::keyClick(memory.GoToField(), Qt::Key_Return);
        const QModelIndex byte = memory.Model()->IndexOf(5);
        QCOMPARE(memory.Model()->data(byte, Qt::DisplayRole).toString(), QString("007"));
        QCOMPARE(memory.View()->currentIndex(), byte);
        QVERIFY(memory.Model()->setData(byte, "377", Qt::EditRole));
        QCOMPARE(debuggerOf(window).GetMachine().memory[5], 0377);
    }
    void eachBoardsExampleTalksOverItsLineAndTheMachineStaysWithTheFile() {
        const struct {
            const char* example;
            const char* machine;
            const char* panel;
            const char* line;
        } boards[] = {{"sbc_echo", "8008-sbc", "8008-SBC", "8008-SBC: Serial line at 2400 bps"},
                      {"scelbi_echo", "scelbi", "SCELBI, 16 KiB", "SCELBI: Serial line at 110 bps"}};
        for (const auto& board : boards) {
            TForm1 window;
            window.show();
            const QString example = QStringLiteral(EXAMPLES_DIR "/%1.asm").arg(board.example);
            window.FormCreate(example);
            QCOMPARE(machinePanel(window), QStringLiteral("Console"));
            chooseMachine(window, board.machine);
            QCOMPARE(machinePanel(window), QString(board.panel));
            action(window, "RunContinue1")->trigger();
            TConsoleView* console = pane<TConsolePane>(window, "ConsolePane")->View();
            QTRY_VERIFY(consoleText(window).endsWith("comes back.\n"));
            QCOMPARE(pane<TConsolePane>(window, "ConsolePane")->windowTitle(), QString(board.line));
            // A key at a time, as a person types: keys typed together come back to
            // back, faster than the program's echo can take them, as on the board.
            QTest::keyClick(console, Qt::Key_H);
            QTRY_VERIFY_WITH_TIMEOUT(consoleText(window).endsWith("back.\nH"), 10000);
            QTest::keyClick(console, Qt::Key_I);
            QTRY_VERIFY_WITH_TIMEOUT(consoleText(window).endsWith("back.\nHI"), 10000);
            // Another file runs on the console; this one on its board again once reopened.
            window.FormCreate(EXAMPLES_DIR "/hello.asm");
            QCOMPARE(machinePanel(window), QStringLiteral("Console"));
            QCOMPARE(pane<TConsolePane>(window, "ConsolePane")->windowTitle(), QStringLiteral("Console"));
            window.FormCreate(example);
            QCOMPARE(machinePanel(window), QString(board.panel));
            QVERIFY(window.findChild<QAction*>(QStringLiteral("Machine_") + board.machine)->isChecked());
        }
        TForm1 window;
        window.FormCreate(EXAMPLES_DIR "/sbc_echo.asm");
        const TPortsModel& ports = *pane<TPortsPane>(window, "PortsPane")->Model();
        QCOMPARE(ports.data(ports.index(9, TPortsModel::useColumn), Qt::DisplayRole).toString(),
                 QStringLiteral("LEDs"));
        // The SCELBI's memory is chosen, and kept with the file too.
        window.FormCreate(EXAMPLES_DIR "/scelbi_echo.asm");
        window.findChild<QAction*>("Memory_4")->trigger();
        window.FormCreate(EXAMPLES_DIR "/hello.asm");
        window.FormCreate(EXAMPLES_DIR "/scelbi_echo.asm");
        QCOMPARE(machinePanel(window), QStringLiteral("SCELBI, 4 KiB"));
        QCOMPARE(debuggerOf(window).GetMachine().memory[010000], Machine::absentByte);
    }

    void onTheBoardASourceRunsInRamBesideItsRomOrAsTheEpromItself() {
        const QTemporaryDir folder;
        // Bank 0: JMP 020003 (into the window), INP 1 (the RAM at 0 again), JMP 000100 (into the RAM).
        QByteArray image(020000, '\xFF');
        image.replace(0, 7, QByteArray("\x44\x03\x20\x43\x44\x40\x00", 7));
        const QString rom = folder.filePath("own.bin");
        writeFile(rom, image);
        TForm1 window;
        window.show();
        edit(window, "\tORG 100B\n\tLAI 42\n\tHLT\n");
        chooseMachine(window, "8008-sbc");
        QVERIFY(session<TMachineChoice>(window)->Choose(sbcMachine(), rom));
        QCOMPARE(machinePanel(window), QStringLiteral("8008-SBC, ROM own.bin"));
        action(window, "RunContinue1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(debuggerOf(window).GetMachine().cpu.registers[Cpu::A], 42);
        QVERIFY(status(window).startsWith("Halted by HLT at line 3"));
        // A source in the EPROM window is the EPROM: the board boots into it.
        edit(window, "\tORG 20000B\n\tJMP GO\nGO\tINP 1\n\tLBI 5\n\tHLT\n");
        action(window, "Restart1")->trigger();
        QVERIFY(waitForStop(window));
        QCOMPARE(debuggerOf(window).GetMachine().cpu.registers[Cpu::B], 5);
        QVERIFY(status(window).startsWith("Halted by HLT at line 5"));
        // An image that does not fit is said, and the board runs without one.
        const QString big = folder.filePath("big.bin");
        writeFile(big, QByteArray(0100001, '\0'));
        QVERIFY(!session<TMachineChoice>(window)->Choose(sbcMachine(), big));
        QCOMPARE(status(window),
                 QStringLiteral("The ROM image big.bin cannot be used: 32769 bytes, more than the "
                                "8008-sbc's ROM holds (4 banks of 8192)."));
        QCOMPARE(machinePanel(window), QStringLiteral("8008-SBC"));
    }
};

BRENVIK_APP_TEST_MAIN(DebuggerTest)
#include "DebuggerTest.moc"
