// The instruction table: the fixed mnemonics and directives, then the register
// families generated from their octal bit patterns.

#include "Brenvik.h"

#include <array>

using LineCode = TBrenvikEngine::Line::LineCode;

WordTable<LineCode> TBrenvikEngine::opcodes;

namespace {

// Register numbers are positions in this string; M is memory at (H, L).
constexpr std::string_view registers = "ABCDEHLM";

struct FixedRow {
    const char* word;
    LineCode code;
};

// 0x100 + opcode: one immediate byte follows; 0x200 + opcode: a two-byte address.
// clang-format off
constexpr std::array<FixedRow, 55> fixedRows{{
    {"ORG", TBrenvikEngine::Line::org},
    {"DW", TBrenvikEngine::Line::dw},
    {"DB", TBrenvikEngine::Line::db},
    {"EQU", TBrenvikEngine::Line::equ},
    {"END", TBrenvikEngine::Line::end},
    {"TITLE", TBrenvikEngine::Line::title},
    {"BSS", TBrenvikEngine::Line::bss},
    {"CODE", TBrenvikEngine::Line::codeMode},
    {"DATA", TBrenvikEngine::Line::codeMode},
    {"LHLI", TBrenvikEngine::Line::lhli},
    {"ADI", 0x104}, {"ACI", 0x10C}, {"SUI", 0x114}, {"SBI", 0x11C},
    {"NDI", 0x124}, {"XRI", 0x12C}, {"ORI", 0x134}, {"CPI", 0x13C},
    {"RLC", 0x02}, {"RRC", 0x0A}, {"RAL", 0x12}, {"RAR", 0x1A},
    {"JMP", 0x244},
    {"JFC", 0x240}, {"JFZ", 0x248}, {"JFS", 0x250}, {"JFP", 0x258},
    {"JTC", 0x260}, {"JTZ", 0x268}, {"JTS", 0x270}, {"JTP", 0x278},
    {"CAL", 0x246},
    {"CFC", 0x242}, {"CFZ", 0x24A}, {"CFS", 0x252}, {"CFP", 0x25A},
    {"CTC", 0x262}, {"CTZ", 0x26A}, {"CTS", 0x272}, {"CTP", 0x27A},
    {"RET", 0x07},
    {"RFC", 0x03}, {"RFZ", 0x0B}, {"RFS", 0x13}, {"RFP", 0x1B},
    {"RTC", 0x23}, {"RTZ", 0x2B}, {"RTS", 0x33}, {"RTP", 0x3B},
    {"RST", 0x05}, // the operand folds into the opcode
    {"INP", 0x41},
    {"OUT", 0x51},
    {"HLT", 0x00}, {"HLT2", 0x01}, {"HLT3", 0xFF},
}};
// clang-format on

// Register arithmetic, octal 2ps: op p in this order, source register s.
constexpr std::array<std::string_view, 8> arithmetic{"AD", "AC", "SU", "SB", "ND", "XR", "OR", "CP"};

LineCode code(int value) {
    return static_cast<LineCode>(value);
}

} // namespace

void TBrenvikEngine::fillOpcodes() {
    for (const FixedRow& row : fixedRows)
        opcodes.set(row.word, row.code);
    for (int d = 0; d < 8; ++d)
        for (int s = 0; s < 8; ++s) // Lds, octal 3ds
            opcodes.set(std::string{'L', registers[d], registers[s]}, code(0xC0 + 8 * d + s));
    for (int d = 0; d < 8; ++d) // LdI, octal 0d6 with an immediate byte
        opcodes.set(std::string{'L', registers[d], 'I'}, code(0x106 + 8 * d));
    for (int r = 1; r < 8; ++r) { // INA and DCA would be HLT and HLT2
        opcodes.set(std::string{'I', 'N', registers[r]}, code(8 * r));
        opcodes.set(std::string{'D', 'C', registers[r]}, code(8 * r + 1));
    }
    for (int p = 0; p < 8; ++p)
        for (int s = 0; s < 8; ++s)
            opcodes.set(std::string{arithmetic[p][0], arithmetic[p][1], registers[s]},
                        code(0x80 + 8 * p + s));
}

const WordTable<LineCode>& TBrenvikEngine::instructionSet() {
    if (opcodes.empty())
        fillOpcodes();
    return opcodes;
}
