#pragma once

// Expressions as the Macroassembler AS reads them: 64-bit integers, its
// operators with its precedence (all grouping from the left), numbers with
// Intel suffixes in the current radix, '$' for the line's location, character
// constants and strings with backslash escapes, and functions.

#include "Diagnostics.h"
#include "TextArea.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What an expression needs from the assembly it stands in.
class AsNames {
  public:
    virtual ~AsNames() = default;
    // The value of symbol `name` (upper case) named at `column` (0 when no
    // column of the line names it); none when it has none yet.
    virtual std::optional<std::int64_t> symbol(std::string_view name, std::uint32_t column) = 0;
    // The location counter at the start of the line.
    virtual std::int64_t location() const = 0;
    // A function defined with FUNCTION or served for bitfuncs.inc, or null.
    struct Function {
        std::vector<std::string> parameters; // upper case
        std::string body;                    // the expression, as written
        // A function of the standard set, computed here rather than from a body.
        std::int64_t (*builtIn)(const std::vector<std::int64_t>& arguments) = nullptr;
    };
    virtual const Function* function(std::string_view name) const = 0;
};

class AsExpression {
  public:
    AsExpression(AsNames& names, int radix) : names(names), radix(radix) {}

    // The value of columns [from, to) of `line`, or none with `fault()` saying why.
    // A symbol without a value yet gives a value too (0 in its place), with `unknown()`.
    std::optional<std::int64_t> evaluate(const SourceLine& line, std::uint32_t from, std::uint32_t to);

    bool unknown() const { return !unknownName.empty(); }
    // The first name without a value, as written, and its column.
    const std::string& firstUnknown() const { return unknownName; }
    std::uint32_t firstUnknownColumn() const { return unknownColumn; }
    const Fault& fault() const { return found; }
    std::uint32_t faultColumn() const { return foundColumn; }

    // The bytes of a string or character constant standing alone in columns
    // [from, to), or none when they hold something else. Faults as evaluate.
    std::optional<std::string> literal(const SourceLine& line, std::uint32_t from, std::uint32_t to);

  private:
    struct Scope; // a function's parameters while its body is evaluated

    // Starts reading columns [from, to) of `line`, at their first character that is no blank.
    void begin(const SourceLine& line, std::uint32_t from, std::uint32_t to);
    std::optional<std::int64_t> binary(int weakest);
    std::optional<std::int64_t> unary();
    std::optional<std::int64_t> primary();
    std::optional<std::int64_t> number();
    std::optional<std::int64_t> name();
    std::optional<std::int64_t> call(std::string_view functionName, std::uint32_t column);
    std::optional<std::string> quoted();

    char peek() const;
    void skipBlanks();
    bool failWith(DiagCode code, std::uint32_t column, std::string argument = {}, std::string detail = {});
    std::string textOf(std::uint32_t from, std::uint32_t to) const;

    AsNames& names;
    int radix;
    const SourceLine* source = nullptr;
    std::string_view text; // what is read: the line, or a function's body
    std::uint32_t pos = 0, end = 0;
    // The column of the call whose function body is read, 0 when the line is:
    // what a body holds is said at its call.
    std::uint32_t bodyCall = 0;
    unsigned depth = 0;
    const Scope* scope = nullptr;
    std::string unknownName;
    std::uint32_t unknownColumn = 0;
    Fault found;
    std::uint32_t foundColumn = 0;
};
