#pragma once

// The assembler: it turns the lines of a text into an Assembly, one record per
// line (address, bytes, mode), with the symbol table and a diagnostic for every
// fault it finds. It reads the text and writes nothing back: the editor colours
// its lines from the diagnostics, the command line prints them.

#include "Assembly.h"
#include "TextArea.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct BodyLine; // IncludedFiles.h

class TBrenvikEngine {
  public:
    using Line = Assembly::Line;
    using Unresolved = Assembly::Unresolved;

    // Evaluator results above 0xFFFF.
    static constexpr std::uint32_t exprUndefined = 0x10000;
    static constexpr std::uint32_t exprError = 0x10001;
    // Operators, unary operators and parentheses nested deeper than this are an error.
    static constexpr unsigned maxExprDepth = 256;

    static constexpr std::uint32_t noLine = Assembly::noLine;

    // Every mnemonic, pseudo-instruction and directive with its code; shared by
    // all instances and filled by the first one constructed.
    static WordTable<Line::LineCode> opcodes;
    // The table, filled if no instance has filled it yet.
    static const WordTable<Line::LineCode>& instructionSet();

    explicit TBrenvikEngine(const TextArea& textArea);
    ~TBrenvikEngine();
    TBrenvikEngine(const TBrenvikEngine&) = delete;
    TBrenvikEngine& operator=(const TBrenvikEngine&) = delete;

    // One whole run: prepare, assemble every line in order, resolve.
    const Assembly& run();
    // The file the text is, so that an AS-syntax source's INCLUDE is found beside
    // it; empty for a text that is no file yet.
    void setSourcePath(std::string path) { sourcePath = std::move(path); }
    // How a text without a CPU directive of its own is read: as the file that
    // includes it reads it, when it was opened from there.
    void setIncludedSyntax(Syntax syntax) { includedSyntax = syntax; }
    // What the last run produced; between prepare and resolve, what is known so far.
    const Assembly& GetAssembly() const { return assembly; }

    void prepare();
    void assemble(std::uint32_t& pc, std::uint32_t index);
    // Patches the forward references and completes the diagnostics.
    void resolve();

    void doDbDw(std::uint32_t index, const std::string& upper, const std::string& typed, std::uint32_t& pos,
                Line& line, bool isDw);
    void checkEol(std::uint32_t index, const std::string& upper, std::uint32_t& pos);

    // expression = term [blanks] [operator expression]   (operators group from the right)
    std::uint32_t expr(const std::string& text, std::uint32_t& pos, std::uint32_t last,
                       unsigned depth = 0) const;
    // term = "!" expression | "-" expression | "(" expression ")" | '"' char '"'
    //      | number [modifier] | name [modifier]
    std::uint32_t term(const std::string& text, std::uint32_t& pos, std::uint32_t last,
                       unsigned depth = 0) const;
    // modifier = "'" ("HI" | "HIGH" | "LO" | "LOW")
    std::uint32_t termMod(const std::string& text, std::uint32_t& pos, std::uint32_t last,
                          std::uint32_t value) const;
    // Marks line `index` in error from `column`, for `why`; a repeat for the line
    // marked just before is ignored, so a pass in line order counts each faulty
    // line once. `textColumn` is where the faulty text begins, 0 for the first
    // character at or after `column`.
    void errorline(std::uint32_t index, std::uint32_t column, Fault why, std::uint32_t textColumn = 0);

    int GetErrorCount() const { return assembly.errorCount; }

    // The value of an expression in the assembler's syntax, with the symbols of
    // the last run; none when it is no 16-bit value.
    std::optional<std::uint32_t> valueOf(std::string_view expression) const;

  private:
    // An operand as evaluated: its value and where it stands as written.
    struct Operand {
        std::uint32_t value;
        std::uint32_t start; // first column
        std::uint32_t end;   // column after it
    };

    static void fillOpcodes();

    // Includes, conditions, macros and repetitions (Expanding.cpp). A run that
    // meets one of their directives is made again as a run that expands: each
    // line it assembles, of the text or brought in by a line of it, has a record
    // of its own while the run lasts, and those brought in are folded into the
    // line that brings them at its end.
    struct Expanding;
    static bool expandingWord(std::string_view word);
    void runExpanding();
    struct RunLine;
    std::uint32_t addLine(RunLine line);
    void readExpandedLine(std::uint32_t index);
    // Assembles line `index` if it is a directive of an expansion or a line
    // such a directive holds back; false for any other line.
    bool expandingStatement(std::uint32_t& pc, std::uint32_t index);
    bool conditional(std::uint32_t index, std::string_view word, std::uint32_t pos);
    void record(std::uint32_t& pc, std::uint32_t index, std::string_view word, std::uint32_t pos);
    void startRecording(std::uint32_t index, std::string_view word, const std::string& label,
                        std::uint32_t pos);
    void include(std::uint32_t& pc, std::uint32_t index, std::uint32_t pos);
    void invoke(std::uint32_t& pc, std::uint32_t index, std::string_view name, std::uint32_t pos);
    void expand(std::uint32_t& pc, std::uint32_t index, const std::vector<BodyLine>& body,
                const std::vector<std::string>& parameters, const std::vector<std::string>& arguments,
                std::uint32_t column, const std::string& macro, const std::vector<std::string>* labels);
    void closeExpanding();
    void foldExpansions();
    void foldDiagnostics();
    void foldUses();
    void foldSymbols(const std::vector<Line>& runLines);
    // The line of the text that holds line `index` of the run, as messages name lines.
    std::uint32_t textLineOf(std::uint32_t index) const;
    // For a label that the expansion being read has of its own, the line that
    // defines it there, or noLine while none does; none for any other name.
    std::optional<std::uint32_t> ownLabel(std::string_view name) const;
    // Defines `name` at line `index` if it is a label of the expansion's own.
    bool defineOwnLabel(std::uint32_t index, std::string_view name);

    void readUpper(std::uint32_t index);
    void statement(std::uint32_t& pc, std::uint32_t index, std::uint32_t& pos);
    Operand evaluateOperand(const std::string& upper, std::uint32_t& pos) const;
    Operand evaluate(std::uint32_t index, const std::string& upper, std::uint32_t& pos);
    // Records the first thing the evaluator finds wrong, naming parts of its text.
    void fail(DiagCode code, std::uint32_t column, std::string_view argument = {},
              std::string_view detail = {}) const;
    void clearExprFault() const;
    // Why the evaluation since clearExprFault failed, or gave a value beyond 16 bits.
    Fault exprFault() const;

    // Notes a use of `symbol` at `column` of the line whose operand is evaluated.
    void noteUse(std::uint32_t symbol, std::uint32_t column) const;

    // Why a line is in error, from what the evaluator and the pass found.
    Fault operandFault(std::uint32_t value) const;
    Fault trailingFault(std::uint32_t index, std::uint32_t pos) const;
    Fault wideFault(std::uint32_t column) const;
    // Columns [from, to) of the current line as typed, in UTF-8, cut when long.
    std::string typedText(std::uint32_t from, std::uint32_t to) const;

    // Error bookkeeping.
    void markCounted(std::uint32_t index, std::uint32_t column, Fault why, std::uint32_t textColumn = 0);
    void mark(std::uint32_t index, std::uint32_t column, Fault why, std::uint32_t textColumn);
    // Where the evaluator's finding is, 0 when it found nothing.
    std::uint32_t findingColumn() const { return finding.code == DiagCode::none ? 0 : finding.column; }
    void clearMark(std::uint32_t index);
    Diagnostic* errorSlot(std::uint32_t index);
    void collectDiagnostics();

    // Warnings.
    void warn(std::uint32_t index, std::uint32_t column, std::size_t length, Fault why);
    void defineLabel(std::uint32_t index, std::string_view name);
    void warnLabelLikeStatement(std::uint32_t index, std::string_view label);
    void checkWord(std::uint32_t index, std::uint32_t column, std::string_view word);
    void checkOperand(std::uint32_t index, const Operand& operand);
    void checkPlacement(std::uint32_t index);
    void checkLocation(std::uint32_t index);

    const TextArea& sourceText;
    std::string sourcePath;
    std::unique_ptr<Expanding> expanding; // while a run expands
    bool metExpansion = false;            // the run met a directive that needs one that expands
    bool lastRunExpanded = false;         // so the next run of the text expands at once
    std::uint32_t labelScope = 0;         // the expansion whose labels the line read has, 0 none
    Syntax includedSyntax = Syntax::native;
    Assembly assembly;

    std::uint32_t lastErrorLine = noLine;
    std::uint32_t lastErrorColumn = 0; // where lastErrorLine's red begins
    std::vector<bool> lineCounted;     // lines that count in the error count
    // Errors by ascending line, one per counted line; a cleared one keeps its
    // place with the code none. Errors that resolve gives lines behind the last
    // of them wait in lateErrors.
    std::vector<Diagnostic> errors, lateErrors;
    std::size_t slotHint = 0; // where the last search of `errors` ended
    std::vector<Diagnostic> warnings;

    // Placement of bytes: which line emitted each 16-bit address last, and whether
    // the last line with bytes overlapped or lay beyond the address space, so that
    // a stretch of such lines is reported once. An owner counts only in the run it
    // was set in, so that a run need not clear the table.
    struct AddressOwner {
        std::uint32_t run; // 0 for none
        std::uint32_t line;
    };
    static constexpr std::size_t ownedAddresses = 0x10000;
    // Zeroed memory from calloc: the system hands out its pages only as bytes land in them.
    std::unique_ptr<AddressOwner[], decltype(&std::free)> addressOwners{
        static_cast<AddressOwner*>(std::calloc(ownedAddresses, sizeof(AddressOwner))), &std::free};
    std::uint32_t runNumber = 0;
    bool lastLineOverlapped = false;
    bool lastLineBeyond = false;
    // Whether the location counter passed the last 16-bit address and was told so
    // (or an ORG in error put it there), so that only the first line beyond is.
    bool counterPast16Bits = false;

    // The line being assembled: as typed and upper-cased, reused from line to line.
    SourceLine current;
    std::string currentUpper;
    // Where the statement of the current line begins, and where the operand of
    // one that takes none would begin (0 when it takes one).
    std::uint32_t statementStart = 0;
    std::string_view statementWord;
    std::uint32_t operandlessAt = 0;

    // The first thing the evaluator found wrong, its words as views into the
    // text it read: a Fault is made of it only when a line is marked for it.
    struct ExprFinding {
        DiagCode code = DiagCode::none;
        std::uint32_t column = 0;
        std::string_view argument = {}, detail = {};
    };
    mutable ExprFinding finding;
    // The column of a character constant without a single-byte code, 0 for none.
    mutable std::uint32_t wideColumn = 0;

    // Uses of symbols as the run finds them; the assembly takes them at its end.
    mutable std::vector<Assembly::SymbolUse> foundUses;
    std::uint32_t useLine = noLine;         // the line whose operand is evaluated; none outside a run
    std::optional<std::size_t> passOneUses; // while resolving: how many the first pass found
};
