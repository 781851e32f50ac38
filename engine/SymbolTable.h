#pragma once

// The symbols of an assembled program as people read them: each with its value,
// the line that defines it and the lines that use it; as a table and as the
// cross-reference after a listing.

#include "Assembly.h"

#include <cstdint>
#include <string>
#include <vector>

struct SymbolEntry {
    std::string name;
    std::uint32_t value;                 // above 0xFFFF when its definition failed
    std::uint32_t line;                  // the defining line, 0-based
    std::vector<std::uint32_t> useLines; // 0-based, ascending, each once
    bool isLabel;                        // its value is the location of its line, not an EQU's
};

// Every symbol of `program`, in the order of definition.
std::vector<SymbolEntry> symbolEntries(const Assembly& program);

// One line per symbol, sorted by name: "NAME VALUE LINE", the value in six octal
// digits and the line 1-based.
std::string symbolTableText(const Assembly& program);

// A heading, then one line per symbol, sorted by name: the name, its value in
// octal, its defining line and the lines that use it (all 1-based).
std::string crossReferenceText(const Assembly& program);
