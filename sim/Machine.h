#pragma once

// The simulated machine: an 8008, its memory and the ports, built from a
// description. It runs instruction after instruction until something stops
// it, counting states as the chip spends them.

#include "Cpu.h"
#include "MachineDescription.h"
#include "Ports.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

enum class StopReason {
    budget,          // the states or instructions it was given are spent
    halted,          // a HLT; the PC holds the address after it
    undefinedOpcode, // the PC stands on an opcode the chip leaves undefined
    breakpoint,      // the PC stands on a breakpoint
    returned,        // the routine the run was to finish has returned
    waitingForKeys,  // the program only polls a device, and nothing comes
    endOfInput,      // the program asks for input, and none will come
};

// Per address, the instructions that started there and the states they took.
struct ExecutionCounts {
    std::vector<std::uint64_t> executions;
    std::vector<std::uint64_t> states;
};

class Machine {
  public:
    static constexpr std::size_t memorySize = 040000;
    static constexpr unsigned pageBits = 8;
    static constexpr std::size_t pages = memorySize >> pageBits;
    static constexpr std::uint64_t unlimited = std::numeric_limits<std::uint64_t>::max();
    // Calls open at most: an eighth takes the slot of the oldest return address.
    static constexpr unsigned returnSlots = Cpu::stackSlots - 1;
    // What an address without memory reads: the data lines float high.
    static constexpr std::uint8_t absentByte = 0377;

    Cpu cpu;
    std::array<std::uint8_t, memorySize> memory{};
    std::array<bool, pages> writable{}; // RAM; writes elsewhere are lost
    Ports ports;
    std::uint64_t states = 0;
    std::uint64_t instructions = 0;
    // Calls not yet returned from, as far as the stack can hold them.
    unsigned callDepth = 0;
    // The stack slot whose return address a call overwrote, until taken.
    std::optional<std::uint8_t> lostReturnSlot;
    // Counted while there are counts; copies of the machine count into the same ones.
    std::shared_ptr<ExecutionCounts> counts;

    // The console machine.
    Machine();
    explicit Machine(const MachineDescription& description);

    const MachineDescription& description() const { return *built; }
    // Puts `image` behind the ROM window, bank 0 first; false when the machine has no window.
    bool setRom(std::vector<std::uint8_t> image);
    void selectRomBank(unsigned bank);
    unsigned romBanks() const;
    // Back at the state of power-on: the memory's RAM as it is, the ROM image in place.
    void reset();
    void endBootOverlay();
    bool inBootOverlay() const { return bootRamUnder.has_value(); }
    // A loader's write: to the RAM that the boot overlay hides, where it hides it.
    void loadByte(std::uint32_t address, std::uint8_t byte) {
        if (bootRamUnder && address < bootRamUnder->size())
            (*bootRamUnder)[address] = byte;
        else
            memory[address] = byte;
    }

    void countExecutions(bool on);

    // Where a debugger wants a run to stop besides.
    struct Stops {
        // A breakpoint stops the run before its instruction, but not before the first.
        const std::bitset<memorySize>* breakpoints = nullptr;
        // Stops once fewer calls than this are open.
        std::optional<unsigned> returnBelowDepth;
    };

    // Runs until a stop, or until `stateBudget` states or `instructionBudget`
    // instructions are spent, whichever comes first.
    StopReason run(std::uint64_t stateBudget = unlimited, std::uint64_t instructionBudget = unlimited);
    StopReason run(const Stops& stops, std::uint64_t stateBudget = unlimited,
                   std::uint64_t instructionBudget = unlimited);

    // Jams `opcode` (normally an RST) in before the next instruction, as an
    // interrupt does; the only way out of a halt.
    void interrupt(std::uint8_t opcode) {
        jammed = opcode;
        cpu.halted = false;
    }
    std::optional<std::uint8_t> jammedInstruction() const { return jammed; }

  private:
    template <bool debugging, bool counting>
    StopReason execute(const Stops& stops, std::uint64_t stateBudget, std::uint64_t instructionBudget);
    template <bool debugging, bool counting>
    StopReason interpret(const Stops& stops, std::uint64_t stateBudget, std::uint64_t instructionBudget,
                         bool firstOfRun, int& ioPort);
    StopReason inputOutput(unsigned port);

    const MachineDescription* built;
    std::shared_ptr<const std::vector<std::uint8_t>> rom; // shared by copies: it never changes
    unsigned romBank = 0;
    std::optional<std::vector<std::uint8_t>> bootRamUnder; // the RAM the boot overlay hides
    std::optional<std::uint8_t> jammed;
};
