#pragma once

// An instruction as the assembler would write it: its mnemonic from the
// instruction table, and its operand in octal (ports and restart numbers in
// decimal, as sources name them).

#include <cstdint>
#include <string>

// `operand` holds the bytes after the opcode, low byte first, as far as the
// instruction takes them.
std::string disassemble(std::uint8_t opcode, std::uint16_t operand);
