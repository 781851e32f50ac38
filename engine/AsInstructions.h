#pragma once

// The 8008's instructions as the Macroassembler AS spells them: after CPU 8008
// the mnemonics of 1972 with AS's aliases (JC, JZ, CC, RC, NOP ...), after
// CPU 8008NEW those of 1975 (MOV, MVI, INR, JNZ, CALL ...).

#include "WordTable.h"

#include <cstdint>

enum class AsForm : std::uint8_t {
    fixed,               // no operand
    immediate,           // a byte follows
    jump,                // a 14-bit address follows
    restart,             // RST: the address 0, 8, ... 56 (or 0 to 7) folds into the opcode
    input,               // IN / INP: port 0 to 7 folds into the opcode
    output,              // OUT: port 8 to 31 folds into the opcode
    move,                // MOV d,s
    moveImmediate,       // MVI d,byte
    loadPair,            // LXI B|D|H,word: two MVI
    sourceRegister,      // opcode | s (ADD, SBB, CMP ...)
    destinationRegister, // opcode | d << 3, not A or M (INR, DCR)
};

struct AsInstruction {
    AsForm form;
    std::uint8_t opcode;
};

// The instruction set after CPU 8008 (`newMnemonics` false) or CPU 8008NEW.
const WordTable<AsInstruction>& asInstructions(bool newMnemonics);

// The register numbers of A, B, C, D, E, H, L and M.
inline constexpr char asRegisters[] = "ABCDEHLM";
constexpr int memoryRegister = 7;
