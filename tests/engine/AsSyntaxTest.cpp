// Sources in the syntax of the Macroassembler AS: which texts are read so, the
// faults AS finds too (each line below is one that AS rejects), and what the
// editor reads of such an assembly. The bytes of every construct are compared
// with AS's own output by the golden files in tests/golden/as.

#include "Assembled.h"
#include "LineTokens.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string_view>

namespace {

struct SyntaxCase {
    std::vector<std::string> lines;
    Syntax syntax;
};

TEST(AsSyntax, IsChosenByACpuDirectiveBeforeAnyStatementThatNeedsAProcessor) {
    const std::vector<SyntaxCase> cases{
        {{"\tcpu 8008"}, Syntax::as8008},
        {{"; a comment", "", "  PAGE 0", "\tinclude \"bitfuncs.inc\"", "\tCPU 8008NEW ; new"},
         Syntax::as8008new},
        {{"\ttitle \"x\"", "\tCpu 8008new"}, Syntax::as8008new},
        {{"CPU 8008"}, Syntax::native},              // column 1 holds a label
        {{"\tORG 0", "\tcpu 8008"}, Syntax::native}, // a statement came first
        {{"START\tLAA", "\tcpu 8008"}, Syntax::native},
        {{"START\tcpu 8008"}, Syntax::as8008}, // a label on the line, as AS reads column 1
        {{"FLAG\tEQU\t0", " IF FLAG", "\tCPU 8080", " ELSE", "\tCPU 8008new", " ENDIF"}, Syntax::as8008new},
        {{"\tcpu z80"}, Syntax::native}, // not a processor read here
        {{"\tcpu 8008 extra"}, Syntax::native},
        {{"\tLAI 1", "\tHLT"}, Syntax::native},
    };
    for (const SyntaxCase& c : cases)
        EXPECT_EQ(Assembled(c.lines).assembly.syntax, c.syntax) << c.lines.back();
}

struct ErrorCase {
    std::string line; // after CPU 8008NEW
    DiagCode code;
    std::uint32_t column;
};

TEST(AsSyntax, FaultsAreSaidAtTheFaultyText) {
    const std::vector<ErrorCase> cases{
        {"\tmov m,m", DiagCode::badRegister, 6},
        {"\tmvi x,1", DiagCode::badRegister, 6},
        {"\tinr a", DiagCode::badRegister, 6},
        {"\tdcr m", DiagCode::badRegister, 6},
        {"\tlxi c,1", DiagCode::badRegister, 6},
        {"\tout 7", DiagCode::outOfRange, 6},
        {"\tin 8", DiagCode::outOfRange, 5},
        {"\trst 9", DiagCode::restartAddress, 6},
        {"\trst 64", DiagCode::restartAddress, 6},
        {"\tjmp 4000h", DiagCode::outOfRange, 6},
        {"\tdb 256", DiagCode::outOfRange, 5},
        {"\tdb -129", DiagCode::outOfRange, 5},
        {"\tdw 65536", DiagCode::outOfRange, 5},
        {"\tmvi a", DiagCode::operandCount, 6},
        {"\tmvi a,1,2", DiagCode::operandCount, 6},
        {"\tret 1", DiagCode::operandCount, 6},
        {"\tdb 1,,2", DiagCode::missingOperand, 7},
        {"\tdb 9a", DiagCode::badNumber, 5},
        {"\tdb 129o", DiagCode::badNumber, 5},
        {"\tdb 12b", DiagCode::badNumber, 5},
        {"\tdb 0x10", DiagCode::badNumber, 5},
        {"\tdb \"\\q\"", DiagCode::badEscape, 6},
        {"\tdb \"abc", DiagCode::unclosedString, 5},
        {"\tdb lo(1)", DiagCode::unknownFunction, 5},
        {"\tdb 2+missing", DiagCode::undefinedSymbol, 7},
        {"\tdb 1/0", DiagCode::divisionByZero, 6},
        {"\tdb 17#0", DiagCode::remainderByZero, 7},
        {"\tdb (1", DiagCode::missingParenthesis, 7},
        {"\tdb 1 2", DiagCode::unexpectedText, 7},
        {"\tlmm", DiagCode::unknownMnemonic, 2},
        {"\tinclude \"other.inc\"", DiagCode::includeNotRead, 10},
        {"\tcpu 6502", DiagCode::unknownCpu, 6},
        {"mov a,b", DiagCode::mnemonicAsLabel, 1},
        {" else", DiagCode::unmatchedConditional, 2},
        {" if 1", DiagCode::unclosedConditional, 1},
    };
    for (const ErrorCase& c : cases) {
        const Assembled a({"\tcpu 8008new", c.line});
        ASSERT_EQ(a.codes(), std::vector{c.code}) << c.line;
        EXPECT_EQ(a.assembly.diagnostics[0].column, c.column) << c.line;
        EXPECT_EQ(a.assembly.errorCount, 1) << c.line;
    }
}

TEST(AsSyntax, ConditionsTakeNoNameDefinedFurtherDown) {
    // Every pass must take the same branches, as AS requires.
    const Assembled a({"\tcpu 8008", " if later", "\tdb 1", " endif", "later\tdb 2"});
    ASSERT_EQ(a.codes(), std::vector{DiagCode::noForwardReference});
    EXPECT_EQ(messageOf(a.assembly.diagnostics[0].fault),
              "'later' is used before it is defined; IF takes no forward references");
    EXPECT_EQ(a.bytes(4), Bytes({2}));
}

TEST(AsSyntax, AnInvokingLineHoldsItsExpansionsBytes) {
    const Assembled a({"\tcpu 8008new", "pair\tmacro r,v", "\tmvi r,v", "here:\tjmp here", "\tendm",
                       "start\tpair b,1", "\trept 2", "\tnop", "\tendm", "\tpair c,oops"});
    EXPECT_EQ(a.record(1).kind, Assembly::Line::noCode);
    EXPECT_EQ(a.record(2).kind, Assembly::Line::noStatement);
    EXPECT_TRUE(a.bytes(2).empty());
    EXPECT_EQ(a.record(5).kind, Assembly::Line::expansion);
    EXPECT_EQ(a.record(5).value, 0u);
    EXPECT_EQ(a.bytes(5), Bytes({0x0E, 1, 0x44, 2, 0}));
    EXPECT_EQ(a.assembly.symbolLine("START"), 5u);
    EXPECT_EQ(a.assembly.symbolLine("HERE"), Assembly::noLine); // the expansion's own
    EXPECT_EQ(a.record(6).value, 5u);
    EXPECT_EQ(a.bytes(6), Bytes({0xC0, 0xC0}));
    EXPECT_TRUE(a.bytes(7).empty());
    // A fault of the expansion is the invoking line's, said at the macro's name.
    ASSERT_EQ(a.codes(), std::vector{DiagCode::undefinedSymbol});
    EXPECT_EQ(a.assembly.diagnostics[0].line, 9u);
    EXPECT_EQ(a.assembly.diagnostics[0].column, 2u);
    EXPECT_EQ(messageOf(a.assembly.diagnostics[0].fault),
              "undefined symbol 'oops', in the expansion of pair");
}

TEST(AsSyntax, MacrosAndRepetitionsEndAndNestWithinBounds) {
    const std::vector<std::pair<std::vector<std::string>, DiagCode>> cases{
        {{"\tcpu 8008", "m\tmacro", "\tnop"}, DiagCode::unclosedMacro},
        {{"\tcpu 8008", "\trept 3", "\tnop"}, DiagCode::unclosedMacro},
        {{"\tcpu 8008", "m\tmacro", "\tm", "\tendm", "\tm"}, DiagCode::tooDeep},
        {{"\tcpu 8008", "\tmacro", "\tendm"}, DiagCode::operandCount},
        {{"\tcpu 8008", "\tjmp +"}, DiagCode::undefinedSymbol},
    };
    for (const auto& [lines, code] : cases)
        EXPECT_EQ(Assembled(lines).codes(), std::vector{code}) << lines[1];
}

TEST(AsSyntax, NamesAreDefinedOnceUnlessSet) {
    const Assembled twice({"\tcpu 8008", "x\tequ 1", "x\tequ 2", "y\tset 1", "y\tset y+1", "\tdb y"});
    ASSERT_EQ(twice.codes(), std::vector{DiagCode::symbolDefinedTwice});
    EXPECT_EQ(twice.assembly.diagnostics[0].line, 2u);
    EXPECT_EQ(twice.assembly.diagnostics[0].fault.detail, "2");
    EXPECT_EQ(twice.bytes(5), Bytes({2}));
}

TEST(AsSyntax, FunctionsCheckTheirArguments) {
    const Assembled a({"\tcpu 8008", "f\tfunction a,b,a-b", "\tdb f(9,2)", "\tdb f(1)"});
    EXPECT_EQ(a.bytes(2), Bytes({7}));
    ASSERT_EQ(a.codes(), std::vector{DiagCode::argumentCount});
    EXPECT_EQ(messageOf(a.assembly.diagnostics[0].fault), "F takes 2 arguments");
}

TEST(AsSyntax, PassesRepeatUntilForwardValuesHold) {
    // c depends on b, b on a, each defined further down: three passes to know c.
    const Assembled a(
        {"\tcpu 8008", "\tdb c", "c\tequ b+1", "b\tequ a+1", "a\tequ here", "here\tjmp here", "\tend"});
    EXPECT_TRUE(a.codes().empty());
    EXPECT_EQ(a.bytes(1), Bytes({3}));
    EXPECT_EQ(a.bytes(5), Bytes({0x44, 1, 0}));
}

TEST(AsSyntax, TheEditorReadsLinesSymbolsAndUsesAsForItsOwnSyntax) {
    const Assembled a({"\tcpu 8008new", "start:\tmvi a,'x' ; load", "loop\tjmp start", "\tds 2", "n\t= 5",
                       "\tend", "\tgarbage after the end"});
    EXPECT_TRUE(a.codes().empty());
    EXPECT_EQ(a.record(0).kind, Assembly::Line::noCode);
    EXPECT_EQ(a.bytes(1), Bytes({0x06, 'x'}));
    EXPECT_EQ(a.record(1).comment, 18u);
    EXPECT_EQ(a.record(3).kind, Assembly::Line::reserve);
    EXPECT_EQ(a.record(4).kind, Assembly::Line::equ);
    EXPECT_EQ(a.record(4).value, 5u);
    EXPECT_EQ(a.record(6).kind, Assembly::Line::noStatement);
    EXPECT_EQ(a.assembly.symbolLine("START"), 1u);
    EXPECT_EQ(a.assembly.symbolLine("LOOP"), 2u);
    ASSERT_EQ(a.assembly.uses.size(), 1u);
    EXPECT_EQ(a.assembly.uses[0].line, 2u);
    EXPECT_EQ(a.assembly.uses[0].column, 10u);
    EXPECT_EQ(a.assembly.bytesAssembled, 5u);
}

TEST(AsSyntax, DateAndTimeAreTodaysAsAsWritesThem) {
    const Assembled a({"\tcpu 8008", "\tdb date, \" \", time"});
    const Bytes bytes = a.bytes(1);
    const std::string text(bytes.begin(), bytes.end());
    constexpr std::string_view shape = "00/00/00 00:00:00"; // 0 for any digit
    ASSERT_EQ(text.size(), shape.size()) << text;
    for (std::size_t i = 0; i < shape.size(); ++i)
        EXPECT_TRUE(shape[i] == '0' ? std::isdigit(static_cast<unsigned char>(text[i])) != 0
                                    : text[i] == shape[i])
            << text;
}

TEST(AsSyntax, LinesAreTokenizedByAsRules) {
    // Names with '_', a label ended by its colon after blanks, a string in single
    // quotes holding what would begin a comment, and AS's mnemonic.
    const std::u16string line = u"  save_H: mvi h,hi(save_H) ; it's";
    const std::vector<LineToken> tokens = tokensOfLine(line, Syntax::as8008new);
    const auto spelled = [&](const LineToken& t) { return line.substr(t.start, t.end - t.start); };
    ASSERT_GE(tokens.size(), 4u);
    EXPECT_EQ(spelled(tokens[0]), u"save_H");
    EXPECT_EQ(tokens[0].kind, TokenKind::label);
    EXPECT_EQ(spelled(tokens[1]), u"mvi");
    EXPECT_EQ(tokens[1].kind, TokenKind::mnemonic);
    EXPECT_EQ(spelled(tokens[tokens.size() - 3]), u"save_H");
    EXPECT_EQ(tokens.back().kind, TokenKind::comment);
    EXPECT_EQ(spelled(tokens.back()), u"; it's");

    const std::vector<LineToken> quoted = tokensOfLine(u"\tcpi ';'", Syntax::as8008);
    ASSERT_EQ(quoted.size(), 2u);
    EXPECT_EQ(quoted[1].kind, TokenKind::string);
    // The same line in Brenvik's own syntax: the quote is a modifier's, the ';' a comment.
    EXPECT_EQ(tokensOfLine(u"\tcpi ';'").back().kind, TokenKind::comment);
}

} // namespace
