#include "DebugSession.h"

#include "BrenvikControl.h"
#include "ConsolePane.h"
#include "MemoryPane.h"
#include "PaneAction.h"
#include "PortsPane.h"
#include "Profile.h"
#include "RegistersPane.h"
#include "ResultText.h"
#include "RichEdit2.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>

#include <utility>

namespace {

constexpr unsigned restartCount = 8;
constexpr int widthWithPanes = 1180; // the source and the panes beside it, side by side

const QString staleNote = QStringLiteral(
    "The source has changed since the program was loaded: Restart (Ctrl+Shift+F5) runs the new assembly.");

} // namespace

TDebugSession::TDebugSession(QMainWindow& window, TBrenvik& editor, QLabel& statusPanel)
    : QObject(&window), window(window), editor(editor), document(editor.GetDocument()),
      statusPanel(statusPanel), debugger(this), console(new TConsolePane(&window)),
      registers(new TRegistersPane(debugger, &window)), memory(new TMemoryPane(debugger, &window)),
      ports(new TPortsPane(debugger, &window)) {
    window.addDockWidget(Qt::RightDockWidgetArea, registers);
    window.splitDockWidget(registers, console, Qt::Vertical);
    window.tabifyDockWidget(registers, memory);
    window.tabifyDockWidget(memory, ports);
    for (QDockWidget* pane : {static_cast<QDockWidget*>(console), static_cast<QDockWidget*>(registers),
                              static_cast<QDockWidget*>(memory), static_cast<QDockWidget*>(ports)})
        pane->hide();

    connect(&debugger, &TDebugger::OnStop, this, &TDebugSession::stopped);
    connect(&debugger, &TDebugger::OnRefresh, this, &TDebugSession::showMachine);
    connect(&debugger, &TDebugger::OnRunning, this, &TDebugSession::running);
    connect(&debugger, &TDebugger::OnScreen, console->View(), &TConsoleView::Show);
    connect(&debugger, &TDebugger::OnScreenReplaced, console->View(), [this](const QString& text) {
        console->View()->clear();
        console->View()->Show(text);
    });
    connect(&debugger, &TDebugger::OnWarning, this, [this](const QString& what) {
        warnings.append(what);
        say(what);
        tell(console->Header() + "\n" + what);
    });
    connect(console->View(), &TConsoleView::OnKeys, &debugger, &TDebugger::TypeKeys);
    // An edit is a change from outside the run: stepping back does not cross it.
    const auto edited = [this] {
        debugger.NoteEdited();
        showMachine();
    };
    connect(registers->Model(), &TRegistersModel::OnEdited, this, edited);
    connect(memory->Model(), &TMemoryModel::OnEdited, this, edited);
    connect(&editor, &TBrenvik::OnChange, this, &TDebugSession::textChanged);
    connect(&editor, &TBrenvik::OnAssemble, this, &TDebugSession::checkEdits);
    connect(&document, &TDocument::OnBreakpointsChanged, this,
            [this] { debugger.SetBreakpointLines(this->document.BreakpointLines()); });
    memory->SetAddressResolver([this](const QString& typed) {
        this->document.CurrentAssembly(); // the labels of the text as it is now
        return this->document.ValueOf(typed.toLatin1().toStdString());
    });
}

void TDebugSession::BuildMenus(QMenu* run, QMenu* view) {
    // Each by the name of its member, for whoever drives the window from outside.
    const auto item = [this, run](const char* name, const QString& caption, const QKeySequence& shortcut,
                                  auto handler) {
        QAction* action = run->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    RunContinue1 =
        item("RunContinue1", "&Run / Continue", QKeySequence(Qt::Key_F5), [this] { runContinue(); });
    Pause1 = item("Pause1", "&Pause", QKeySequence(Qt::Key_Pause), [this] { debugger.Pause(); });
    Stop1 = item("Stop1", "&Stop", QKeySequence(Qt::SHIFT | Qt::Key_F5), [this] { stop(); });
    Restart1 =
        item("Restart1", "R&estart", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F5), [this] { restart(); });
    run->addSeparator();
    StepInto1 =
        item("StepInto1", "Step &Into", QKeySequence(Qt::Key_F11), [this] { step(&TDebugger::StepInto); });
    StepOver1 =
        item("StepOver1", "Step &Over", QKeySequence(Qt::Key_F10), [this] { step(&TDebugger::StepOver); });
    StepOut1 = item("StepOut1", "Step O&ut", QKeySequence(Qt::SHIFT | Qt::Key_F11),
                    [this] { step(&TDebugger::StepOut); });
    StepBack1 = item("StepBack1", "Step &Back", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F11),
                     [this] { step(&TDebugger::StepBack); });
    RunToCursor1 = item("RunToCursor1", "Run to &Cursor", QKeySequence(Qt::CTRL | Qt::Key_F10),
                        [this] { runToCursor(); });
    run->addSeparator();
    ToggleBreakpoint1 = item("ToggleBreakpoint1", "Toggle &Breakpoint", QKeySequence(Qt::Key_F9),
                             [this] { document.ToggleBreakpoint(editor.GetLine() - 1); });
    Interrupt1 = item("Interrupt1", QString(), QKeySequence(), [this] { interrupt(); });
    QMenu* with = run->addMenu(QStringLiteral("Interrupt &With"));
    auto* restartGroup = new QActionGroup(this);
    for (unsigned n = 0; n < restartCount; ++n) {
        QAction* choice =
            with->addAction(QStringLiteral("RST &%1").arg(n), this, [this, n] { SetInterruptRestart(n); });
        choice->setCheckable(true);
        restartGroup->addAction(choice);
        restartItems.append(choice);
    }
    run->addSeparator();
    QMenu* speed = run->addMenu(QStringLiteral("Spee&d"));
    auto* speedGroup = new QActionGroup(this);
    const QString captions[] = {QStringLiteral("&Full Speed"), QStringLiteral("Real Time at &500 kHz"),
                                QStringLiteral("Real Time at &800 kHz")};
    for (int i = 0; i < static_cast<int>(std::size(captions)); ++i) {
        QAction* choice = speed->addAction(captions[i], this, [this, i] { SetSpeed(i); });
        choice->setCheckable(true);
        speedGroup->addAction(choice);
        speedItems.append(choice);
    }
    SetSpeed(0);
    SetInterruptRestart(0);

    view->addSeparator();
    addPaneAction(*view, *registers, QStringLiteral("&Registers"),
                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    addPaneAction(*view, *memory, QStringLiteral("&Memory"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    addPaneAction(*view, *console, QStringLiteral("&Console"),
                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    addPaneAction(*view, *ports, QStringLiteral("P&orts"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    updateActions();
}

int TDebugSession::GetSpeed() const {
    const auto chosen = std::find(std::begin(realTimeClocks), std::end(realTimeClocks), debugger.GetClock());
    return chosen == std::end(realTimeClocks) ? 0 : static_cast<int>(chosen - std::begin(realTimeClocks)) + 1;
}

void TDebugSession::SetSpeed(int speed) {
    const int clocks = static_cast<int>(std::size(realTimeClocks));
    if (speed < 0 || speed > clocks)
        return;
    debugger.SetClock(speed == 0 ? TDebugger::fullSpeed : realTimeClocks[speed - 1]);
    if (speed < speedItems.size())
        speedItems[speed]->setChecked(true);
    registers->Model()->Refresh(); // the chip time is given at the clock
}

void TDebugSession::SetInterruptRestart(unsigned restart) {
    if (restart >= restartCount)
        return;
    interruptRestart = restart;
    if (restart < static_cast<unsigned>(restartItems.size()))
        restartItems[static_cast<int>(restart)]->setChecked(true);
    if (Interrupt1)
        Interrupt1->setText(QStringLiteral("I&nterrupt (RST %1)").arg(restart));
}

bool TDebugSession::ready() {
    if (debugger.IsRunning())
        return false;
    if (!debugger.IsLoaded())
        return load();
    settleEdits();
    if (debugger.IsStale()) {
        say(staleNote);
        return false;
    }
    showPanes();
    return true;
}

bool TDebugSession::load() {
    const Assembly& assembly = document.CurrentAssembly();
    if (assembly.errorCount > 0) {
        say(QStringLiteral("%1 The program runs once they are mended (F8 goes to the next).")
                .arg(QString::fromStdString(resultText(assembly.errorCount, assembly.bytesAssembled))));
        return false;
    }
    QString reason;
    if (!debugger.Load(assembly, reason)) {
        say(reason);
        return false;
    }
    editedSinceCheck = false;
    debugger.SetBreakpointLines(document.BreakpointLines());
    nameConsole();
    console->View()->clear();
    showPanes();
    updateActions();
    return true;
}

void TDebugSession::showPanes() {
    if (!console->isHidden() && !registers->isHidden()) {
        bringRegistersForward();
        return;
    }
    console->show();
    registers->show();
    registers->raise();
    // The registers over most of the height, the console below them.
    constexpr int registersShare = 3, consoleShare = 2;
    const int height = window.height();
    window.resizeDocks({registers, console},
                       {height * registersShare / (registersShare + consoleShare),
                        height * consoleShare / (registersShare + consoleShare)},
                       Qt::Vertical);
    // The designed window is too narrow for the source and the panes side by side.
    if (!window.isMaximized() && !window.isFullScreen() && window.width() < widthWithPanes) {
        const QRect screen = window.screen()->availableGeometry();
        window.resize(std::min(widthWithPanes, screen.width()), window.height());
    }
}

// The registers come in front of a pane that hides them, unless it is one of
// the debugger's own the user chose to watch instead.
void TDebugSession::bringRegistersForward() {
    if (!registers->visibleRegion().isEmpty())
        return;
    for (const QDockWidget* other : window.tabifiedDockWidgets(registers))
        if ((other == memory || other == ports || other == console) && !other->visibleRegion().isEmpty())
            return;
    registers->raise();
}

void TDebugSession::say(const QString& message) {
    statusPanel.setText(message);
}
void TDebugSession::tell(const QString& header) {
    console->SetHeader(header);
}

void TDebugSession::runContinue() {
    if (ready())
        debugger.Continue();
}

void TDebugSession::stop() {
    debugger.Unload();
    showMachine();
    updateActions();
    say(QStringLiteral("Stopped"));
    tell(QStringLiteral("Stopped. Run (F5) starts the program again."));
}

void TDebugSession::EndSession() {
    const bool wasLoaded = debugger.IsLoaded();
    debugger.Unload();
    editedSinceCheck = false;
    warnings.clear();
    if (wasLoaded)
        say(QString()); // the stale notice was the last document's
    console->Reset();
    memory->GoToField()->clear();
    showMachine();
    updateActions();
}

bool TDebugSession::SetMachine(const MachineDescription& machine, const std::vector<std::uint8_t>& rom,
                               QString& reason) {
    EndSession();
    debugger.SetMachine(machine);
    const bool fits = rom.empty() || debugger.SetRom(rom, reason);
    nameConsole();
    showMachine();
    return fits;
}

// The console pane is the machine's terminal, by the name the terminal gives
// itself, after the machine's where the machine is more than its terminal:
// "8008-SBC: Serial line at 2400 bps".
void TDebugSession::nameConsole() {
    const TerminalDevice* terminal = debugger.GetMachine().ports.terminal();
    if (!terminal)
        return;
    const QString machine = QString::fromStdString(debugger.GetRunner().machineDescription().title);
    const QString name = QString::fromStdString(terminal->name());
    console->setWindowTitle(name == machine ? name : QStringLiteral("%1: %2").arg(machine, name));
}

void TDebugSession::restart() {
    debugger.Unload();
    if (load())
        debugger.Continue();
}

// A step from no program loads it and stands on its first instruction.
void TDebugSession::step(void (TDebugger::*how)()) {
    const bool starting = !debugger.IsLoaded();
    if (!ready())
        return;
    if (starting) {
        stopped(QStringLiteral("Ready at %1").arg(debugger.Where(debugger.GetMachine().cpu.pc())));
        return;
    }
    (debugger.*how)();
}

void TDebugSession::runToCursor() {
    if (ready())
        debugger.RunTo(editor.GetLine() - 1);
}

void TDebugSession::interrupt() {
    if (!debugger.IsLoaded())
        return;
    settleEdits();
    if (debugger.IsStale()) {
        say(staleNote);
        return;
    }
    debugger.Interrupt(interruptRestart);
}

// Why it stopped, with what it warned of on the way.
void TDebugSession::stopped(const QString& why) {
    QStringList parts = QStringList(why) + std::exchange(warnings, {});
    if (debugger.IsStale())
        parts.append(staleNote);
    say(parts.join(QStringLiteral(". ")));
    tell(parts.join(u'\n'));
    showMachine();
    updateActions();
    // The keyboard goes back to the source; the program does not read it now.
    if (window.focusWidget() == console->View())
        editor.GetTextArea()->setFocus();
}

void TDebugSession::running(bool on) {
    updateActions();
    if (!on)
        return;
    const QString text =
        QStringLiteral("Running. Pause stops it (Run menu); keys typed here go to the program.");
    say(text);
    tell(text);
    editor.Highlights().SetExecutionLine(-1);
    console->View()->setFocus();
}

void TDebugSession::showMachine() {
    registers->Model()->Refresh();
    memory->Model()->Refresh();
    ports->Model()->Refresh();
    const bool paused =
        debugger.IsLoaded() && !debugger.IsRunning() && !debugger.IsStale() && !editedSinceCheck;
    const int line = paused ? debugger.CurrentLine() : -1;
    editor.Highlights().SetExecutionLine(line);
    editor.Highlights().SetExecutionNote(line >= 0 ? executionNote(line) : QString());
}

// "Ran 3 times in this run, taking 15 states, 5 a time".
QString TDebugSession::executionNote(int line) const {
    const Runner& runner = debugger.GetRunner();
    const ProfileRow figures = lineProfile(runner.program(), *runner.machine().counts, line);
    if (figures.executions == 0)
        return QStringLiteral("Not run yet in this run");
    return QStringLiteral("Ran %1 in this run, taking %2 states, %3 a time")
        .arg(figures.executions == 1 ? QStringLiteral("once")
                                     : QStringLiteral("%1 times").arg(figures.executions))
        .arg(figures.states)
        .arg(QString::number(static_cast<double>(figures.states) / static_cast<double>(figures.executions),
                             'g', 4));
}

// Whether the change matters is known at the next run: an edit of comments or
// blanks leaves the program as it is, and the session goes on.
void TDebugSession::textChanged() {
    if (!debugger.IsLoaded())
        return;
    if (debugger.IsStale()) {
        say(staleNote); // again at every change, as the window clears its messages then
        return;
    }
    editedSinceCheck = true;
    editor.Highlights().SetExecutionLine(-1); // lines above it may have come or gone
}

// Before the program goes on: whether the text still assembles to it. An edit
// left the listing behind the text, so the run this makes does the check.
void TDebugSession::settleEdits() {
    if (editedSinceCheck)
        document.CurrentAssembly();
}

void TDebugSession::checkEdits() {
    if (!editedSinceCheck || !debugger.IsLoaded() || !document.IsAssemblyCurrent())
        return;
    editedSinceCheck = false;
    if (editor.GetErrorCount() == 0 && debugger.Relink(document.GetAssembly())) {
        debugger.SetBreakpointLines(document.BreakpointLines());
        showMachine();
        return;
    }
    debugger.MarkStale();
    say(staleNote);
    tell(console->Header() + "\n" + staleNote);
}

void TDebugSession::updateActions() {
    if (!RunContinue1)
        return; // the menu is not built yet
    const bool loaded = debugger.IsLoaded();
    const bool runs = debugger.IsRunning();
    for (QAction* action : {RunContinue1, StepInto1, StepOver1, StepOut1, RunToCursor1})
        action->setEnabled(!runs);
    Pause1->setEnabled(runs);
    Stop1->setEnabled(loaded);
    Interrupt1->setEnabled(loaded);
}
