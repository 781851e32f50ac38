#pragma once

// The runner in the editor: slices of the run between the window's events, so
// that the window answers at once while the program runs flat out, a Pause
// takes effect within a slice, and keys typed reach a program that polls for
// them; and signals for the panes.

#include "Assembly.h"
#include "RealTimePace.h"
#include "Runner.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>
#include <vector>

class TDebugger : public QObject {
    Q_OBJECT
  public:
    static constexpr unsigned fullSpeed = 0; // a clock of 0 hertz: as fast as the host goes

    explicit TDebugger(QObject* parent = nullptr);

    // Puts the program of `assembly` into a fresh machine with the PC at 0; false,
    // with the reason, when it has bytes beyond the 8008's memory.
    bool Load(const Assembly& assembly, QString& reason);
    void Unload();
    // The machine programs run on from now on, fresh and without a program; and
    // the ROM image of one with a ROM (false, with the reason, when it has none
    // or the image does not fit it).
    void SetMachine(const MachineDescription& description);
    bool SetRom(std::vector<std::uint8_t> image, QString& reason);
    // The lines of `assembly` for the loaded program, when it assembles to the same bytes.
    bool Relink(const Assembly& assembly) { return runner.relink(Program(assembly)); }
    bool IsLoaded() const { return runner.loaded(); }
    bool IsRunning() const { return running; }
    // Whether the source changed since the program was loaded.
    bool IsStale() const { return stale; }
    void MarkStale() { stale = runner.loaded(); }

    Runner& GetRunner() { return runner; }
    const Runner& GetRunner() const { return runner; }
    Machine& GetMachine() { return runner.machine(); }
    const Machine& GetMachine() const { return runner.machine(); }
    // The machine as it was before the last step or run, to show what changed.
    const Machine& GetBefore() const { return before; }
    std::uint64_t StatesSinceStop() const { return runner.machine().states - before.states; }

    // The line of the instruction the program stands on: after a halt, the HLT's.
    int CurrentLine() const { return runner.currentLine(); }
    // "line N (address)", or the address alone where no line assembled an instruction.
    QString Where(std::uint16_t address) const { return QString::fromStdString(runner.where(address)); }

    void SetBreakpointLines(const std::vector<int>& lines) { runner.setBreakpointLines(lines); }
    // States run per second: half the clock; fullSpeed for no limit.
    void SetClock(unsigned hertz);
    unsigned GetClock() const { return clock; }

    void Continue();
    void Pause();
    void StepInto();
    void StepOver();
    void StepOut();
    void RunTo(int line);
    // Undoes the last instruction, as far back as the history reaches.
    void StepBack();
    // Jams RST `restart` in, as an interrupt; the way out of a halt.
    void Interrupt(unsigned restart);
    void TypeKeys(const std::string& keys);
    // A register, memory or a switch was edited: the run cannot be replayed past it.
    void NoteEdited() { runner.changedFromOutside(); }

  Q_SIGNALS:
    // The run or step ended, and why, in words.
    void OnStop(const QString& why);
    // The machine changed: at every stop, and about 30 times a second while it runs.
    void OnRefresh();
    void OnScreen(const QString& text);
    // A step back took back what the screen showed: this is all of it now.
    void OnScreenReplaced(const QString& text);
    // Something to know that does not stop the run.
    void OnWarning(const QString& what);
    void OnRunning(bool running);

  private:
    void start();
    std::uint64_t sliceBudget() const;
    void slice();
    void refresh();
    void stopSlices();
    void finish(const QString& why);
    void finish(const Stop& stop);
    void showScreen();
    void noteLostReturn();

    Runner runner;
    Machine before;
    bool stale = false;
    bool running = false;
    unsigned clock = fullSpeed;

    QTimer sliceTimer;
    QElapsedTimer sinceRefresh;
    RealTimePace pace; // real time: the wall clock the states follow
    std::uint64_t statesPerSlice;
};
