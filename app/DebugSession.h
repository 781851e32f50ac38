#pragma once

// Running and debugging the program of the editor's text: the Run menu, the
// panes beside the source, and the line the program stands on lit in it. What
// runs is the last assembly of the text; once the text changes, the program
// loaded is stale and only Restart runs again, with the new assembly.

#include "Debugger.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <vector>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class TBrenvik;
class TConsolePane;
class TDocument;
class TMemoryPane;
class TPortsPane;
class TRegistersPane;

class TDebugSession : public QObject {
    Q_OBJECT
  public:
    // Speeds offered: full speed, then real time at these clocks.
    static constexpr unsigned realTimeClocks[] = {500'000, 800'000};

    // Messages go to `statusPanel`; the panes dock in `window`, hidden until the first run.
    TDebugSession(QMainWindow& window, TBrenvik& editor, QLabel& statusPanel);

    // Fills the Run menu, and the View menu with the panes.
    void BuildMenus(QMenu* run, QMenu* view);

    // The choices kept between sessions: the speed (0 full, then the clocks in
    // order) and the restart number an interrupt jams in.
    int GetSpeed() const;
    void SetSpeed(int speed);
    unsigned GetInterruptRestart() const { return interruptRestart; }
    void SetInterruptRestart(unsigned restart);

    // Another document takes the window's place: the program of the last one
    // goes, and the panes start afresh.
    void EndSession();
    // Programs run on `machine` from now on, with the ROM image `rom` (none when
    // empty), the session ended; false, with the reason, when the image does not
    // fit the machine, which then runs without one.
    bool SetMachine(const MachineDescription& machine, const std::vector<std::uint8_t>& rom, QString& reason);

    TDebugger& Debugger() { return debugger; }
    TConsolePane* Console() const { return console; }
    TRegistersPane* Registers() const { return registers; }
    TMemoryPane* Memory() const { return memory; }
    TPortsPane* Ports() const { return ports; }

    QAction *RunContinue1 = nullptr, *Pause1 = nullptr, *Stop1 = nullptr, *Restart1 = nullptr,
            *StepInto1 = nullptr, *StepOver1 = nullptr, *StepOut1 = nullptr, *StepBack1 = nullptr,
            *RunToCursor1 = nullptr, *ToggleBreakpoint1 = nullptr, *Interrupt1 = nullptr;

  private:
    // The program ready to run or step: loaded from the text's assembly if none
    // is, and not stale. False, with the reason said, when it cannot run.
    bool ready();
    bool load();
    void showPanes();
    void bringRegistersForward();
    void say(const QString& message);
    void tell(const QString& header);
    void nameConsole();

    void runContinue();
    void stop();
    void restart();
    void step(void (TDebugger::*how)());
    void runToCursor();
    void interrupt();

    void stopped(const QString& why);
    void running(bool running);
    void showMachine();
    QString executionNote(int line) const;
    void textChanged();
    void checkEdits();
    void settleEdits();
    void updateActions();

    QMainWindow& window;
    TBrenvik& editor;
    TDocument& document; // the one the editor shows
    QLabel& statusPanel;
    TDebugger debugger;
    TConsolePane* console;
    TRegistersPane* registers;
    TMemoryPane* memory;
    TPortsPane* ports;
    QStringList warnings; // of the run or step under way
    QList<QAction*> speedItems;
    QList<QAction*> restartItems;
    unsigned interruptRestart = 0;
    // The text changed since the loaded program was last found to be its assembly.
    bool editedSinceCheck = false;
};
