#pragma once

// What one assembly run produces, as a value: the record of every line, the
// symbol table, the forward references, the totals and the diagnostics. The
// editor, the command line, the simulator and the tests all read it.

#include "ByteList.h"
#include "Diagnostics.h"
#include "WordTable.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// How a source is read: in Brenvik's own syntax, or in that of the Macroassembler
// AS after its CPU 8008 (the mnemonics of 1972) or CPU 8008NEW (those of 1975).
enum class Syntax { native, as8008, as8008new };

struct Assembly {
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
        static constexpr LineCode reserve = -11;   // DS: room without bytes
        static constexpr LineCode noCode = -12;    // a directive with neither bytes nor a location
        static constexpr LineCode expansion = -13; // every byte of a macro's expansion or a repetition

        std::uint32_t value = 0; // location counter at the line, or the ORG / EQU value
        LineCode kind = noStatement;
        ByteList code;     // operand bytes; every byte for DB, DW and LHLI
        bool emits = true; // whether its bytes go into memory: false inside a BSS section
        // Where the line's comment mark begins, 0 for none. A comment that an
        // error's red covers is not marked.
        std::uint32_t comment = 0;

        bool hasOpcode() const { return kind >= 0; }
        std::uint8_t opcode() const { return static_cast<std::uint8_t>(kind & 0xFF); }
        std::size_t size() const { return (hasOpcode() ? 1 : 0) + code.size(); }
    };

    // An operand that named a symbol not yet defined, evaluated again after the pass.
    struct Unresolved {
        std::uint32_t line;
        std::uint32_t column; // where evaluation of the operand began
    };

    // A symbol named in an operand or an EQU expression.
    struct SymbolUse {
        std::uint32_t symbol; // its number in `symbols`
        std::uint32_t line;
        std::uint32_t column;
    };

    // A line of an included file or of a macro's expansion, as assembled for the
    // line of the text that includes or invokes it, which holds its bytes.
    struct ExpandedLine {
        std::uint32_t line;  // that line of the text
        std::uint32_t depth; // 1 for what the line itself expands, 2 within that, ...
        std::uint32_t address;
        Line::LineCode kind; // as a line's: an opcode first in `bytes`, or a directive
        ByteList bytes;      // every byte, at `address` on
        std::string text;    // as assembled, its macro's parameters replaced
    };

    // A use of a symbol in an included file.
    struct IncludedUse {
        std::uint32_t symbol; // its number in `symbols`
        SourcePlace place;
        std::uint32_t column;
        std::string text; // the line
    };

    // What a symbol stands for: its value, and whether that is the location of
    // its line (a label) rather than an EQU's.
    struct Definition {
        std::uint32_t value;
        bool isLabel;
    };

    static constexpr std::uint32_t noLine = 0xFFFFFFFF;

    std::vector<Line> lines;          // one per text line
    WordTable<std::uint32_t> symbols; // upper-case name -> defining line
    std::vector<Unresolved> forwardRefs;
    // Each use of a defined symbol once: by line and column, except that uses
    // found only once the forward references resolve come after the others.
    std::vector<SymbolUse> uses;
    Syntax syntax = Syntax::native;
    std::uint32_t bytesAssembled = 0;
    int errorCount = 0;                  // lines in error
    std::vector<Diagnostic> diagnostics; // errors and warnings, by line and column
    std::vector<ExpandedLine> expanded;  // by the line that holds them, in the order assembled
    // Where in an included file each symbol defined there stands, by its number in
    // `symbols` (no file for the others; empty when no file is included), and the
    // uses of symbols in included files.
    std::vector<SourcePlace> symbolPlaces;
    std::vector<IncludedUse> includedUses;
    // By number in `symbols`, the definitions of those that an included file or an
    // expansion gives: their line is the one that includes or invokes it, whose
    // record says something else; none for the others.
    std::vector<std::optional<Definition>> expandedDefinitions;

    // Every byte of the lines outside BSS sections, in line order, to
    // `put(address, byte)`; a line's expansion puts each of its lines' bytes where
    // that line was assembled, which an ORG within it may have moved.
    template <typename Put> void GetCode(Put&& put) const {
        for (std::uint32_t i = 0; i < lines.size(); ++i) {
            const Line& line = lines[i];
            if (line.kind == Line::expansion) {
                for (const ExpandedLine& expansion : expandedBy(i))
                    for (std::uint32_t k = 0; k < expansion.bytes.size(); ++k)
                        put(expansion.address + k, expansion.bytes[k]);
                continue;
            }
            if (!line.emits)
                continue;
            std::uint32_t address = line.value;
            if (line.hasOpcode())
                put(address++, line.opcode());
            for (const std::uint8_t byte : line.code)
                put(address++, byte);
        }
    }

    // What the symbol numbered `number` in `symbols` stands for.
    Definition definitionOf(std::uint32_t number) const {
        if (number < expandedDefinitions.size() && expandedDefinitions[number])
            return *expandedDefinitions[number];
        const Line& line = lines[symbols.valueAt(number)];
        return {line.value, line.kind != Line::equ};
    }
    // Where line `index`'s comment begins, as its record says; 0 for none or no such line.
    std::uint32_t commentOf(std::size_t index) const {
        return index < lines.size() ? lines[index].comment : 0;
    }
    // The line that defines `name` (upper case), or noLine.
    std::uint32_t symbolLine(std::string_view name) const;
    // The error of line `index`, or null.
    const Diagnostic* errorOf(std::uint32_t index) const;
    // The lines that line `index` includes or expands, in the order assembled.
    std::span<const ExpandedLine> expandedBy(std::uint32_t index) const;
    // Every diagnostic of line `index`.
    std::span<const Diagnostic> diagnosticsOf(std::uint32_t index) const;
};
