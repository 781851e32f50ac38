// The instruction table against the 8008's octal encoding.

#include "Assembled.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using LineCode = TBrenvikEngine::Line::LineCode;

TEST(OpcodeTable, HoldsEveryWordOnceAfterSeveralInstances) {
    HeadlessTextArea text;
    const TBrenvikEngine first(text), second(text);
    EXPECT_EQ(TBrenvikEngine::opcodes.size(), 205u);
}

TEST(OpcodeTable, NoTwoInstructionsShareAnOpcodeExceptTheSecondHalt) {
    HeadlessTextArea text;
    const TBrenvikEngine engine(text);
    std::map<int, std::set<std::string>> wordsByOpcode;
    TBrenvikEngine::opcodes.forEach([&](std::string_view word, LineCode code) {
        if (code >= 0)
            wordsByOpcode[code & 0xFF].insert(std::string(word));
    });
    for (const auto& [opcode, words] : wordsByOpcode)
        if (opcode == 0xFF)
            EXPECT_EQ(words, (std::set<std::string>{"HLT3", "LMM"}));
        else
            EXPECT_EQ(words.size(), 1u) << "opcode " << opcode << " has " << *words.begin() << " and more";
    // 195 instruction words, of which two share 377.
    EXPECT_EQ(wordsByOpcode.size(), 194u);
}

struct Encoding {
    const char* word;
    int octal; // opcode in octal, written as decimal digits
    int operandBytes;
};

int fromOctalDigits(int digits) {
    return (digits / 100) * 64 + (digits / 10 % 10) * 8 + digits % 10;
}

class OctalEncoding : public ::testing::TestWithParam<Encoding> {};

TEST_P(OctalEncoding, MatchesTheProcessorManual) {
    HeadlessTextArea text;
    const TBrenvikEngine engine(text);
    const Encoding& e = GetParam();
    const LineCode* found = TBrenvikEngine::opcodes.find(e.word);
    ASSERT_NE(found, nullptr) << e.word;
    EXPECT_EQ(*found & 0xFF, fromOctalDigits(e.octal)) << e.word;
    EXPECT_EQ(*found / 256, e.operandBytes) << e.word;
}

INSTANTIATE_TEST_SUITE_P(
    Words, OctalEncoding,
    ::testing::Values(
        Encoding{"LAB", 301, 0}, Encoding{"LMA", 370, 0}, Encoding{"LMM", 377, 0}, Encoding{"LHI", 56, 1},
        Encoding{"LMI", 76, 1}, Encoding{"INB", 10, 0}, Encoding{"INM", 70, 0}, Encoding{"DCB", 11, 0},
        Encoding{"DCM", 71, 0}, Encoding{"ADA", 200, 0}, Encoding{"SUB", 221, 0}, Encoding{"NDL", 246, 0},
        Encoding{"CPM", 277, 0}, Encoding{"ADI", 4, 1}, Encoding{"CPI", 74, 1}, Encoding{"RLC", 2, 0},
        Encoding{"RAR", 32, 0}, Encoding{"JMP", 104, 2}, Encoding{"JFC", 100, 2}, Encoding{"JTP", 170, 2},
        Encoding{"CAL", 106, 2}, Encoding{"CTP", 172, 2}, Encoding{"RET", 7, 0}, Encoding{"RTZ", 53, 0},
        Encoding{"RFC", 3, 0}, Encoding{"HLT", 0, 0}, Encoding{"HLT2", 1, 0}, Encoding{"HLT3", 377, 0}),
    [](const auto& info) { return std::string(info.param.word); });

TEST(OpcodeTable, DirectivesAndWordsThatAreNotInstructions) {
    HeadlessTextArea text;
    const TBrenvikEngine engine(text);
    const auto& table = TBrenvikEngine::opcodes;
    EXPECT_EQ(*table.find("CODE"), *table.find("DATA"));
    EXPECT_EQ(*table.find("CODE"), TBrenvikEngine::Line::codeMode);
    for (const char* word : {"INA", "DCA", "HLT1", "LXA", "JMPX", "ADX", "IN", ""})
        EXPECT_FALSE(table.contains(word)) << word;
}

TEST(OpcodeTable, WordsAreFoundInAnyCase) {
    const Assembled a({"\tlmm", "\tLMM", "\tLmm", "\tina"});
    EXPECT_EQ(a.bytes(0), Bytes{0xFF});
    EXPECT_EQ(a.bytes(1), Bytes{0xFF});
    EXPECT_EQ(a.bytes(2), Bytes{0xFF});
    EXPECT_EQ(a.errors(), (ErrorColumns{{3, 2}}));
}

} // namespace
