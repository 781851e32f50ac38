// Where symbols are used: every name in an operand or an EQU expression, once,
// found in the first pass or once forward references resolve.

#include "Assembled.h"
#include "SymbolTable.h"

#include <gtest/gtest.h>

namespace {

// "NAME:LINE.COLUMN" for every use, lines 1-based, sorted.
std::vector<std::string> usesOf(const Assembly& assembly) {
    std::vector<std::string> uses;
    for (const Assembly::SymbolUse& use : assembly.uses)
        uses.push_back(std::string(assembly.symbols.wordAt(use.symbol)) + ":" + std::to_string(use.line + 1) +
                       "." + std::to_string(use.column));
    std::sort(uses.begin(), uses.end());
    return uses;
}

TEST(SymbolUses, AreNotedWhereverANameStands) {
    const struct {
        std::vector<std::string> source;
        std::vector<std::string> uses;
    } cases[] = {
        {{"A:\tJMP A"}, {"A:1.8"}},
        {{"\tJMP B", "B:\tHLT"}, {"B:1.6"}},                             // forward
        {{"N\tEQU 4", "M\tEQU N*2+N"}, {"N:2.11", "N:2.7"}},             // EQU expressions
        {{"Y:\tDB 0", "X:\tDB X,Y,X'HI"}, {"X:2.11", "X:2.7", "Y:2.9"}}, // items, a modifier
        {{"A:\tLAI A+B", "B\tEQU 1"}, {"A:1.8", "B:1.10"}},              // evaluated again once B is known
        {{"\tLHLI FAR", "\tJMP FAR", "FAR:\tHLT"}, {"FAR:1.7", "FAR:2.6"}},
        {{"\tlai low ; LOW", "LOW\tEQU 1"}, {"LOW:1.6"}}, // any case; not in comments
        {{"\tJMP NOWHERE"}, {}},                          // undefined: no use
        {{"\tLAI \"A\"", "A\tEQU 1"}, {}},                // a character is no name
    };
    for (const auto& c : cases) {
        const Assembled run(c.source);
        EXPECT_EQ(usesOf(run.assembly), c.uses) << c.source.front();
    }
}

TEST(SymbolUses, ARedefinedLabelCountsItsUsesUnderItsName) {
    const Assembled run({"L:\tJMP L", "L:\tJMP L"});
    const std::vector<SymbolEntry> symbols = symbolEntries(run.assembly);
    ASSERT_EQ(symbols.size(), 1u);
    EXPECT_EQ(symbols[0].line, 1u); // the later definition wins
    EXPECT_EQ(symbols[0].useLines, (std::vector<std::uint32_t>{0, 1}));
}

TEST(SymbolUses, EvaluatingOutsideARunNotesNone) {
    Assembled run({"A:\tHLT"});
    EXPECT_EQ(run.engine.valueOf("A+1"), 1u);
    EXPECT_TRUE(run.assembly.uses.empty());
}

} // namespace
