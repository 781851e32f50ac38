// Source lines against the bytes, addresses and error marks they assemble to.

#include "Assembled.h"

#include <gtest/gtest.h>

namespace {

struct StatementCase {
    const char* name;
    std::vector<std::string> lines;
    std::size_t line;    // the line whose record is checked
    Bytes bytes;         // its bytes, opcode first
    std::uint32_t value; // its address (or ORG / EQU value)
    ErrorColumns errors; // every line left in error
};

void PrintTo(const StatementCase& c, std::ostream* os) {
    *os << c.name;
}

class Statement : public ::testing::TestWithParam<StatementCase> {};

TEST_P(Statement, AssemblesToItsBytesAndMarks) {
    const StatementCase& c = GetParam();
    const Assembled a(c.lines);
    EXPECT_EQ(a.bytes(c.line), c.bytes);
    EXPECT_EQ(a.record(c.line).value, c.value);
    EXPECT_EQ(a.errors(), c.errors);
    EXPECT_EQ(a.assembly.errorCount, static_cast<int>(c.errors.size()));
}

const StatementCase statementCases[] = {
    {"MnemonicInColumnOneIsALabel", {"RET"}, 0, {}, 0, {}},
    {"IndentedMnemonic", {"\tRET"}, 0, {0x07}, 0, {}},
    {"LabelOwnAddress", {"\tORG 100B", "loop: jmp loop"}, 1, {0x44, 0x40, 0x00}, 0x40, {}},
    {"LabelWithColonThenMnemonic", {"X:RET"}, 0, {0x07}, 0, {}},
    {"OctalImmediate", {"\tLAI 300B"}, 0, {0x06, 0xC0}, 0, {}},
    {"ImmediateKeepsLowByte", {"\tLAI 256"}, 0, {0x06, 0x00}, 0, {}},
    {"CharacterReadUpperCase", {"\tLAI \"a\""}, 0, {0x06, 0x41}, 0, {}},
    {"CharacterAbove127IsUnsigned", {"\tLAI \"\xE9\""}, 0, {0x06, 0xC9}, 0, {}},
    {"AddressNotLimitedTo14Bits", {"\tJMP 40000"}, 0, {0x44, 0x40, 0x9C}, 0, {}},
    {"AddressAbove16BitsKeepsLowBits", {"\tJMP 70000"}, 0, {0x44, 0x70, 0x11}, 0, {}},
    {"Lhli", {"\tLHLI 1234"}, 0, {0x2E, 0x04, 0x36, 0xD2}, 0, {}},
    {"LhliMovesCounterByFour", {"\tLHLI 1234", "\tRET"}, 1, {0x07}, 4, {}},
    {"RstUsesLowThreeBits", {"\tRST 8"}, 0, {0x05}, 0, {}},
    {"RstSeven", {"\tRST 7"}, 0, {0x3D}, 0, {}},
    {"Inp", {"\tINP 3"}, 0, {0x47}, 0, {}},
    {"OutPortZeroIsPortEight", {"\tOUT 0"}, 0, {0x51}, 0, {}},
    {"OutPortEight", {"\tOUT 8"}, 0, {0x51}, 0, {}},
    {"OutPortSixteen", {"\tOUT 16"}, 0, {0x61}, 0, {}},
    {"OutPortTwentyThree", {"\tOUT 23"}, 0, {0x6F}, 0, {}},
    {"OutPortTwentyFour", {"\tOUT 24"}, 0, {0x71}, 0, {}},
    {"OutPortThirtyOne", {"\tOUT 31"}, 0, {0x7F}, 0, {}},
    {"RstUndefinedFromColumnOne", {"\tRST NOWHERE"}, 0, {0x05}, 0, {{0, 1}}},
    {"OutAbove16BitsFromColumnOne", {"\tOUT 70000"}, 0, {0x41 + 2 * 16}, 0, {{0, 1}}},
    {"DbStringsKeepCase", {"\tDB \"Ab\",1,\"\" ,300"}, 0, {0x41, 0x62, 0x01, 0x2C}, 0, {}},
    {"DbLatin1StringByte", {"\tDB \"\xE9\""}, 0, {0xE9}, 0, {}},
    {"DwLowByteFirstAndStringBytes", {"\tDW 1234,\"AB\""}, 0, {0xD2, 0x04, 0x41, 0x42}, 0, {}},
    {"DbTrailingCommaKeepsBytes", {"\tDB 1,", "\tRET"}, 1, {0x07}, 2, {{0, 1}}},
    {"DbErrorKeepsItsBytes", {"\tDB 1,"}, 0, {0x01, 0x01}, 0, {{0, 1}}},
    {"DbForwardReferenceIsAnError", {"\tDB LATER", "LATER:\tRET"}, 0, {0x00}, 0, {{0, 1}}},
    {"DbUnclosedString", {"\tDB \"abc"}, 0, {0x61, 0x62, 0x63}, 0, {{0, 1}}},
    {"DbOver16BitsIsAnError", {"\tDB 70000"}, 0, {0x70}, 0, {{0, 1}}},
    {"DwMissingItem", {"\tDW"}, 0, {0x01, 0x00}, 0, {{0, 1}}},
    {"EquSetsValueNotCounter", {"X\tEQU 5", "\tRET"}, 1, {0x07}, 0, {}},
    {"EquValue", {"X\tEQU 5"}, 0, {}, 5, {}},
    {"EquWithoutLabel", {"\tEQU 5"}, 0, {}, 5, {}},
    {"EquMissingOperand", {"X\tEQU"}, 0, {}, TBrenvikEngine::exprError, {{0, 6}}},
    {"OrgOctal", {"\tORG 100B", "\tRET"}, 1, {0x07}, 64, {}},
    {"OrgOutOfRange", {"\tORG 70000", "\tRET"}, 1, {0x07}, 70000, {{0, 1}}},
    {"OrgUndefined", {"\tORG LATER", "LATER:\tRET"}, 1, {0x07}, 0x10000, {{0, 1}}},
    {"BssTakesNoOperand", {"\tBSS 10"}, 0, {}, 0, {{0, 6}}},
    {"DataTakesNoOperand", {"\tDATA X"}, 0, {}, 0, {{0, 7}}},
    {"RetTakesNoOperand", {"\tRET 1"}, 0, {0x07}, 0, {{0, 6}}},
    {"TitleSkipsEverything", {"\tTITLE anything at all ;x"}, 0, {}, 0, {}},
    {"EndKeepsCounter", {"\tRET", "\tEND", "\tRET"}, 2, {0x07}, 1, {}},
    {"SemicolonComment", {"\tRLC ; rotate"}, 0, {0x02}, 0, {}},
    {"AsteriskCommentAfterStatement", {"\tRLC * rotate"}, 0, {0x02}, 0, {}},
    {"AsteriskAfterOperandMultiplies", {"\tLAI 5 * 2"}, 0, {0x06, 0x0A}, 0, {}},
    {"UnknownWord", {"\tFOO 1"}, 0, {}, 0, {{0, 2}}},
    {"MissingImmediateOperand", {"\tLAI"}, 0, {0x06, 0x01}, 0, {{0, 5}}},
    {"BadImmediateOperand", {"\tLAI )"}, 0, {0x06, 0x01}, 0, {{0, 5}}},
    {"OctalDigitNineIsAnError", {"\tLAI 19B"}, 0, {0x06, 0x01}, 0, {{0, 5}}},
    {"GarbageAfterOperand", {"\tLAI 1 2"}, 0, {0x06, 0x01}, 0, {{0, 8}}},
    {"NotALetterAfterLabel", {"X\t+1"}, 0, {}, 0, {{0, 3}}},
    {"NotALetterInColumnOne", {"1RET"}, 0, {}, 0, {{0, 1}}},
    {"BlanksOnly", {" \t "}, 0, {}, 0, {}},
    {"TwoFaultsCountOnce", {"\tFOO 1 2 3"}, 0, {}, 0, {{0, 2}}},
    {"MnemonicAnyCase", {"\tLmm"}, 0, {0xFF}, 0, {}},
    {"ModifierOfANumberEqualToACode", {"\tADI 65537'LO"}, 0, {0x04, 0x01}, 0, {}},
};

INSTANTIATE_TEST_SUITE_P(Lines, Statement, ::testing::ValuesIn(statementCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A character with no single-byte code spoils a line only where its code is needed.
struct WideCase {
    const char* name;
    std::string text;
    std::uint32_t wideColumn;
    ErrorColumns errors;
};

class WideCharacter : public ::testing::TestWithParam<WideCase> {};

TEST_P(WideCharacter, MarksTheLineFromColumnOneWhenUsedAsAValue) {
    const WideCase& c = GetParam();
    HeadlessTextArea text(std::vector<SourceLine>{{c.text, {{c.wideColumn, u'\u20AC'}}}});
    TBrenvikEngine engine(text);
    const Assembly& assembly = engine.run();
    ErrorColumns errors;
    for (const Diagnostic& d : assembly.diagnostics)
        errors.emplace(d.line, d.column);
    EXPECT_EQ(errors, c.errors);
    EXPECT_EQ(assembly.errorCount, static_cast<int>(c.errors.size()));
}

INSTANTIATE_TEST_SUITE_P(Lines, WideCharacter,
                         ::testing::Values(WideCase{"InDbString", "\tDB \"a?b\"", 7, {{0, 1}}},
                                           WideCase{"InCharacterConstant", "\tLAI \"?\"", 7, {{0, 1}}},
                                           WideCase{"InDivisionByZero", "\tLAI \"?\"/0", 7, {{0, 1}}},
                                           WideCase{"InComment", "\tRET ; ?", 8, {}},
                                           WideCase{"InTitle", "\tTITLE ?", 8, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Statement, FaultyLineStillDefinesItsLabel) {
    const Assembled a({"\tRET", "HERE\tFOO", "\tJMP HERE"});
    EXPECT_EQ(a.bytes(2), (Bytes{0x44, 0x01, 0x00}));
    EXPECT_EQ(a.errors(), (ErrorColumns{{1, 6}}));
}

TEST(Statement, AddressesFollowAFaultyOrg) {
    const Assembled a({"\tORG 70000", "\tRET", "\tRLC"});
    EXPECT_EQ(a.record(2).value, 70001u);
}

TEST(Statement, CommentsAreMarkedFromTheirColumn) {
    const Assembled a({"\tRLC ; rotate", "* a whole line", "X\tLAI 1 * 2 ;x", "\tRET"});
    EXPECT_EQ(a.record(0).comment, 6u);
    EXPECT_EQ(a.record(1).comment, 1u);
    EXPECT_EQ(a.record(2).comment, 13u);
    EXPECT_EQ(a.record(3).comment, 0u);
}

TEST(Statement, AFaultyLineShowsRedEvenWhereItsCommentBegins) {
    // The comment's blue wins where it comes after the fault, but a fault found at
    // the comment's own column keeps its red: the line counts, so it must show.
    const Assembled a({"\tORG 70000 ; far", "\tJMP ; no address", "\tLAI;"});
    EXPECT_EQ(a.errors(), (ErrorColumns{{0, 1}, {1, 5}, {2, 5}}));
    EXPECT_EQ(a.record(0).comment, 12u);
    EXPECT_EQ(a.record(1).comment, 6u);
    EXPECT_EQ(a.record(2).comment, 0u);
    EXPECT_EQ(a.assembly.errorCount, 3);
}

TEST(Statement, LabelsAreCaseInsensitiveAndRedefinedSilently) {
    const Assembled a({"Loop:\tRET", "LOOP:\tRET", "\tJMP loop"});
    EXPECT_EQ(a.bytes(2), (Bytes{0x44, 0x01, 0x00}));
    EXPECT_EQ(a.assembly.errorCount, 0);
}

TEST(Statement, LabelOnOrgAndEquLinesTakesTheirValue) {
    const Assembled a({"O\tORG 100", "E\tEQU 7", "\tLAI O", "\tLBI E"});
    EXPECT_EQ(a.bytes(2), (Bytes{0x06, 100}));
    EXPECT_EQ(a.bytes(3), (Bytes{0x0E, 7}));
}

TEST(Statement, EquRefersToItsOwnLabel) {
    const Assembled a({"\tORG 10", "X\tEQU X+1", "\tLAI X"});
    EXPECT_EQ(a.record(1).value, 11u);
    EXPECT_EQ(a.bytes(2), (Bytes{0x06, 11}));
}

} // namespace
