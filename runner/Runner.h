#pragma once

// Runs a program on a machine the way every part of Brenvik runs one: in
// budgets of states, toward a goal (run on, step over a call, step out of a
// routine, run to a line), stopping at breakpoints, each stop with its reason
// and one text for it. It knows the program's lines, so that stops are told in
// lines, and keeps a history to step back through. Standard library only: the
// editor's debugger drives it from a timer, brenvik-sim from a loop.

#include "History.h"
#include "Machine.h"
#include "Program.h"

#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct Stop {
    StopReason reason;
    std::string text; // "Halted by HLT at line 3 (000004)"
};

class Runner {
  public:
    explicit Runner(const MachineDescription& description = consoleMachine());

    // Puts `program` into a fresh machine, the switches kept as the user set
    // them; false, with the reason, when it does not fit the memory. Its bytes
    // in a ROM window are that ROM's first bank there, over the ROM image's:
    // the machine starts in them as a board starts in its ROM.
    bool load(const Program& program, std::string& reason);
    // The ROM image of a machine with a ROM window, kept for every fresh machine;
    // false, with the reason, when the machine has none or it does not fit.
    bool setRom(std::vector<std::uint8_t> image, std::string& reason);
    // A fresh machine without a program; the switches and the ROM stay.
    void unload();
    // Another machine, fresh, without a program or a ROM image.
    void setMachine(const MachineDescription& description);
    const MachineDescription& machineDescription() const { return *description; }
    // Takes the lines of `program` for the loaded one when it puts the same
    // bytes (a comment or blank edited), leaving the machine as it is; false,
    // changing nothing, when its bytes differ.
    bool relink(const Program& program);
    bool loaded() const { return isLoaded; }

    Machine& machine() { return current; }
    const Machine& machine() const { return current; }
    const Program& program() const { return *loadedProgram; }

    // "line N (address)", or the address alone where no line assembled an instruction.
    std::string where(std::uint16_t address) const;
    // The line of the instruction the program stands on: after a halt, the HLT's.
    int currentLine() const;

    void setBreakpointLines(const std::vector<int>& lines);
    // Per address, how often an instruction ran there and the states it took.
    void countExecutions(bool on) { current.countExecutions(on); }

    // The goals that advance() carries out.
    void runOn();
    // Over a call or RST to its return, as a goal; any other instruction is one
    // step, taken at once, and its stop returned.
    std::optional<Stop> stepOver();
    void stepOut();
    // False, with nothing to run toward, when no line at or below `line` has code.
    bool runTo(int line);
    // One instruction, at once.
    Stop stepInto();

    // Runs toward the goal for at most `states` states; the stop once the goal
    // is reached or the program stops, nothing while it goes on.
    std::optional<Stop> advance(std::uint64_t states);
    // Whether the last advance ended because the program only polls for input and
    // none is waiting: there is no point in running it again before some comes.
    bool waitingForInput() const { return waiting; }

    // Keys for the machine's terminal, and whether it still has some to read.
    void type(const std::string& keys);
    bool hasKeys() const;
    // What the terminal showed since last asked. All of it is kept as the run's
    // transcript (its last `transcriptKept` characters), which a step back cuts short.
    std::string takeScreen();
    const std::string& transcript() const { return shown; }
    static constexpr std::size_t transcriptKept = std::size_t{1} << 20;

    // Jams RST `restart` in before the next instruction: the way out of a halt.
    void interrupt(unsigned restart);
    // The machine was changed from outside (an edited register, memory, a switch):
    // what comes after it cannot be replayed from before it.
    void changedFromOutside();

    // Undoes the last instruction: memory, ports, terminal and counts included.
    // False, with nothing done, when the history does not reach back.
    bool stepBack();
    std::uint64_t stepsBack() const;

    // The text of a stop of the machine as it stands.
    std::string stopText(StopReason reason) const;
    // "An 8th nested call overwrote the oldest return address (stack slot 3)",
    // once for each call that did since last asked; nothing when none did.
    std::optional<std::string> takeLostReturn();

    // Whether runs keep a history to step back through (off for brenvik-sim).
    void keepHistory(bool on);

  private:
    void startGoal(std::optional<unsigned> returnBelowDepth, std::optional<std::uint16_t> stopAt);
    // Moves what the terminal showed into the transcript and the unread text.
    void collectScreen();
    void note(bool fromOutside);

    const MachineDescription* description;
    std::vector<std::uint8_t> rom;
    Machine current;
    std::shared_ptr<const Program> loadedProgram = std::make_shared<Program>();
    bool isLoaded = false;

    std::bitset<Machine::memorySize> breakpoints;
    std::bitset<Machine::memorySize> stops; // breakpoints, and where Run to Cursor goes
    std::optional<unsigned> returnBelow;    // Step Over and Step Out: until this depth is left
    std::optional<std::uint16_t> runToAddress;
    bool waiting = false;

    std::string shown;             // the transcript's end
    std::uint64_t shownBefore = 0; // characters of the transcript no longer kept
    std::string unread;
    bool historyKept = true;
    std::optional<std::uint8_t> toldLostSlot;
    History history;
};
