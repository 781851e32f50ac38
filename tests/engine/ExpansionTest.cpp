// Conditions, macros and repetitions in the assembler's own syntax: what each
// brings in and where its faults are said. The bytes of every construct, and of
// included files, are compared with AS's by tests/golden/expansions.asm.

#include "Assembled.h"

#include <gtest/gtest.h>

namespace {

using Code = std::vector<std::pair<std::uint32_t, std::uint8_t>>;

struct BytesCase {
    std::vector<std::string> lines;
    Code code;
};

TEST(Expansion, BringsInWhatItsDirectivesSay) {
    const std::vector<BytesCase> cases{
        // The later definition of a macro holds from there on.
        {{"M\tMACRO", "\tDB 1", "\tENDM", "\tM", "M\tMACRO", "\tDB 2", "\tENDM", "\tM"}, {{0, 1}, {1, 2}}},
        // A comma in a string stays in its argument; a missing argument is nothing.
        {{"M\tMACRO A,B", "\tDB A B", "\tENDM", "\tM \"X,Y\""}, {{0, 'X'}, {1, ','}, {2, 'Y'}}},
        // A label ahead in the body is the expansion's own, not the text's of that name.
        {{"M\tMACRO", "\tJMP SKIP", "SKIP\tRET", "\tENDM", "\tM", "SKIP\tEQU 7"},
         {{0, 0104}, {1, 3}, {2, 0}, {3, 07}}},
        // A label of the invoking line is where its bytes begin.
        {{"\tORG 10", "HERE\tREPT 2", "\tDW HERE", "\tENDM"}, {{10, 10}, {11, 0}, {12, 10}, {13, 0}}},
        {{"\tREPT 0", "\tDB 1", "\tENDM", "\tDB 2"}, {{0, 2}}},
        // A macro defined in a branch not taken is no macro.
        {{"\tIF 0", "M\tMACRO", "\tDB 1", "\tENDM", "\tENDIF", "\tIFNDEF M", "\tDB 3", "\tENDIF"}, {{0, 3}}},
        {{"\tIF 0", "\tIF 1", "\tDB 1", "\tELSE", "\tDB 2", "\tENDIF", "\tELSEIF 1", "\tDB 3", "\tELSEIF 1",
          "\tDB 4", "\tENDIF"},
         {{0, 3}}},
    };
    for (const BytesCase& c : cases)
        EXPECT_EQ(Assembled(c.lines).code(), c.code) << c.lines[1];
}

struct FaultCase {
    std::vector<std::string> lines;
    DiagCode code;
    std::uint32_t line; // 0-based
    std::uint32_t column;
};

TEST(Expansion, FaultsAreSaidAtTheLineThatBringsThemIn) {
    const std::vector<FaultCase> cases{
        {{"\tELSE"}, DiagCode::unmatchedConditional, 0, 2},
        {{"\tIF 1", "\tELSE", "\tELSE", "\tENDIF"}, DiagCode::unmatchedConditional, 2, 2},
        {{"\tENDM"}, DiagCode::unmatchedEndm, 0, 2},
        {{"\tLAA", "\tIF 1"}, DiagCode::unclosedConditional, 1, 1},
        {{"M\tMACRO", "\tRET"}, DiagCode::unclosedMacro, 0, 3},
        {{"\tREPT 2"}, DiagCode::unclosedMacro, 0, 2},
        {{"\tMACRO", "\tENDM"}, DiagCode::operandCount, 0, 2},
        {{"M\tMACRO A,2", "\tENDM"}, DiagCode::operandCount, 0, 11},
        {{"\tIFDEF", "\tENDIF"}, DiagCode::operandCount, 0, 7},
        {{"\tIF LATER", "\tENDIF", "LATER\tEQU 1"}, DiagCode::noForwardReference, 0, 1},
        {{"\tREPT N", "\tENDM", "N\tEQU 1"}, DiagCode::noForwardReference, 0, 1},
        {{"\tINCLUDE lib.inc"}, DiagCode::operandCount, 0, 10},
        {{"\tINCLUDE \"lib.inc\""}, DiagCode::includeNotRead, 0, 10}, // a text that is no file yet
        {{"M\tMACRO", "\tM", "\tENDM", "\tM"}, DiagCode::tooDeep, 3, 2},
        {{"M\tMACRO V", "\tLAI V", "\tENDM", "\tLAA", "\tM NOSUCH"}, DiagCode::undefinedSymbol, 4, 2},
    };
    for (const FaultCase& c : cases) {
        const Assembled a(c.lines);
        ASSERT_EQ(a.codes(), std::vector{c.code}) << c.lines[0];
        EXPECT_EQ(a.assembly.diagnostics[0].line, c.line) << c.lines[0];
        EXPECT_EQ(a.assembly.diagnostics[0].column, c.column) << c.lines[0];
        EXPECT_EQ(a.assembly.errorCount, 1) << c.lines[0];
    }
}

TEST(Expansion, LinesNotAssembledHaveNoCodeAndTheRestTheirOwnAddresses) {
    const Assembled a({"M\tMACRO", "\tLAI 1", "\tENDM", "\tIF 0", "\tLAI 2", "\tENDIF", "\tM", "\tHLT"});
    for (const std::size_t line : {0, 1, 2, 3, 4, 5})
        EXPECT_EQ(a.record(line).size(), 0u) << line;
    EXPECT_EQ(a.record(6).kind, Assembly::Line::expansion);
    EXPECT_EQ(a.bytes(6), Bytes({006, 1}));
    EXPECT_EQ(a.record(7).value, 2u);
    ASSERT_EQ(a.assembly.expandedBy(6).size(), 1u);
    EXPECT_EQ(a.assembly.expandedBy(6)[0].text, "\tLAI 1");
    EXPECT_EQ(a.assembly.bytesAssembled, 3u);
}

TEST(Expansion, ASourceThatStopsUsingThemAssemblesAsAPlainOne) {
    HeadlessTextArea text({"\tREPT 2", "\tLAA", "\tENDM"});
    TBrenvikEngine engine(text);
    engine.run();
    const std::vector<std::string> plain{"X\tJMP Y", "X\tLAA", "\tFOO", "Y\tEQU 3"};
    text = HeadlessTextArea(plain);
    const Assembly& again = engine.run();
    const Assembled fresh(plain);
    EXPECT_EQ(again.lines.size(), fresh.assembly.lines.size());
    EXPECT_EQ(Assembled(plain).codes(), fresh.codes());
    ASSERT_EQ(again.diagnostics.size(), fresh.assembly.diagnostics.size());
    for (std::size_t i = 0; i < again.diagnostics.size(); ++i)
        EXPECT_EQ(messageOf(again.diagnostics[i].fault), messageOf(fresh.assembly.diagnostics[i].fault));
    EXPECT_EQ(again.uses.size(), fresh.assembly.uses.size());
    EXPECT_EQ(again.symbolLine("X"), 1u);
}

} // namespace
