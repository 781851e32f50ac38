#pragma once

// The simulated machine: an 8008, 16 KiB of memory and the ports. It runs
// instruction after instruction until something stops it, counting states as
// the chip spends them.

#include "Cpu.h"
#include "Ports.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <limits>
#include <optional>

enum class StopReason {
    budget,          // the states or instructions it was given are spent
    halted,          // a HLT; the PC holds the address after it
    undefinedOpcode, // the PC stands on an opcode the chip leaves undefined
    breakpoint,      // the PC stands on a breakpoint
    returned,        // the routine the run was to finish has returned
    waitingForKeys,  // the program only polls the console, and no key waits
    endOfInput,      // the program asks for a key, and none will come
};

class Machine {
  public:
    static constexpr std::size_t memorySize = 040000;
    static constexpr std::uint64_t unlimited = std::numeric_limits<std::uint64_t>::max();
    // Calls open at most: an eighth takes the slot of the oldest return address.
    static constexpr unsigned returnSlots = Cpu::stackSlots - 1;

    Cpu cpu;
    std::array<std::uint8_t, memorySize> memory{};
    Ports ports;
    std::uint64_t states = 0;
    std::uint64_t instructions = 0;
    // Calls not yet returned from, as far as the stack can hold them.
    unsigned callDepth = 0;
    // The stack slot whose return address a call overwrote, until taken.
    std::optional<std::uint8_t> lostReturnSlot;

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

  private:
    template <bool debugging>
    StopReason execute(const Stops& stops, std::uint64_t stateBudget, std::uint64_t instructionBudget);

    std::optional<std::uint8_t> jammed;
};
