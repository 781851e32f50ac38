#include "AsInstructions.h"

#include <array>
#include <string>

namespace {

struct Row {
    const char* word;
    AsForm form;
    std::uint8_t opcode;
};

// Both sets.
// clang-format off
constexpr std::array<Row, 24> commonRows{{
    {"HLT", AsForm::fixed, 0x00}, {"NOP", AsForm::fixed, 0xC0}, {"RET", AsForm::fixed, 0x07},
    {"RLC", AsForm::fixed, 0x02}, {"RRC", AsForm::fixed, 0x0A}, {"RAL", AsForm::fixed, 0x12},
    {"RAR", AsForm::fixed, 0x1A}, {"RC", AsForm::fixed, 0x23}, {"RZ", AsForm::fixed, 0x2B},
    {"ADI", AsForm::immediate, 0x04}, {"ACI", AsForm::immediate, 0x0C}, {"SUI", AsForm::immediate, 0x14},
    {"SBI", AsForm::immediate, 0x1C}, {"XRI", AsForm::immediate, 0x2C}, {"ORI", AsForm::immediate, 0x34},
    {"CPI", AsForm::immediate, 0x3C},
    {"JMP", AsForm::jump, 0x44}, {"JC", AsForm::jump, 0x60}, {"JZ", AsForm::jump, 0x68},
    {"CC", AsForm::jump, 0x62}, {"CZ", AsForm::jump, 0x6A},
    {"RST", AsForm::restart, 0x05}, {"OUT", AsForm::output, 0x41},
    {"IN", AsForm::input, 0x41}, // after CPU 8008 a Z80 form only: left out there
}};

// 1972: everything else is generated from the register letters.
constexpr std::array<Row, 22> oldRows{{
    {"INP", AsForm::input, 0x41}, {"NDI", AsForm::immediate, 0x24},
    {"JS", AsForm::jump, 0x70}, {"JP", AsForm::jump, 0x78},
    {"CAL", AsForm::jump, 0x46}, {"CS", AsForm::jump, 0x72}, {"CP", AsForm::jump, 0x7A},
    {"RFC", AsForm::fixed, 0x03}, {"RFZ", AsForm::fixed, 0x0B}, {"RFS", AsForm::fixed, 0x13},
    {"RFP", AsForm::fixed, 0x1B}, {"RS", AsForm::fixed, 0x33}, {"RP", AsForm::fixed, 0x3B},
    {"RTC", AsForm::fixed, 0x23}, {"RTZ", AsForm::fixed, 0x2B}, {"RTS", AsForm::fixed, 0x33},
    {"RTP", AsForm::fixed, 0x3B},
    // The register-less forms name an implied register: AD D, AD C, SU B, SB C, IN C.
    {"ADD", AsForm::fixed, 0x83}, {"ADC", AsForm::fixed, 0x82}, {"SUB", AsForm::fixed, 0x91},
    {"SBC", AsForm::fixed, 0x9A}, {"INC", AsForm::fixed, 0x10},
}};

// 1975.
constexpr std::array<Row, 33> newRows{{
    {"ANI", AsForm::immediate, 0x24},
    {"JNC", AsForm::jump, 0x40}, {"JNZ", AsForm::jump, 0x48}, {"JP", AsForm::jump, 0x50},
    {"JPO", AsForm::jump, 0x58}, {"JM", AsForm::jump, 0x70}, {"JPE", AsForm::jump, 0x78},
    {"CALL", AsForm::jump, 0x46},
    {"CNC", AsForm::jump, 0x42}, {"CNZ", AsForm::jump, 0x4A}, {"CP", AsForm::jump, 0x52},
    {"CPO", AsForm::jump, 0x5A}, {"CM", AsForm::jump, 0x72}, {"CPE", AsForm::jump, 0x7A},
    {"RNC", AsForm::fixed, 0x03}, {"RNZ", AsForm::fixed, 0x0B}, {"RP", AsForm::fixed, 0x13},
    {"RPO", AsForm::fixed, 0x1B}, {"RM", AsForm::fixed, 0x33}, {"RPE", AsForm::fixed, 0x3B},
    {"MOV", AsForm::move, 0xC0}, {"MVI", AsForm::moveImmediate, 0x06}, {"LXI", AsForm::loadPair, 0x06},
    {"ADD", AsForm::sourceRegister, 0x80}, {"ADC", AsForm::sourceRegister, 0x88},
    {"SUB", AsForm::sourceRegister, 0x90}, {"SBB", AsForm::sourceRegister, 0x98},
    {"ANA", AsForm::sourceRegister, 0xA0}, {"XRA", AsForm::sourceRegister, 0xA8},
    {"ORA", AsForm::sourceRegister, 0xB0}, {"CMP", AsForm::sourceRegister, 0xB8},
    {"INR", AsForm::destinationRegister, 0x00}, {"DCR", AsForm::destinationRegister, 0x01},
}};
// clang-format on

// Register arithmetic of 1972, octal 2ps, with the registers each takes: AS
// leaves out those whose name is another instruction (ADC, ADD, SUB, SBC).
struct Family {
    const char* prefix;
    std::uint8_t opcode;
    std::string_view registers;
};
constexpr std::array<Family, 9> oldArithmetic{{
    {"AD", 0x80, "ABEHLM"},
    {"AC", 0x88, "ABCDEHLM"},
    {"SU", 0x90, "ACDEHLM"},
    {"SB", 0x98, "ABDEHLM"},
    {"NR", 0xA0, "ABCDEHLM"},
    {"ND", 0xA0, "ABCDEHLM"},
    {"XR", 0xA8, "ABCDEHLM"},
    {"OR", 0xB0, "ABCDEHLM"},
    {"CP", 0xB8, "ABCDEHLM"},
}};

std::uint8_t registerNumber(char letter) {
    return static_cast<std::uint8_t>(std::string_view(asRegisters).find(letter));
}

void add(WordTable<AsInstruction>& table, const Row& row) {
    table.set(row.word, {row.form, row.opcode});
}

WordTable<AsInstruction> oldSet() {
    WordTable<AsInstruction> table;
    for (const Row& row : commonRows)
        if (std::string_view(row.word) != "IN")
            add(table, row);
    for (const Row& row : oldRows)
        add(table, row);
    constexpr std::string_view flags = "CZSP";
    for (std::uint8_t f = 0; f < 4; ++f) {
        const auto shift = static_cast<std::uint8_t>(f << 3);
        table.set(std::string{'J', 'F', flags[f]}, {AsForm::jump, static_cast<std::uint8_t>(0x40 + shift)});
        table.set(std::string{'J', 'T', flags[f]}, {AsForm::jump, static_cast<std::uint8_t>(0x60 + shift)});
        table.set(std::string{'C', 'F', flags[f]}, {AsForm::jump, static_cast<std::uint8_t>(0x42 + shift)});
        table.set(std::string{'C', 'T', flags[f]}, {AsForm::jump, static_cast<std::uint8_t>(0x62 + shift)});
    }
    for (const char d : std::string_view(asRegisters)) {
        for (const char s : std::string_view(asRegisters))
            if (d != 'M' || s != 'M') // LMM would be a halt
                table.set(std::string{'L', d, s},
                          {AsForm::fixed,
                           static_cast<std::uint8_t>(0xC0 | registerNumber(d) << 3 | registerNumber(s))});
        table.set(std::string{'L', d, 'I'},
                  {AsForm::immediate, static_cast<std::uint8_t>(0x06 | registerNumber(d) << 3)});
    }
    for (const Family& family : oldArithmetic)
        for (const char s : family.registers)
            table.set(std::string(family.prefix) + s,
                      {AsForm::fixed, static_cast<std::uint8_t>(family.opcode | registerNumber(s))});
    for (const char r : std::string_view("BDEHL")) // INC is IN C; no INA, INM
        table.set(std::string{'I', 'N', r},
                  {AsForm::fixed, static_cast<std::uint8_t>(registerNumber(r) << 3)});
    for (const char r : std::string_view("BCDEHL"))
        table.set(std::string{'D', 'C', r},
                  {AsForm::fixed, static_cast<std::uint8_t>(registerNumber(r) << 3 | 1)});
    return table;
}

WordTable<AsInstruction> newSet() {
    WordTable<AsInstruction> table;
    for (const Row& row : commonRows)
        add(table, row);
    for (const Row& row : newRows)
        add(table, row);
    return table;
}

} // namespace

const WordTable<AsInstruction>& asInstructions(bool newMnemonics) {
    static const WordTable<AsInstruction> oldOnes = oldSet(), newOnes = newSet();
    return newMnemonics ? newOnes : oldOnes;
}
