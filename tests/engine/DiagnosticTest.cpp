// Every fault and warning the assembler reports: the line, the column, the code
// and the words its message names; and the idioms that must stay silent.

#include "Assembled.h"
#include "SourceText.h"

#include <gtest/gtest.h>

namespace {

using enum DiagCode;

struct DiagnosticCase {
    const char* name;
    std::vector<std::string> lines;
    std::uint32_t line; // 0-based
    std::uint32_t column;
    DiagCode code;
    std::string argument;
    std::string detail;
};

void PrintTo(const DiagnosticCase& c, std::ostream* os) {
    *os << c.name;
}

class OneDiagnostic : public ::testing::TestWithParam<DiagnosticCase> {};

std::string messagesOf(const Assembly& assembly) {
    std::string all;
    for (const Diagnostic& d : assembly.diagnostics)
        all += std::to_string(d.line + 1) + ":" + std::to_string(d.column) + ": " + messageOf(d.fault) + "\n";
    return all;
}

TEST_P(OneDiagnostic, IsFoundWhereAndWhyItShouldBe) {
    const DiagnosticCase& c = GetParam();
    const Assembled a(c.lines);
    ASSERT_EQ(a.assembly.diagnostics.size(), 1u) << messagesOf(a.assembly);
    const Diagnostic& d = a.assembly.diagnostics.front();
    EXPECT_EQ(d.line, c.line);
    EXPECT_EQ(d.column, c.column);
    EXPECT_EQ(d.fault.code, c.code) << messageOf(d.fault);
    EXPECT_EQ(d.fault.argument, c.argument);
    EXPECT_EQ(d.fault.detail, c.detail);
    EXPECT_EQ(a.assembly.errorCount, isError(d) ? 1 : 0);
}

const std::string deeplyNested = "\tLAI " + std::string(257, '(') + "1" + std::string(257, ')');

const DiagnosticCase errorCases[] = {
    {"UnknownMnemonic", {"\tfoo 1"}, 0, 2, unknownMnemonic, "foo", ""},
    {"ExpectedMnemonic", {"X\t+1"}, 0, 3, expectedMnemonic, "+1", ""},
    {"NotALabel", {"1RET"}, 0, 1, notALabel, "1RET", ""},
    {"MissingOperand", {"\tLAI"}, 0, 5, missingOperand, "", ""},
    {"MissingOperandBeforeComment", {"\tLAI\t; x"}, 0, 5, missingOperand, "", ""},
    {"MissingOperandAfterOperator", {"\tLAI 1+"}, 0, 5, missingOperandAfter, "+", ""},
    {"MissingDbItem", {"\tDB 1,"}, 0, 1, missingOperand, "", ""},
    {"NotAnOperand", {"\tLAI $"}, 0, 5, notAnOperand, "$", ""},
    {"UndefinedSymbol", {"\tJMP NOWHERE"}, 0, 5, undefinedSymbol, "NOWHERE", ""},
    {"UndefinedSymbolInDb", {"\tDB NOWHERE"}, 0, 1, undefinedSymbol, "NOWHERE", ""},
    {"UndefinedInParentheses", {"\tJMP (NOWHERE)"}, 0, 5, undefinedSymbol, "NOWHERE", ""},
    {"NoForwardReferenceInDb", {"\tDB LATER", "LATER\tRET"}, 0, 1, noForwardReference, "LATER", "DB"},
    {"NoForwardReferenceInDw", {"\tDW LATER", "LATER\tRET"}, 0, 1, noForwardReference, "LATER", "DW"},
    {"NoForwardReferenceInOrg", {"\tORG LATER", "LATER\tEQU 1"}, 0, 1, noForwardReference, "LATER", "ORG"},
    {"NoForwardReferenceInRst", {"\tRST LATER", "LATER\tEQU 1"}, 0, 1, noForwardReference, "LATER", "RST"},
    {"NoForwardReferenceInInp", {"\tINP LATER", "LATER\tEQU 1"}, 0, 1, noForwardReference, "LATER", "INP"},
    {"NoForwardReferenceInOut", {"\tOUT LATER", "LATER\tEQU 8"}, 0, 1, noForwardReference, "LATER", "OUT"},
    {"ForwardInParentheses", {"\tJMP (LATER)", "LATER\tRET"}, 0, 5, forwardInParentheses, "LATER", ""},
    {"SymbolResolvedLater", {"\tJMP E", "E\tEQU LATER", "LATER\tRET"}, 0, 5, symbolResolvedLater, "E", ""},
    {"OrgBeyondSixteenBits", {"\tORG 70000"}, 0, 1, valueTooLarge, "70000", ""},
    {"DbItemBeyondSixteenBits", {"\tDB 200001b"}, 0, 1, valueTooLarge, "200001B", ""},
    {"LiteralEqualToTheUndefinedCode", {"\tLAI 65536"}, 0, 5, valueTooLarge, "65536", ""},
    {"LiteralEqualToTheErrorCode", {"\tADI 65537"}, 0, 5, valueTooLarge, "65537", ""},
    {"SymbolBeyondSixteenBits", {"X\tEQU 70000", "\tDB X"}, 1, 1, symbolTooLarge, "X", ""},
    {"DivisionByZero", {"\tLAI 1/0"}, 0, 5, divisionByZero, "", ""},
    {"RemainderByZero", {"\tLAI 7%(1-1)"}, 0, 5, remainderByZero, "", ""},
    {"MissingParenthesis", {"\tLAI (1"}, 0, 5, missingParenthesis, "", ""},
    {"UnknownModifier", {"X\tEQU 5", "\tLAI X'H"}, 1, 5, unknownModifier, "H", ""},
    {"MissingModifier", {"\tLAI 5'1"}, 0, 5, missingModifier, "", ""},
    {"OctalDigit", {"\tLAI 18B"}, 0, 5, octalDigit, "18B", "8"},
    {"CharacterConstantOfTwo", {"\tLAI \"AB\""}, 0, 5, badCharacterConstant, "", ""},
    {"CharacterConstantUnclosed", {"\tLAI \"A"}, 0, 5, badCharacterConstant, "", ""},
    {"TooDeep", {deeplyNested}, 0, 5, DiagCode::tooDeep, "256", ""},
    {"UnexpectedText", {"\tLAI 1 junk here"}, 0, 8, unexpectedText, "junk", ""},
    {"NoOperandTaken", {"\tRET 1"}, 0, 6, noOperandTaken, "RET", ""},
    {"DirectiveTakesNoOperand", {"\tBSS 10"}, 0, 6, noOperandTaken, "BSS", ""},
    {"UnclosedString", {"\tDB \"abc"}, 0, 1, unclosedString, "", ""},
    {"InstructionInColumnOne", {"JMP NOWHERE"}, 0, 1, mnemonicAsLabel, "JMP", ""},
    {"InstructionInColumnOneBeforeANumber", {"LAI 129B"}, 0, 1, mnemonicAsLabel, "LAI", ""},
    {"DirectiveInColumnOne", {"org 100 ; start"}, 0, 1, mnemonicAsLabel, "org", ""},
};

INSTANTIATE_TEST_SUITE_P(Errors, OneDiagnostic, ::testing::ValuesIn(errorCases),
                         [](const auto& info) { return std::string(info.param.name); });

// clang-format off
const DiagnosticCase warningCases[] = {
    {"LabelRedefined", {"Loop\tRET", "LOOP:\tRET"}, 1, 1, labelRedefined, "LOOP", "1"},
    {"LabelLikeStatement", {"HLT"}, 0, 1, labelLikeStatement, "HLT", ""},
    {"LabelLikeDirectiveBeforeComment", {"END\t; done"}, 0, 1, labelLikeStatement, "END", ""},
    {"LabelLikeInstructionBeforeAStatement", {"LAA\tLAB"}, 0, 1, labelLikeStatement, "LAA", ""},
    {"LabelLikeDirectiveBeforeAStatement", {"DB RET"}, 0, 1, labelLikeStatement, "DB", ""},
    {"ImmediateAbove255", {"\tLAI 300"}, 0, 6, immediateRange, "300", "054B"},
    {"ImmediateBelowMinus128", {"\tCPI -129"}, 0, 6, immediateRange, "-129", "177B"},
    {"ImmediateExpression", {"X\tEQU 100", "\tLBI X*3"}, 1, 6, immediateRange, "'X*3'", "054B"},
    {"ImmediateBeyondSixteenBits", {"\tLAI 70000"}, 0, 6, immediateRange, "70000", "160B"},
    {"ImmediateResolvedLater", {"\tLAI LATER", "\tORG 400", "LATER\tRET"}, 0, 6, immediateRange, "'LATER'", "220B"},
    {"AddressBeyond14Bits", {"\tJMP 40100B"}, 0, 6, addressRange, "40100B", "000100B"},
    {"RestartAbove7", {"\tRST 9"}, 0, 6, restartNumber, "9", "1"},
    {"InputPortAbove7", {"\tINP 10"}, 0, 6, inputPort, "10", "2"},
    {"OutputPortBelow8", {"\tOUT 3"}, 0, 6, outputPort, "3", "11"},
    {"OutputPortAbove31", {"\tOUT 40"}, 0, 6, outputPort, "40", "8"},
    {"IncrementMemory", {"\tINM"}, 0, 2, undefinedInstruction, "INM", "070"},
    {"DecrementMemory", {"\tdcm"}, 0, 2, undefinedInstruction, "DCM", "071"},
    {"LoadMemoryFromMemory", {"\tLMM"}, 0, 2, haltingLoad, "", ""},
    {"BytesBeyond14Bits", {"\tORG 37777B", "\tLAI 1"}, 1, 2, beyondAddressSpace, "040000B", ""},
    {"BytesOverEarlierBytes", {"\tORG 10", "A\tLAI 1", "\tORG 11", "\tRET"}, 3, 2, overlap, "2", ""},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Warnings, OneDiagnostic, ::testing::ValuesIn(warningCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Ordinary code the warnings must not touch.
class Silent : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(Silent, AssemblesWithoutAnyDiagnostic) {
    const Assembled a(GetParam());
    EXPECT_EQ(messagesOf(a.assembly), "");
}

INSTANTIATE_TEST_SUITE_P(
    Idioms, Silent,
    ::testing::Values(std::vector<std::string>{"\tLAI -1", "\tLAI 377B", "\tCPI -128", "\tSUI 255"},
                      std::vector<std::string>{"\tLAI \"A\"", "X\tEQU 60000", "\tLAI X'LO", "\tLBI X'HI"},
                      std::vector<std::string>{"\tLHLI 177777B", "\tJMP 37777B", "\tCAL LATER", "LATER\tRET"},
                      std::vector<std::string>{"\tINP 0", "\tINP 7", "\tOUT 8", "\tOUT 31", "\tRST 0",
                                               "\tRST 7"},
                      std::vector<std::string>{"\tORG 37776B", "\tRLC", "\tRET", "\tORG 0", "\tHLT"},
                      std::vector<std::string>{"RET:", "LOOP:\tJMP LOOP", "DONE\tHLT", "\tHLT3", "\tLMA"},
                      std::vector<std::string>{"\tBSS", "\tDB 1,2", "\tORG 0", "\tCODE", "\tDB 3,4"}));

// A report names the first character of the faulty text, even where the red
// begins on the blank before it or at column 1.
TEST(Errors, AreReportedAtTheFaultyText) {
    const std::pair<std::string, std::uint32_t> cases[] = {
        {"\tJMP NOWHERE", 6}, {"\tDB NOWHERE", 5},  {"\tJMP (NOWHERE)", 7}, {"\tORG 70000", 6},
        {"\tLAI 1/0", 7},     {"\tDB \"open", 5},   {"\tLAI 5'Q", 8},       {"\tJMP LATER+)", 12},
        {"\tLAI", 5},         {"\tLAI\t; none", 5}, {"\tDB 1,\t; x", 7},    {"\tLAI 1+ ; x", 8},
    };
    for (const auto& [line, column] : cases) {
        const Assembled a({line, "LATER\tRET"});
        ASSERT_TRUE(isError(a.assembly.diagnostics.at(0))) << line << "\n" << messagesOf(a.assembly);
        EXPECT_EQ(a.assembly.diagnostics[0].textColumn, column) << line;
    }
}

TEST(Errors, OnlyTheFirstLinePastTheLast16BitAddressIsInError) {
    const Assembled a({"\tORG 177776B", "\tDW 1", "\tLAI 1", "\tLAI 2", "\tORG 0", "\tRET", "\tORG 200000B",
                       "\tRET", "\tORG 177777B", "X\tLAI 3"});
    EXPECT_EQ(a.errors(), (ErrorColumns{{2, 2}, {6, 1}, {9, 3}}));
    EXPECT_EQ(a.assembly.errorCount, 3);
    const Diagnostic* past = a.assembly.errorOf(2);
    ASSERT_NE(past, nullptr);
    EXPECT_EQ(messageOf(past->fault), "location 200000B is past 177777B, the last 16-bit address");
    EXPECT_EQ(a.assembly.errorOf(9)->fault.argument, "200000B"); // its second byte is past
}

TEST(Errors, ASymbolWhoseDefinitionFailedFailsEveryUse) {
    const Assembled a({"G\tEQU 1/0", "\tLAI G", "F\tEQU NOWHERE", "\tJMP F"});
    EXPECT_EQ(a.codes(), (std::vector<DiagCode>{divisionByZero, symbolWithoutValue, undefinedSymbol,
                                                symbolWithoutValue}));
    EXPECT_EQ(a.assembly.diagnostics[1].fault.argument, "G");
    EXPECT_EQ(a.assembly.diagnostics[3].fault.argument, "F");
    EXPECT_EQ(a.errors(), (ErrorColumns{{0, 6}, {1, 5}, {2, 6}, {3, 5}}));
}

TEST(Warnings, AStretchOfLinesForOneCauseIsReportedOnce) {
    const Assembled overlapping(
        {"\tORG 0", "\tLAI 1", "\tLAI 2", "; between", "\tORG 0", "\tRET", "", "\tRET", "\tRET"});
    EXPECT_EQ(overlapping.codes(), std::vector<DiagCode>{overlap});
    EXPECT_EQ(overlapping.assembly.diagnostics[0].line, 5u);
    EXPECT_EQ(overlapping.assembly.diagnostics[0].fault.argument, "2");

    const Assembled beyond(
        {"\tORG 37777B", "\tRET", "\tRET", "\tRET", "\tORG 0", "\tRET", "\tORG 40010B", "\tRET"});
    ASSERT_EQ(beyond.codes(), (std::vector<DiagCode>{beyondAddressSpace, beyondAddressSpace}));
    EXPECT_EQ(beyond.assembly.diagnostics[0].line, 2u);
    EXPECT_EQ(beyond.assembly.diagnostics[1].line, 7u);
}

TEST(Warnings, CountAsNoErrorAndChangeNoByte) {
    const Assembled a({"\tLAI 300", "\tOUT 3", "\tRST 9", "\tJMP 40100B"});
    EXPECT_EQ(a.assembly.errorCount, 0);
    EXPECT_EQ(a.code(), (std::vector<std::pair<std::uint32_t, std::uint8_t>>{
                            {0, 0x06}, {1, 0x2C}, {2, 0x57}, {3, 0x0D}, {4, 0x44}, {5, 0x40}, {6, 0x40}}));
}

TEST(Diagnostics, AreInLineAndColumnOrderWithTheErrorOfEachLineOnce) {
    const Assembled a({"\tJMP LATER JUNK", "\tLAI 300 1", "LATER\tRET", "\tFOO"});
    ASSERT_EQ(a.codes(),
              (std::vector<DiagCode>{unexpectedText, immediateRange, unexpectedText, unknownMnemonic}));
    EXPECT_EQ(a.assembly.diagnostics[1].column, 6u);
    EXPECT_EQ(a.assembly.diagnostics[2].column, 10u);
    EXPECT_EQ(a.assembly.errorOf(1), &a.assembly.diagnostics[2]);
    EXPECT_EQ(a.assembly.errorOf(2), nullptr);
}

TEST(Diagnostics, ACharacterWithoutASingleByteCodeIsNamed) {
    const SourceText text(u"\tDB \"\u20AC\"\n\tLAI \"\U0001F600\"");
    TBrenvikEngine engine(text);
    const Assembly& assembly = engine.run();
    ASSERT_EQ(assembly.diagnostics.size(), 2u);
    EXPECT_EQ(messageOf(assembly.diagnostics[0].fault), "character '\xE2\x82\xAC' has no 8-bit code");
    EXPECT_EQ(assembly.diagnostics[1].fault.argument, "\xF0\x9F\x98\x80");
    EXPECT_EQ(assembly.diagnostics[1].column, 1u);
}

TEST(Messages, EveryCodeHasAShortMessageAndAnExplanation) {
    for (int code = static_cast<int>(unknownMnemonic); code <= static_cast<int>(overlap); ++code) {
        const Fault fault{static_cast<DiagCode>(code), "NAME", "7"};
        const std::string message = messageOf(fault);
        const std::string_view explanation = explanationOf(fault.code);
        EXPECT_FALSE(message.empty()) << code;
        EXPECT_NE(message.back(), '.') << message;
        EXPECT_EQ(message.find('%'), std::string::npos) << message;
        EXPECT_FALSE(explanation.empty()) << message;
        EXPECT_FALSE(nameOf(fault.code).empty()) << message;
        EXPECT_EQ(explanation.back(), '.') << explanation;
    }
}

TEST(Messages, NameTheirWordsAndCutLongOnes) {
    EXPECT_EQ(messageOf({noForwardReference, "LATER", "DB"}),
              "'LATER' is used before it is defined; DB takes no forward references");
    EXPECT_EQ(messageOf({undefinedSymbol, std::string(100, 'L')}),
              "undefined symbol '" + std::string(maxQuotedLength, 'L') + "...'");
}

} // namespace
