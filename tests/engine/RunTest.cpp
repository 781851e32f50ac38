// Whole runs: records, totals and the bytes handed out.

#include "Assembly.h"

#include <gtest/gtest.h>

namespace {

using Code = std::vector<std::pair<std::uint32_t, std::uint8_t>>;

TEST(Run, EmptyTextGivesNothing) {
    const Assembly a(std::vector<std::string>{});
    EXPECT_TRUE(a.engine.GetLineRecords().empty());
    EXPECT_EQ(a.engine.BytesAssembled(), 0u);
    EXPECT_EQ(a.engine.GetErrorCount(), 0);
    EXPECT_TRUE(a.code().empty());
}

TEST(Run, LabelAndCommentLinesTakeTheCounter) {
    const Assembly a({"\tRET", "HERE", "; note", ""});
    for (std::size_t line = 1; line < 4; ++line) {
        EXPECT_EQ(a.record(line).kind, TBrenvikEngine::Line::noStatement);
        EXPECT_EQ(a.record(line).value, 1u);
        EXPECT_TRUE(a.record(line).code.empty());
    }
}

TEST(Run, BssLinesAdvanceButAreNeitherCountedNorHandedOut) {
    const Assembly a({"\tRET", "\tBSS", "\tDB 1,2,3", "\tLAI 1", "\tDATA", "\tRLC", "\tBSS", "\tCODE", "\tRAL"});
    EXPECT_EQ(a.record(2).code, (Bytes{1, 2, 3}));
    EXPECT_FALSE(a.record(3).emit);
    EXPECT_EQ(a.record(5).value, 6u);
    EXPECT_EQ(a.engine.BytesAssembled(), 3u);
    EXPECT_EQ(a.code(), (Code{{0, 0x07}, {6, 0x02}, {7, 0x12}}));
}

TEST(Run, LhliIsFourBytesWithoutAnOpcodeByte) {
    const Assembly a({"\tORG 10", "\tLHLI 258"});
    EXPECT_EQ(a.record(1).kind, TBrenvikEngine::Line::lhli);
    EXPECT_EQ(a.engine.BytesAssembled(), 4u);
    EXPECT_EQ(a.code(), (Code{{10, 0x2E}, {11, 0x01}, {12, 0x36}, {13, 0x02}}));
}

TEST(Run, OrgBackHandsOutBothLinesInSourceOrder) {
    const Assembly a({"\tORG 10", "\tRET", "\tORG 10", "\tRLC"});
    EXPECT_EQ(a.engine.BytesAssembled(), 2u);
    EXPECT_EQ(a.code(), (Code{{10, 0x07}, {10, 0x02}}));
}

TEST(Run, FaultyLinesKeepTheirBytes) {
    const Assembly a({"\tLAI 1 JUNK", "\tJMP NOWHERE"});
    EXPECT_EQ(a.engine.BytesAssembled(), 5u);
    EXPECT_EQ(a.code(), (Code{{0, 0x06}, {1, 0x01}, {2, 0x44}, {3, 0x00}, {4, 0x00}}));
}

TEST(Run, SecondRunRepeatsTheFirst) {
    HeadlessTextArea text({"\tJMP LATER", "X\tEQU LATER", "\tDB \"hi\",X", "LATER:\tRET", "\tFOO"});
    TBrenvikEngine engine(text);
    engine.run();
    const auto firstRecords = engine.GetLineRecords();
    const auto firstMarks = text.marks();
    text.clearMarks();
    engine.run();
    ASSERT_EQ(engine.GetLineRecords().size(), firstRecords.size());
    for (std::size_t i = 0; i < firstRecords.size(); ++i) {
        EXPECT_EQ(engine.GetLineRecords()[i].value, firstRecords[i].value);
        EXPECT_EQ(engine.GetLineRecords()[i].kind, firstRecords[i].kind);
        EXPECT_EQ(engine.GetLineRecords()[i].code, firstRecords[i].code);
    }
    EXPECT_EQ(text.marks(), firstMarks);
    EXPECT_EQ(engine.GetErrorCount(), 2);
}

TEST(Run, EveryRunStartsAfresh) {
    HeadlessTextArea first({"A\tRET"});
    TBrenvikEngine engine(first);
    engine.run();
    EXPECT_NE(engine.GetSymbolLine("A"), TBrenvikEngine::noLine);
    engine.prepare();
    EXPECT_EQ(engine.GetSymbolLine("A"), TBrenvikEngine::noLine);
    EXPECT_EQ(engine.GetErrorCount(), 0);
}

} // namespace
