#include "Disassembler.h"

#include "Brenvik.h"
#include "CodeFormat.h"

#include <array>

namespace {

constexpr std::uint8_t rstBase = 0x05, inpBase = 0x41, outBase = 0x51;

struct Mnemonic {
    std::string word;
    int operandBytes = -1; // -1: no instruction has this opcode
};

// The instruction table turned round: opcode -> word. Of two words for one
// opcode, the one that says what the chip does wins (HLT3, not LMM).
const std::array<Mnemonic, 256>& mnemonics() {
    static const std::array<Mnemonic, 256> table = [] {
        std::array<Mnemonic, 256> byOpcode{};
        TBrenvikEngine::instructionSet().forEach(
            [&](std::string_view word, TBrenvikEngine::Line::LineCode code) {
                if (code < 0 || word == "LMM")
                    return;
                byOpcode[static_cast<std::size_t>(code & 0xFF)] = {std::string(word), code >> 8};
            });
        return byOpcode;
    }();
    return table;
}

} // namespace

std::string disassemble(std::uint8_t opcode, std::uint16_t operand) {
    // RST, INP and OUT carry their number in the opcode.
    if ((opcode & 0307) == rstBase)
        return "RST " + std::to_string(opcode >> 3 & 7);
    if ((opcode & 0301) == 0101) {
        const unsigned port = opcode >> 1 & 037;
        return (port < 8 ? "INP " : "OUT ") + std::to_string(port);
    }
    const Mnemonic& m = mnemonics()[opcode];
    switch (m.operandBytes) {
    case 0:
        return m.word;
    case 1:
        return m.word + " " + octalText(operand & 0xFF, 3);
    case 2:
        return m.word + " " + octalText(operand & 037777, 6);
    default:
        return "undefined " + octalText(opcode, 3);
    }
}
