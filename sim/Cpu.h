#pragma once

// The 8008's registers: seven of eight bits, four flags, and the address stack
// of eight 14-bit registers, one of which, chosen by a 3-bit pointer, is the
// program counter.

#include <array>
#include <cstdint>

struct Cpu {
    // Register codes, as the opcodes name them; 7 is M, the byte at H:L.
    enum Register : std::uint8_t { A, B, C, D, E, H, L };
    static constexpr std::uint8_t memoryOperand = 7;
    static constexpr std::uint16_t addressMask = 037777;
    static constexpr unsigned stackSlots = 8;

    std::array<std::uint8_t, 7> registers{};
    bool carry = false;
    bool zero = false;
    bool sign = false;
    bool parity = false;
    std::array<std::uint16_t, stackSlots> stack{};
    std::uint8_t stackPointer = 0; // the slot that is the program counter
    bool halted = false;

    std::uint16_t pc() const { return stack[stackPointer]; }
    void setPc(std::uint16_t address) { stack[stackPointer] = address & addressMask; }
    // The address of M: only the low six bits of H count.
    std::uint16_t hl() const { return static_cast<std::uint16_t>((registers[H] & 077) << 8 | registers[L]); }
};
