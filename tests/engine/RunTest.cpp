// Whole runs: records, totals and the bytes handed out.

#include "Assembled.h"

#include <gtest/gtest.h>

namespace {

using Code = std::vector<std::pair<std::uint32_t, std::uint8_t>>;

TEST(Run, EmptyTextGivesNothing) {
    const Assembled a(std::vector<std::string>{});
    EXPECT_TRUE(a.assembly.lines.empty());
    EXPECT_EQ(a.assembly.bytesAssembled, 0u);
    EXPECT_EQ(a.assembly.errorCount, 0);
    EXPECT_TRUE(a.code().empty());
}

TEST(Run, LabelAndCommentLinesTakeTheCounter) {
    const Assembled a({"\tRET", "HERE", "; note", ""});
    for (std::size_t line = 1; line < 4; ++line) {
        EXPECT_EQ(a.record(line).kind, TBrenvikEngine::Line::noStatement);
        EXPECT_EQ(a.record(line).value, 1u);
        EXPECT_TRUE(a.record(line).code.empty());
    }
}

TEST(Run, BssLinesAdvanceButAreNeitherCountedNorHandedOut) {
    const Assembled a(
        {"\tRET", "\tBSS", "\tDB 1,2,3", "\tLAI 1", "\tDATA", "\tRLC", "\tBSS", "\tCODE", "\tRAL"});
    EXPECT_EQ(a.record(2).code, (Bytes{1, 2, 3}));
    EXPECT_FALSE(a.record(3).emits);
    EXPECT_EQ(a.record(5).value, 6u);
    EXPECT_EQ(a.assembly.bytesAssembled, 3u);
    EXPECT_EQ(a.code(), (Code{{0, 0x07}, {6, 0x02}, {7, 0x12}}));
}

TEST(Run, LhliIsFourBytesWithoutAnOpcodeByte) {
    const Assembled a({"\tORG 10", "\tLHLI 258"});
    EXPECT_EQ(a.record(1).kind, TBrenvikEngine::Line::lhli);
    EXPECT_EQ(a.assembly.bytesAssembled, 4u);
    EXPECT_EQ(a.code(), (Code{{10, 0x2E}, {11, 0x01}, {12, 0x36}, {13, 0x02}}));
}

TEST(Run, OrgBackHandsOutBothLinesInSourceOrder) {
    const Assembled a({"\tORG 10", "\tRET", "\tORG 10", "\tRLC"});
    EXPECT_EQ(a.assembly.bytesAssembled, 2u);
    EXPECT_EQ(a.code(), (Code{{10, 0x07}, {10, 0x02}}));
}

TEST(Run, FaultyLinesKeepTheirBytes) {
    const Assembled a({"\tLAI 1 JUNK", "\tJMP NOWHERE"});
    EXPECT_EQ(a.assembly.bytesAssembled, 5u);
    EXPECT_EQ(a.code(), (Code{{0, 0x06}, {1, 0x01}, {2, 0x44}, {3, 0x00}, {4, 0x00}}));
}

TEST(Run, SecondRunRepeatsTheFirst) {
    HeadlessTextArea text({"\tJMP LATER", "X\tEQU LATER", "\tDB \"hi\",X", "LATER:\tRET", "\tFOO"});
    TBrenvikEngine engine(text);
    const Assembly first = engine.run();
    const Assembly& second = engine.run();
    ASSERT_EQ(second.lines.size(), first.lines.size());
    for (std::size_t i = 0; i < first.lines.size(); ++i) {
        EXPECT_EQ(second.lines[i].value, first.lines[i].value);
        EXPECT_EQ(second.lines[i].kind, first.lines[i].kind);
        EXPECT_EQ(second.lines[i].code, first.lines[i].code);
        EXPECT_EQ(second.lines[i].comment, first.lines[i].comment);
    }
    ASSERT_EQ(second.diagnostics.size(), first.diagnostics.size());
    for (std::size_t i = 0; i < first.diagnostics.size(); ++i) {
        EXPECT_EQ(second.diagnostics[i].line, first.diagnostics[i].line);
        EXPECT_EQ(second.diagnostics[i].column, first.diagnostics[i].column);
        EXPECT_EQ(messageOf(second.diagnostics[i].fault), messageOf(first.diagnostics[i].fault));
    }
    EXPECT_EQ(second.errorCount, 2);
}

TEST(Run, EveryRunStartsAfresh) {
    HeadlessTextArea first({"A\tRET"});
    TBrenvikEngine engine(first);
    EXPECT_NE(engine.run().symbolLine("A"), TBrenvikEngine::noLine);
    engine.prepare();
    EXPECT_EQ(engine.GetAssembly().symbolLine("A"), TBrenvikEngine::noLine);
    EXPECT_EQ(engine.GetErrorCount(), 0);
}

} // namespace
