#include "Diagnostics.h"

#include <array>

namespace {

struct Entry {
    DiagCode code;
    Severity severity;
    std::string_view message; // %0 and %1 stand for the fault's argument and detail
    std::string_view explanation;
};

using enum Severity;
using enum DiagCode;

// Every code, in the order of the enumeration.
// clang-format off
constexpr std::array messageTable{
    Entry{none, error, "", ""},
    Entry{unknownMnemonic, error, "unknown instruction or directive '%0'",
          "Check the spelling: the MCS-8 mnemonics (LAB, LAI, ADM, JMP, CAL ...) and the directives ORG, EQU, "
          "DB, DW, BSS, DATA, CODE, TITLE and END are known."},
    Entry{expectedMnemonic, error, "expected an instruction or directive, found '%0'",
          "After a label comes a mnemonic or directive; a comment begins with ';' or '*'."},
    Entry{notALabel, error, "'%0' in column 1 is not a label",
          "Labels begin with a letter in column 1; indent a statement with a tab or blanks."},
    Entry{missingOperand, error, "missing operand", "Write the value this statement needs after its mnemonic."},
    Entry{missingOperandAfter, error, "missing operand after '%0'", "Every operator needs a value on its right."},
    Entry{notAnOperand, error, "'%0' cannot begin an operand",
          "An operand is a number, a name, a character in double quotes, or an expression in parentheses."},
    Entry{undefinedSymbol, error, "undefined symbol '%0'",
          "Define the name as a label or with EQU, or check its spelling."},
    Entry{noForwardReference, error, "'%0' is used before it is defined; %1 takes no forward references",
          "Define the name above this line, or write the value as a constant."},
    Entry{forwardInParentheses, error, "'%0' is used before it is defined; no forward references inside parentheses",
          "Define the name above this line, or write the expression without parentheses."},
    Entry{symbolWithoutValue, error, "'%0' has no value because its definition is in error",
          "Correct the line that defines the name."},
    Entry{symbolResolvedLater, error, "the value of '%0' is not known here; it depends on a name defined further down",
          "Move the EQU that defines it, and the names it uses, above this line."},
    Entry{valueTooLarge, error, "value %0 does not fit in 16 bits", "Values run from 0 to 65535 (177777B)."},
    Entry{symbolTooLarge, error, "the value of '%0' does not fit in 16 bits",
          "Values run from 0 to 65535 (177777B); look at the line that defines the name."},
    Entry{divisionByZero, error, "division by zero", "The value right of '/' must not be 0."},
    Entry{remainderByZero, error, "remainder by zero", "The value right of '%' must not be 0."},
    Entry{missingParenthesis, error, "missing closing parenthesis", "Close every '(' with a ')'."},
    Entry{unknownModifier, error, "unknown modifier '%0'; use 'HI, 'HIGH, 'LO or 'LOW",
          "A modifier follows a number or name directly and selects its high or low byte."},
    Entry{missingModifier, error, "an apostrophe must be followed by HI, HIGH, LO or LOW",
          "A modifier follows a number or name directly and selects its high or low byte."},
    Entry{octalDigit, error, "digit %1 in octal constant %0", "Octal constants use the digits 0 to 7 before the B."},
    Entry{badCharacterConstant, error, "a character constant holds exactly one character",
          "Write one character between double quotes, such as \"A\"; use DB for a string."},
    Entry{wideCharacter, error, "character '%0' has no 8-bit code",
          "Strings and character constants take the characters of Latin-1 (codes 0 to 255) only."},
    Entry{tooDeep, error, "expression nested deeper than %0 levels",
          "Split the expression, or define parts of it with EQU."},
    Entry{unexpectedText, error, "unexpected '%0' after the statement",
          "Begin a comment with ';' or '*', or remove the extra text."},
    Entry{noOperandTaken, error, "%0 takes no operand", "Remove the operand, or begin a comment with ';'."},
    Entry{unclosedString, error, "missing closing quote", "End the string with a double quote."},
    Entry{mnemonicAsLabel, error, "'%0' in column 1 is read as a label, not as an instruction or directive",
          "Only labels start in column 1: indent the statement with a tab or blanks."},
    Entry{locationPast16Bits, error, "location %0 is past 177777B, the last 16-bit address",
          "A HEX file holds addresses 0 to 177777B only: lower the ORG above, or place fewer bytes."},
    Entry{labelRedefined, warning, "'%0' is defined again; the earlier definition is on line %1",
          "Lines below and forward references take the later definition; rename one of them if that is not "
          "meant."},
    Entry{labelLikeStatement, warning, "label '%0' has the name of an instruction or directive",
          "Only labels start in column 1: indent the line to make it a statement."},
    Entry{immediateRange, warning, "immediate value %0 does not fit in a byte; its low byte, %1, is used",
          "An immediate operand is one byte, -128 to 255; only its low byte is assembled."},
    Entry{addressRange, warning, "address %0 is beyond the 8008's 14-bit address space; the processor goes to %1",
          "The 8008 addresses 000000 to 037777 and ignores the two highest bits of an address."},
    Entry{restartNumber, warning, "RST %0 is RST %1", "Restart numbers are 0 to 7 (RST n calls 8 times n); only the "
                                                      "low 3 bits of the operand count."},
    Entry{inputPort, warning, "INP %0 reads input port %1",
          "Input ports are 0 to 7; only the low 3 bits of the operand count."},
    Entry{outputPort, warning, "OUT %0 writes output port %1",
          "Output ports are 8 to 31: OUT 0 to 7 reach ports 8 to 15, and only the low 5 bits of the operand "
          "count."},
    Entry{undefinedInstruction, warning, "%0 (opcode %1) is not a defined 8008 instruction",
          "The 8008 cannot increment or decrement M: load it into a register, change that, and store it back."},
    Entry{haltingLoad, warning, "LMM (opcode 377) executes as a halt",
          "377 is one of the 8008's halt opcodes; write HLT if a halt is meant."},
    Entry{beyondAddressSpace, warning, "location %0 is beyond the 8008's 14-bit address space",
          "The 8008 addresses 000000 to 037777; bytes placed higher are not where the processor looks."},
    Entry{overlap, warning, "bytes overlap those of line %0",
          "An ORG has placed this code over code assembled earlier; the later bytes win when the HEX file is "
          "loaded."},
    Entry{badNumber, error, "'%0' is not a number in base %1",
          "A suffix gives the base: H hexadecimal, B binary, O or Q octal; without one the RADIX holds (10 "
          "unless set). A hexadecimal number begins with a digit, such as 0FFH."},
    Entry{badEscape, error, "unknown escape sequence '%0'",
          "The escapes are \\a \\b \\e \\t \\n \\r \\\\ \\\" \\', \\x with two hexadecimal digits, and a "
          "backslash with up to three decimal digits."},
    Entry{unknownFunction, error, "unknown function '%0'",
          "Define it with FUNCTION above this line; INCLUDE \"bitfuncs.inc\" defines hi, lo and the other bit "
          "functions."},
    Entry{argumentCount, error, "%0 takes %1", "Give the function as many arguments as it has parameters."},
    Entry{outOfRange, error, "value %0 is out of range for %1",
          "Write a value in the range named, or take its part with hi() or lo()."},
    Entry{badRegister, error, "'%0' is not a register that %1 takes",
          "The registers are A, B, C, D, E, H, L and M (memory at H and L); some instructions take only some."},
    Entry{operandCount, error, "%0 takes %1", "Give the instruction or directive the operands it takes, separated "
                                              "by commas."},
    Entry{symbolDefinedTwice, error, "'%0' is already defined on line %1",
          "A label or EQU defines its name once; use SET or := for a name whose value changes."},
    Entry{includeNotRead, error, "cannot read the included file '%0'",
          "A file is looked for beside the file that includes it; \"bitfuncs.inc\", when there is none there, "
          "is served from Brenvik's own definitions."},
    Entry{unknownCpu, error, "'%0' is not an 8008 processor; use CPU 8008 or CPU 8008NEW",
          "Brenvik assembles for the 8008: CPU 8008 takes the mnemonics of 1972, CPU 8008NEW those of 1975."},
    Entry{restartAddress, error, "RST %0 is not a restart address",
          "RST takes the address it calls, 0, 8, 16 ... 56, or the restart number 0 to 7."},
    Entry{unclosedConditional, error, "IF without ENDIF",
          "Close the condition with ENDIF; what follows it up to the end is assembled only if it holds."},
    Entry{unmatchedConditional, error, "'%0' without its IF",
          "ELSEIF, ELSE and ENDIF follow an IF, IFDEF or IFNDEF, and ELSE comes last before ENDIF."},
    Entry{unclosedMacro, error, "%0 without ENDM",
          "End the lines that the MACRO or REPT holds with ENDM; until then none of them is assembled."},
    Entry{expansionTooLarge, error, "the expansion holds more than %0 lines",
          "Macros that invoke macros several times over, or repetitions within repetitions, multiply: "
          "expand fewer of them."},
    Entry{includeCycle, error, "'%0' includes itself",
          "A file that is being read cannot be included again from within itself or from a file it includes."},
    Entry{includeTooDeep, error, "files included within each other deeper than %0",
          "Include the innermost files from a file further out."},
    Entry{unmatchedEndm, error, "'%0' without its MACRO or REPT",
          "ENDM ends the lines that a MACRO or a REPT holds: open one before it, or delete it."},
};
// clang-format on

// Every code's name, in the order of the enumeration: what tools outside
// report as the diagnostic's code, which stays when codes are added.
// clang-format off
constexpr std::array<std::string_view, messageTable.size()> codeNames{
    "none", "unknown-mnemonic", "expected-mnemonic", "not-a-label", "missing-operand",
    "missing-operand-after", "not-an-operand", "undefined-symbol", "no-forward-reference",
    "forward-in-parentheses", "symbol-without-value", "symbol-resolved-later", "value-too-large",
    "symbol-too-large", "division-by-zero", "remainder-by-zero", "missing-parenthesis", "unknown-modifier",
    "missing-modifier", "octal-digit", "bad-character-constant", "wide-character", "too-deep",
    "unexpected-text", "no-operand-taken", "unclosed-string", "mnemonic-as-label", "location-past-16-bits",
    "label-redefined", "label-like-statement", "immediate-range", "address-range", "restart-number",
    "input-port", "output-port", "undefined-instruction", "halting-load", "beyond-address-space", "overlap",
    "bad-number", "bad-escape", "unknown-function", "argument-count", "out-of-range", "bad-register",
    "operand-count", "symbol-defined-twice", "include-not-read", "unknown-cpu", "restart-address",
    "unclosed-conditional", "unmatched-conditional", "unclosed-macro", "expansion-too-large", "include-cycle",
    "include-too-deep", "unmatched-endm",
};
// clang-format on
static_assert(!codeNames.back().empty(), "every code has a name");

constexpr bool inEnumerationOrder() {
    for (std::size_t i = 0; i < messageTable.size(); ++i)
        if (static_cast<std::size_t>(messageTable[i].code) != i)
            return false;
    return true;
}
static_assert(inEnumerationOrder(), "the message table lists every code in the order of DiagCode");
static_assert(messageTable.back().code == unmatchedEndm, "the message table ends with the last code");

const Entry& entryOf(DiagCode code) {
    return messageTable[static_cast<std::size_t>(code)];
}

// `text` (UTF-8) cut after maxQuotedLength characters.
std::string_view shortened(std::string_view text, bool& cut) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == maxQuotedLength) {
            cut = true;
            return text.substr(0, i);
        }
    cut = false;
    return text;
}

} // namespace

Severity severityOf(DiagCode code) {
    return entryOf(code).severity;
}

std::string messageOf(const Fault& fault, bool sayingWhere) {
    const std::string_view pattern = entryOf(fault.code).message;
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == '0' || pattern[i + 1] == '1')) {
            bool cut = false;
            text += shortened(pattern[++i] == '0' ? fault.argument : fault.detail, cut);
            if (cut)
                text += "...";
        } else {
            text += pattern[i];
        }
    }
    if (!sayingWhere || !fault.site || fault.site->steps.empty())
        return text;
    // In another file: that file's name and line; in the text: the expansion it stands in.
    const FaultSite& site = *fault.site;
    if (site.place.file.empty())
        return text + ", in the expansion of " + site.steps.front().macro;
    const std::size_t slash = site.place.file.find_last_of("/\\");
    return text + ", in " + site.place.file.substr(slash == std::string::npos ? 0 : slash + 1) + ':' +
           std::to_string(site.place.line + 1);
}

std::string_view nameOf(DiagCode code) {
    return codeNames[static_cast<std::size_t>(code)];
}

std::string_view explanationOf(DiagCode code) {
    return entryOf(code).explanation;
}
