#pragma once

// The assembler half of the editor component: it turns the lines of a text area
// into one record per line (address, bytes, mode), counts and marks the faulty
// lines, and hands out the machine code.

#include "TextArea.h"

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <string>
#include <string_view>
#include <vector>

class TBrenvikEngine {
public:
    struct Line {
        // What a line holds: a directive (negative), or an instruction whose low
        // byte is the opcode and whose value / 256 is its number of operand bytes.
        using LineCode = std::int16_t;
        static constexpr LineCode noStatement = -1;
        static constexpr LineCode org = -2;
        static constexpr LineCode db = -3;
        static constexpr LineCode dw = -4;
        static constexpr LineCode equ = -5;
        static constexpr LineCode end = -6;
        static constexpr LineCode title = -7;
        static constexpr LineCode codeMode = -8; // CODE and DATA
        static constexpr LineCode bss = -9;
        static constexpr LineCode lhli = -10;

        std::uint32_t value = 0; // location counter at the line, or the ORG / EQU value
        LineCode kind = noStatement;
        std::vector<std::uint8_t> code; // operand bytes; every byte for DB, DW and LHLI
        bool emit = true;               // false inside a BSS section

        bool hasOpcode() const { return kind >= 0; }
        std::uint8_t opcode() const { return static_cast<std::uint8_t>(kind & 0xFF); }
        std::size_t size() const { return (hasOpcode() ? 1 : 0) + code.size(); }
    };

    // An operand that named a symbol not yet defined, evaluated again by `resolve`.
    struct Unresolved {
        std::uint32_t line;
        std::uint32_t column; // where evaluation of the operand began
    };

    // Evaluator results above 0xFFFF.
    static constexpr std::uint32_t exprUndefined = 0x10000;
    static constexpr std::uint32_t exprError = 0x10001;
    // Operators, unary operators and parentheses nested deeper than this are an error.
    static constexpr unsigned maxExprDepth = 256;

    static constexpr std::uint32_t noLine = 0xFFFFFFFF;

    using CodeSink = std::function<void(std::uint32_t address, std::uint8_t byte)>;

    // Words and names are looked up by string_view without building a string.
    struct WordHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view word) const { return std::hash<std::string_view>{}(word); }
    };
    template <typename T>
    using WordMap = std::unordered_map<std::string, T, WordHash, std::equal_to<>>;

    // Every mnemonic, pseudo-instruction and directive with its code; shared by
    // all instances and filled by the first one constructed.
    static WordMap<Line::LineCode> opcodes;

    explicit TBrenvikEngine(TextArea& textArea);
    virtual ~TBrenvikEngine() = default;
    TBrenvikEngine(const TBrenvikEngine&) = delete;
    TBrenvikEngine& operator=(const TBrenvikEngine&) = delete;

    // One whole run: prepare, assemble every line in order, resolve.
    void run();

    void prepare();
    void assemble(std::uint32_t& pc, std::uint32_t index);
    void resolve();

    void doDbDw(std::uint32_t index, const std::string& upper, const std::string& typed,
                std::uint32_t& pos, Line& line, bool isDw);
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

    // Marks line `index` in error from `column`; a repeat for the line marked just
    // before is ignored, so a pass in line order counts each faulty line once.
    void errorline(std::uint32_t index, std::uint32_t column);

    void GetCode(const CodeSink& sink) const;
    int GetErrorCount() const { return errorCount; }
    std::uint32_t BytesAssembled() const { return bytesAssembled; }

    const std::vector<Line>& GetLineRecords() const { return lineRecords; }
    const std::vector<Unresolved>& GetForwardRefs() const { return forwardRefs; }
    // The line that defines `name` (upper case), or noLine.
    std::uint32_t GetSymbolLine(std::string_view name) const;

private:
    static void fillOpcodes();

    std::uint32_t evaluate(std::uint32_t index, const std::string& upper, std::uint32_t& pos);
    void readUpper(std::uint32_t index);
    bool isWideColumn(std::uint32_t column) const;
    void markCounted(std::uint32_t index, std::uint32_t column);
    void clearMark(std::uint32_t index);

    TextArea& sourceText;
    int errorCount = 0;
    std::uint32_t lastErrorLine = noLine;
    std::uint32_t lastErrorColumn = 0; // where lastErrorLine's red begins
    std::vector<Line> lineRecords;
    WordMap<std::uint32_t> symbols; // name -> defining line
    std::vector<Unresolved> forwardRefs;
    std::uint32_t bytesAssembled = 0;
    std::vector<bool> lineCounted; // lines that count in errorCount

    // The line being assembled: as typed and upper-cased, reused from line to line.
    SourceLine current;
    std::string currentUpper;
    // Set by `term` when a character constant has no single-byte code.
    mutable bool wideValueSeen = false;
};
