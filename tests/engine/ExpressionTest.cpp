// The evaluator on its own: values, failure codes, and where scanning stops.

#include "Assembled.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t undefined = TBrenvikEngine::exprUndefined;
constexpr std::uint32_t error = TBrenvikEngine::exprError;

struct ExprCase {
    std::string text; // as the assembler hands it over: upper case
    std::uint32_t value;
    std::uint32_t stop; // position of the first character not consumed
};

void PrintTo(const ExprCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

// Symbols: X = 0x1234; F is an EQU whose operand was never defined; G one in error.
class Expression : public ::testing::TestWithParam<ExprCase> {
  protected:
    Assembled symbols{{"X\tEQU 4660", "F\tEQU NOWHERE", "G\tEQU 1/0"}};
};

TEST_P(Expression, EvaluatesToItsValueAndStopsWhereItShould) {
    const ExprCase& c = GetParam();
    std::uint32_t pos = 1;
    EXPECT_EQ(symbols.engine.expr(c.text, pos, static_cast<std::uint32_t>(c.text.size())), c.value);
    EXPECT_EQ(pos, c.stop);
}

const ExprCase expressionCases[] = {
    {"", error, 1},
    {"   ", error, 4},
    {"1+", error, 3},
    {"10-2-3", 11, 7}, // operators group from the right: 10-(2-3)
    {"2*3+4", 14, 6},
    {"(10-2)-3", 5, 9},
    {"8/4/2", 4, 6},
    {"100-10+1", 89, 9},
    {"-1+2", 0xFFFD, 5},
    {"1--1", 2, 5},
    {"!0", 0xFFFF, 3},
    {"!1+1", 0xFFFD, 5},
    {"2*-3", 0xFFFA, 5},
    {"6%4", 2, 4},
    {"12&10", 8, 6},
    {"12|3", 15, 5},
    {"12~10", 6, 6},
    {"255*257", 0xFFFF, 8},
    {"256*256", 0, 8},
    {" 1 + 2 ", 3, 8},
    {"377B", 255, 5},
    {"19B", error, 4},
    {"12H", 12, 3},
    {"$", error, 1},
    {"*", error, 1},
    {"\"A\"", 65, 4},
    {"\"\"\"", 34, 4},
    {"\" \"", 32, 4},
    {"\"AB\"", error, 1},
    {"\"A", error, 1},
    {"X", 0x1234, 2},
    {"X'HI", 0x12, 5},
    {"X'HIGH", 0x12, 7},
    {"X'LO", 0x34, 5},
    {"X'LOW", 0x34, 6},
    {"X'H", error, 4},
    {"X'HIGHER", error, 9},
    {"X'1", error, 3},
    {"X'", 0x1234, 2},
    {"X 'HI", 0x1234, 3},
    {"X'HI'LO", 0x12, 5},
    {"X'HI+1", 0x13, 7},
    {"-X'LO", 0xFFCC, 6},
    {"(5)'LO", 5, 4},
    {"\"A\"'LO", 65, 4},
    {"UNDEF+1", undefined, 1},
    {"1+UNDEF", undefined, 3},
    {"-UNDEF", undefined, 2},
    {"(UNDEF)", error, 2},
    {"(1+UNDEF)", error, 4},
    {"(1", error, 3},
    {"7/0", error, 4},
    {"7%0", error, 4},
    {"7/(1-1)", error, 8},
    {"5 * X", (5 * 0x1234) & 0xFFFF, 6},
    {"65536", undefined, 6},
    {"65537", error, 6},
    {"65537'LO", 1, 9}, // a number that equals a failure code is a number all the same
    {"65537'HI", 0x100, 9},
    {"200001B'HI", 0x100, 11},
    {"65536'LO", 0, 9},
    {"70000", 70000, 6},
    {"70000'LO", 0x70, 9},
    {"70000+1", 70000, 6},
    {"(70000)", 70000, 8},
    {"4294967296", 0, 11},
    {"F", undefined, 2},
    {"F'HI", undefined, 5}, // a failed symbol stays failed under a modifier
    {"F'LO+1", undefined, 5},
    {"G'LO", error, 5},
    {"1+F", undefined, 4},
};

INSTANTIATE_TEST_SUITE_P(Operands, Expression, ::testing::ValuesIn(expressionCases));

std::string repeated(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(ExpressionDepth, NestingIsBoundedAt256Levels) {
    const Assembled a(std::vector<std::string>{});
    const auto eval = [&](const std::string& text) {
        std::uint32_t pos = 1;
        return a.engine.expr(text, pos, static_cast<std::uint32_t>(text.size()));
    };
    EXPECT_EQ(eval(repeated("1+", 256) + "1"), 257u);
    EXPECT_EQ(eval(repeated("1+", 257) + "1"), error);
    EXPECT_EQ(eval(repeated("(", 256) + "1" + repeated(")", 256)), 1u);
    EXPECT_EQ(eval(repeated("(", 257) + "1" + repeated(")", 257)), error);
    EXPECT_EQ(eval(repeated("-", 256) + "1"), 1u);
    EXPECT_EQ(eval(repeated("!", 257) + "1"), error);
}

TEST(ExpressionDepth, MillionCharacterLinesAreMarkedNotFatal) {
    const Assembled a({"\tLAI " + repeated("1+", 500000) + "1", "\tLAI " + repeated("(", 1000000), "\tRET"});
    EXPECT_EQ(a.errors(), (ErrorColumns{{0, 5}, {1, 5}}));
    EXPECT_EQ(a.bytes(2), Bytes{0x07});
}

} // namespace
