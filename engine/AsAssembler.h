#pragma once

// The assembler of AS-syntax sources, shared by the files that hold its parts:
// the passes and lines (AsSyntax.cpp), the directives (AsDirectives.cpp), the
// instructions' bytes (AsEncoding.cpp), macros and repetitions (AsMacros.cpp),
// and symbols, operands and faults (AsSymbols.cpp).

#include "AsExpression.h"
#include "AsInstructions.h"
#include "AsSyntax.h"
#include "IncludedFiles.h"
#include "MacroText.h"
#include "Scan.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace assyntax {

using Line = Assembly::Line;

// Passes after which a source whose values still change is reported as it stands.
constexpr int maxPasses = 8;
constexpr std::int64_t lastAddress = 0x3FFF; // the 8008's 14-bit address space
constexpr int defaultRadix = 10;

inline bool isNameStart(char c) {
    return scan::isLetter(c) || c == '_' || c == '.';
}
inline bool isNameChar(char c) {
    return isNameStart(c) || scan::isDigit(c);
}

// Follows a line's strings and character constants, a character at a time.
class Quotes {
  public:
    // Whether `c`, the line's next character, belongs to one (its quotes included).
    bool quoted(char c) {
        if (escaped) {
            escaped = false;
            return true;
        }
        if (quote != 0) {
            if (c == '\\')
                escaped = true;
            else if (c == quote)
                quote = 0;
            return true;
        }
        if (c == '"' || c == '\'')
            quote = c;
        return quote != 0;
    }

  private:
    char quote = 0;
    bool escaped = false;
};

using scan::upperOf;

// Where a line's comment begins (its ';' outside quotes), or one past its end.
inline std::uint32_t commentColumn(const std::string& text) {
    return macrotext::commentColumn<Quotes>(text);
}
// The operands in `span`, split at the commas outside quotes and parentheses,
// each without its blanks.
inline std::vector<Span> operandsOf(const std::string& text, Span span) {
    return macrotext::operandsOf<Quotes>(text, span);
}
// The first word of columns from `pos` on, upper case, and where it ends.
std::string wordAt(const std::string& text, std::uint32_t& pos);
// `text` with each parameter's name (a whole name, outside quotes and the
// comment, in any case) replaced by its argument, or by nothing when none is given.
inline std::string substituted(const std::string& text, const std::vector<std::string>& parameters,
                               const std::vector<std::string>& arguments) {
    return macrotext::substituted<Quotes>(text, parameters, arguments, isNameChar);
}

// One run over a text: the passes, and what each one knows of the text so far.
class AsAssembler : public AsNames {
  public:
    AsAssembler(const TextArea& text, Syntax syntax, const std::string& path, Assembly& assembly)
        : source(text), assembly(assembly), firstSyntax(syntax), files(path) {}

    void run();

    std::optional<std::int64_t> symbol(std::string_view name, std::uint32_t column) override;
    std::int64_t location() const override { return lineStart; }
    const Function* function(std::string_view name) const override { return functions.find(name); }

  private:
    struct Symbol {
        std::int64_t value = 0;
        int pass = 0;           // the pass that last defined it
        std::uint32_t line = 0; // where that pass defined it first
        bool variable = false;  // SET or :=, which may define it again
    };

    void pass();
    void assembleLine(std::uint32_t index);
    bool conditional(const std::string& word, std::uint32_t column, const std::vector<Span>& operands);
    bool assembling() const;
    bool directive(const std::string& word, std::optional<Span> label, const std::vector<Span>& operands);
    void statement(std::uint32_t codeEnd);
    void record(const BodyLine& line);
    void startRecording(const std::string& word, std::optional<Span> label, const std::vector<Span>& operands,
                        std::uint32_t column);
    // Assembles `body` for the line `lineIndex`; `macro` names what is expanded,
    // and is empty for an included file, whose labels are the includer's.
    void expand(const std::vector<BodyLine>& body, const std::vector<std::string>& parameters,
                const std::vector<std::string>& arguments, std::uint32_t column, const std::string& macro);
    void include(Span operand);
    std::shared_ptr<const FaultSite> faultSite(std::uint32_t column) const;
    void setKind(Line::LineCode kind, std::optional<std::int64_t> value = std::nullopt);
    void instruction(const AsInstruction& instruction, const std::string& word,
                     const std::vector<Span>& operands);
    void define(std::optional<Span> label, std::int64_t value, bool variable, bool isLabel = true);
    std::string localKey(std::string_view name) const;

    // The value of an operand; none when it has none, the line marked in error.
    std::optional<std::int64_t> value(Span operand);
    std::optional<std::int64_t> namelessLabel(Span operand);
    // `operand`'s value checked to lie in [low, high], what `what` names.
    std::optional<std::int64_t> valueIn(Span operand, std::int64_t low, std::int64_t high, const char* what);
    std::optional<int> registerOf(Span operand, const std::string& word, bool memoryTaken = true);
    bool operandsAre(const std::vector<Span>& operands, std::size_t count, const std::string& word);
    bool data(const std::vector<Span>& operands, bool words, ByteList& bytes);
    std::optional<Span> duplicated(Span operand) const;
    std::vector<Span> repeated(Span rest) const;
    void emit(Line::LineCode kind, ByteList bytes);
    void error(std::uint32_t column, Fault fault, std::uint32_t length = 1);
    bool saidBefore(const Fault& fault) const;
    void warn(std::uint32_t column, Fault fault, std::uint32_t length);
    std::string typed(Span span) const;

    const TextArea& source;
    Assembly& assembly;
    Syntax firstSyntax;

    std::vector<Symbol> symbols; // by their number in assembly.symbols
    // The labels of expansions, by name and expansion ("LOOP@3"), apart from the table.
    WordTable<std::uint32_t> localNames;
    std::vector<Symbol> localSymbols;
    WordTable<Function> functions;
    std::vector<std::string> unknownNames; // named without a value in this pass
    std::string date, time;                // DATE and TIME: when the run began, as AS writes them

    // The pass.
    int passNumber = 0;
    bool valuesChanged = false;
    Syntax syntax = Syntax::native;
    int radix = defaultRadix;
    std::int64_t pc = 0;
    bool ended = false;

    // The conditions open at the line, innermost last.
    struct Condition {
        std::uint32_t line; // of its IF
        std::string word;   // the last of IF, ELSEIF and ELSE met
        bool outerTaking;   // whether the branch around it is taken
        bool taking;        // whether its current branch is
        bool taken;         // whether one of its branches was
        bool failed;        // whether its IF line is in error
    };
    std::vector<Condition> conditions;

    // Nameless labels, in order: this pass's so far, and all of the last pass's.
    struct Nameless {
        char kind; // '-', '+' or '/'
        std::int64_t value;
        bool operator==(const Nameless&) const = default;
    };
    std::vector<Nameless> nameless, lastNameless;
    bool namelessAhead = false; // the first pass met a '+' it could not know yet

    // Macros and repetitions.
    struct Macro {
        std::vector<std::string> parameters; // upper case
        std::vector<BodyLine> body;          // its lines as written
    };
    struct Recording {
        bool repeats;                 // REPT rather than MACRO
        std::uint32_t line;           // of the MACRO or REPT
        std::uint32_t column;         // of its word
        std::uint32_t file, fileLine; // where it is written
        int depth;                    // MACROs and REPTs open in it, itself included
        std::string name;
        std::vector<std::string> parameters;
        std::int64_t times;
        std::vector<BodyLine> body = {};
        bool failed = false; // whether its line is in error
    };
    WordTable<Macro> macros;
    std::optional<Recording> recording;
    int expansionDepth = 0;
    std::int64_t expandedLines = 0;    // of the line's expansions so far
    int expansions = 0;                // of this pass: each one's labels are its own
    std::vector<int> scopes;           // the expansions being assembled, innermost last
    std::uint32_t expansionColumn = 0; // where the invoking line names what it expands
    // What is being expanded, innermost last: its macro ("" for a file included)
    // and where it was invoked or included.
    struct Frame {
        std::string macro;
        std::uint32_t file, line;
    };
    std::vector<Frame> frames;
    std::string conditionWord; // IF or ELSEIF while its condition is evaluated
    IncludedFiles files;

    // The line: of the text, and the one of a file or a body assembled for it.
    std::uint32_t lineIndex = 0;
    std::uint32_t placeFile = 0, placeLine = 0;
    SourceLine current;
    std::int64_t lineStart = 0;
    bool lineFailed = false;
    bool lastUnknown = false; // the last operand named a symbol without a value
};

} // namespace assyntax
