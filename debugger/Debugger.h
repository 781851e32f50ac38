#pragma once

// Runs the program of an assembly on a simulated 8008 for the editor: in
// slices between the window's events, so that the window answers at once while
// the program runs flat out, a Pause takes effect within a slice, and keys typed
// reach a program that polls for them. It knows which line each address came
// from, so that stops can be told in lines.

#include "Assembly.h"
#include "Machine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <bitset>
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
    bool IsLoaded() const { return loaded; }
    bool IsRunning() const { return running; }
    // Whether the source changed since the program was loaded.
    bool IsStale() const { return stale; }
    void MarkStale() { stale = loaded; }

    Machine& GetMachine() { return machine; }
    const Machine& GetMachine() const { return machine; }
    // The machine as it was before the last step or run, to show what changed.
    const Machine& GetBefore() const { return before; }
    std::uint64_t StatesSinceStop() const { return machine.states - before.states; }

    // The line whose instruction starts at `address`, or -1.
    int LineOf(std::uint16_t address) const;
    // The line of the instruction the program stands on: after a halt, the HLT's.
    int CurrentLine() const;
    // The address of the first instruction on `line` or below it.
    std::optional<std::uint16_t> AddressFrom(int line) const;
    // "line N (address)", or the address alone where no line assembled an instruction.
    QString Where(std::uint16_t address) const;

    void SetBreakpointLines(const std::vector<int>& lines);
    // States run per second: half the clock; fullSpeed for no limit.
    void SetClock(unsigned hertz);
    unsigned GetClock() const { return clock; }

    void Continue();
    void Pause();
    void StepInto();
    void StepOver();
    void StepOut();
    void RunTo(int line);
    // Jams RST `restart` in, as an interrupt; the way out of a halt.
    void Interrupt(unsigned restart);
    void TypeKeys(const std::string& keys);

  Q_SIGNALS:
    // The run or step ended, and why, in words.
    void OnStop(const QString& why);
    // The machine changed: at every stop, and about 30 times a second while it runs.
    void OnRefresh();
    void OnScreen(const QString& text);
    // Something to know that does not stop the run.
    void OnWarning(const QString& what);
    void OnRunning(bool running);

  private:
    void start(std::optional<unsigned> returnBelowDepth, std::optional<std::uint16_t> stopAt);
    std::uint64_t sliceBudget() const;
    void slice();
    void refresh();
    void stopSlices();
    void finish(const QString& why);
    QString stopText(StopReason reason) const;
    void showScreen();
    void noteLostReturn();

    Machine machine;
    Machine before;
    bool loaded = false;
    bool stale = false;
    bool running = false;
    bool paused = false; // by the user, during the running slice
    unsigned clock = fullSpeed;

    std::vector<int> lineOfAddress;
    std::vector<std::uint32_t> addressOfLine; // noLine for lines without code
    std::bitset<Machine::memorySize> breakpoints;
    std::bitset<Machine::memorySize> stops; // breakpoints, and where Run to Cursor goes
    std::optional<unsigned> returnBelow;    // Step Over and Step Out: until this depth is left
    std::optional<std::uint16_t> runToAddress;
    std::optional<std::uint8_t> warnedLostSlot;

    QTimer sliceTimer;
    QElapsedTimer sinceRefresh;
    QElapsedTimer sinceStart; // real time: the wall clock the states follow
    std::uint64_t statesAtStart = 0;
    std::uint64_t statesPerSlice;
    bool waitingForKeys = false;
};
