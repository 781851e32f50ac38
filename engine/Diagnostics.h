#pragma once

// What a run found wrong with a line, as data: a code from one table, and the
// words its message names. The editor and the command line turn the same
// diagnostics into tooltips, a problems list and compiler-style reports.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class DiagCode : std::uint8_t {
    none,
    // Errors: the line is marked red and counted.
    unknownMnemonic,  // %0 the word
    expectedMnemonic, // %0 what stands there instead
    notALabel,        // %0 the text in column 1
    missingOperand,
    missingOperandAfter,  // %0 the operator
    notAnOperand,         // %0 the character
    undefinedSymbol,      // %0 the name
    noForwardReference,   // %0 the name, %1 the statement that takes none
    forwardInParentheses, // %0 the name
    symbolWithoutValue,   // %0 the name
    symbolResolvedLater,  // %0 the name
    valueTooLarge,        // %0 the number as written
    symbolTooLarge,       // %0 the name
    divisionByZero,
    remainderByZero,
    missingParenthesis,
    unknownModifier, // %0 the word after the apostrophe
    missingModifier,
    octalDigit, // %0 the constant, %1 the digit
    badCharacterConstant,
    wideCharacter,  // %0 the character
    tooDeep,        // %0 the depth limit
    unexpectedText, // %0 the text
    noOperandTaken, // %0 the mnemonic or directive
    unclosedString,
    mnemonicAsLabel,    // %0 the instruction or directive name in column 1
    locationPast16Bits, // %0 the first location past the last 16-bit address
    // Warnings: reported, never counted, never changing a byte.
    labelRedefined,       // %0 the name, %1 the line of the earlier definition
    labelLikeStatement,   // %0 the name
    immediateRange,       // %0 the operand as written, %1 the byte used
    addressRange,         // %0 the operand as written, %1 the address used
    restartNumber,        // %0 the operand as written, %1 the restart used
    inputPort,            // %0 the operand as written, %1 the port addressed
    outputPort,           // %0 the operand as written, %1 the port addressed
    undefinedInstruction, // %0 the mnemonic, %1 its opcode
    haltingLoad,
    beyondAddressSpace, // %0 the location
    overlap,            // %0 the line whose bytes are overwritten
    // Errors of sources in the syntax of the Macroassembler AS.
    badNumber,          // %0 the number as written, %1 its base
    badEscape,          // %0 the escape sequence
    unknownFunction,    // %0 the name
    argumentCount,      // %0 the function, %1 how many arguments it takes
    outOfRange,         // %0 the value, %1 what it is for, with its range
    badRegister,        // %0 the operand, %1 the mnemonic
    operandCount,       // %0 the mnemonic or directive, %1 what it takes
    symbolDefinedTwice, // %0 the name, %1 the line of the first definition
    includeNotRead,     // %0 the file named
    unknownCpu,         // %0 the processor named
    restartAddress,     // %0 the operand's value
    unclosedConditional,
    unmatchedConditional, // %0 the ELSEIF, ELSE or ENDIF
    unclosedMacro,        // %0 MACRO or REPT
    expansionTooLarge,    // %0 how many lines a line's expansions may hold
    includeCycle,         // %0 the file named
    includeTooDeep,       // %0 how many files may stand within each other
    unmatchedEndm,        // %0 the ENDM
};

// A line of a file: the file's path, made of the including file's folder and
// the name its INCLUDE gives (empty for the assembled text itself), and the
// line, 0-based.
struct SourcePlace {
    std::string file;
    std::uint32_t line = 0;
};

// Where a fault found in an included file or in a macro's expansion stands: the
// line of the text that includes or invokes it holds the fault, and this says
// which line of which file it is, as assembled, and how that line was reached.
struct FaultSite {
    SourcePlace place;
    std::uint32_t column = 1;
    std::string text; // the line as assembled, its macro's parameters replaced
    // One step on the way to the fault, innermost first: the expansion of `macro`
    // invoked at `from`, or, without a macro, the file included at `from`.
    struct Step {
        std::string macro;
        SourcePlace from;
    };
    std::vector<Step> steps;
};

// What is wrong, without where: a code and the words its message names.
struct Fault {
    DiagCode code = DiagCode::none;
    std::string argument = {}; // %0
    std::string detail = {};   // %1
    // Set when the fault is not on its line's own text, but in what the line
    // includes or expands.
    std::shared_ptr<const FaultSite> site = {};
};

// A fault found in the source. For an error the column is where the line's red
// begins, which may be the blank before the faulty text; `textColumn` is where
// that text begins, the column a report names. `length` is how many columns the
// finding covers (at least 1).
struct Diagnostic {
    std::uint32_t line;   // 0-based
    std::uint32_t column; // 1-based
    std::uint32_t length;
    Fault fault;
    std::uint32_t textColumn;
};

enum class Severity { error, warning };

Severity severityOf(DiagCode code);
inline bool isError(const Diagnostic& d) {
    return severityOf(d.fault.code) == Severity::error;
}

// The short message, GNU style: lower case, no final period, names quoted. A
// fault of an included file or an expansion says where it stands after it
// (", in FILE:LINE" with the file's name, or ", in the expansion of NAME" for a
// macro of the text itself), unless `sayingWhere` is false.
std::string messageOf(const Fault& fault, bool sayingWhere = true);
// One sentence that says what to do.
std::string_view explanationOf(DiagCode code);
// The code's name, such as "undefined-symbol".
std::string_view nameOf(DiagCode code);

// Arguments longer than this many characters are cut in messages.
constexpr std::size_t maxQuotedLength = 40;
