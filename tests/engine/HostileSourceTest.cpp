// Sources far beyond any real program, and sources that are no program at all:
// each is assembled to the end, keeps every invariant of a run and counts the
// errors it should.

#include "Assembled.h"
#include "ProgramGenerator.h"
#include "RunChecks.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

constexpr std::size_t tenMegabytes = 10 * 1024 * 1024;

std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

std::string nestedParentheses(std::size_t depth) {
    return "\tLAI\t" + std::string(depth, '(') + "1" + std::string(depth, ')');
}

// Forty macros, each invoking the one before twice (2^40 lines in all), the
// first holding `innermost`; then the last invoked.
std::string macrosDoublingFortyTimes(const std::string& innermost) {
    std::string text = "M0\tMACRO\n" + innermost + "\n\tENDM\n";
    for (int i = 1; i <= 40; ++i)
        text += "M" + std::to_string(i) + "\tMACRO\n\tM" + std::to_string(i - 1) + "\n\tM" +
                std::to_string(i - 1) + "\n\tENDM\n";
    return text + "\tM40\n";
}

std::string millionLineProgram() {
    std::string text;
    for (const std::string& line : generateProgram(1000000))
        (text += line) += '\n';
    return text;
}

std::string randomBytes(std::size_t count) {
    std::mt19937 random(8008);
    std::string bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

struct HostileCase {
    const char* name;
    std::function<std::string()> source;
    int errors;         // -1: any number
    std::int64_t bytes; // -1: any number
};

class HostileSource : public testing::TestWithParam<HostileCase> {};

TEST_P(HostileSource, AssemblesToTheEndKeepingEveryInvariant) {
    const HostileCase& c = GetParam();
    const CheckedRun run = checkedRun(c.source());
    EXPECT_EQ(run.problems, std::vector<std::string>{});
    if (c.errors >= 0) {
        EXPECT_EQ(run.errors, c.errors);
    }
    if (c.bytes >= 0) {
        EXPECT_EQ(run.bytesAssembled, c.bytes);
    }
}

const std::string label(100000, 'L');
constexpr auto depthLimit = TBrenvikEngine::maxExprDepth;

INSTANTIATE_TEST_SUITE_P(
    Sources, HostileSource,
    testing::Values(
        HostileCase{"MillionLines", millionLineProgram, 0, -1},
        HostileCase{"TenMegabyteComment", [] { return "\tRET\t;" + std::string(tenMegabytes, 'c'); }, 0, 1},
        // Megabytes of DB pass the last 16-bit address: in error, yet assembled to the end.
        HostileCase{"TenMegabyteDb", [] { return "\tDB\t" + repeated("7,", tenMegabytes / 2) + "7"; }, 1,
                    tenMegabytes / 2 + 1},
        HostileCase{"TenMegabyteString", [] { return "\tDB\t\"" + std::string(tenMegabytes, 's') + "\""; }, 1,
                    tenMegabytes},
        HostileCase{"TenMegabyteLabel", [] { return std::string(tenMegabytes, 'A') + "\tRET"; }, 0, 1},
        HostileCase{"TenMegabyteOperatorChain",
                    [] { return "\tLAI\t" + repeated("1+", tenMegabytes / 2) + "1"; }, 1, 2},
        HostileCase{"TenMegabyteUnaryChain", [] { return "\tLAI\t" + std::string(tenMegabytes, '-') + "1"; },
                    1, 2},
        HostileCase{"TenMegabyteOfOpenParentheses", [] { return "\tLAI\t" + std::string(tenMegabytes, '('); },
                    1, 2},
        HostileCase{"ParenthesesAtTheDepthLimit", [] { return nestedParentheses(depthLimit); }, 0, 2},
        HostileCase{"ParenthesesOneBeyondTheLimit", [] { return nestedParentheses(depthLimit + 1); }, 1, 2},
        HostileCase{"HundredThousandParentheses", [] { return nestedParentheses(100000); }, 1, 2},
        HostileCase{"HundredThousandLetterLabel",
                    [] { return label + ":\tRET\n\tJMP\t" + label + "\n\tLHLI\t" + label + "'HI"; }, 0,
                    1 + 3 + 4},
        HostileCase{"HundredThousandLetterForwardReference",
                    [] { return "\tJMP\t" + label + "\n" + label + "\tEQU\t5"; }, 0, 3},
        HostileCase{"OnlyNulBytes", [] { return std::string(100000, '\0'); }, 1, 0},
        HostileCase{"RandomBinary", [] { return randomBytes(4 * 1024 * 1024); }, -1, -1},
        // Expansions that multiply: stopped at their bounds, each said once.
        HostileCase{"MacrosDoublingFortyTimes", [] { return macrosDoublingFortyTimes("\tDB 1"); }, 1, -1},
        HostileCase{"RepetitionsWithinRepetitions",
                    [] { return "\tREPT 16384\n\tREPT 16384\n\tDB 1\n\tENDM\n\tENDM"; }, 1, -1},
        HostileCase{"MacroInvokingItself", [] { return "SELF\tMACRO\n\tRET\n\tSELF\n\tENDM\n\tSELF"; }, 1,
                    100},
        HostileCase{"ConditionsWithinConditions",
                    [] { return repeated("\tIF 1\n", 100000) + "\tRET\n" + repeated("\tENDIF\n", 100000); },
                    0, 1},
        // The same in AS's syntax, and what only it has.
        HostileCase{"AsTenMegabyteOperatorChain",
                    [] { return "\tcpu 8008\n\tdb\t" + repeated("1+", tenMegabytes / 2) + "1"; }, 1, 0},
        HostileCase{"AsTenMegabyteUnaryChain",
                    [] { return "\tcpu 8008\n\tdb\t" + std::string(tenMegabytes, '-') + "1"; }, 1, 0},
        HostileCase{"AsTenMegabyteOfOpenParentheses",
                    [] { return "\tcpu 8008\n\tdb\t" + std::string(tenMegabytes, '('); }, 1, 0},
        HostileCase{"AsTenMegabyteString",
                    [] { return "\tcpu 8008\n\tdb\t\"" + std::string(tenMegabytes, 's') + "\""; }, 1, -1},
        HostileCase{"AsRepetitionBeyondTheAddressSpace",
                    [] { return "\tcpu 8008\n\tdb 16384 dup (16384 dup (16384 dup 1))"; }, 1, -1},
        HostileCase{"AsMacrosDoublingFortyTimes",
                    [] { return "\tcpu 8008\n" + macrosDoublingFortyTimes("x\tset 1"); }, 1, 0},
        HostileCase{"AsRepetitionsWithinRepetitions",
                    [] { return "\tcpu 8008\n\trept 16384\n\trept 16384\n\tdb 1\n\tendm\n\tendm"; }, 1, -1},
        HostileCase{"AsFunctionCallingItself", [] { return "\tcpu 8008\nf\tfunction x,f(x)\n\tdb f(1)"; }, 1,
                    0},
        HostileCase{"AsRandomBinary", [] { return "\tcpu 8008new\n" + randomBytes(4 * 1024 * 1024); }, -1,
                    -1}),
    [](const testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

TEST(HostileSource, ALongLabelIsFoundByItsWholeName) {
    const Assembled a({label + ":\tRET", label + "X:\tRET", "\tJMP\t" + label + "X"});
    EXPECT_EQ(a.bytes(2), (Bytes{0x44, 0x01, 0x00}));
}

} // namespace
