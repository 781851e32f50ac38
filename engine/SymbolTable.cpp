#include "SymbolTable.h"

#include "CodeFormat.h"

#include <algorithm>

namespace {

std::vector<SymbolEntry> byName(std::vector<SymbolEntry> entries) {
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return entries;
}

} // namespace

std::vector<SymbolEntry> symbolEntries(const Assembly& program) {
    std::vector<SymbolEntry> entries;
    entries.reserve(program.symbols.size());
    program.symbols.forEach([&](std::string_view name, std::uint32_t line) {
        const Assembly::Definition definition =
            program.definitionOf(static_cast<std::uint32_t>(entries.size()));
        entries.push_back({std::string(name), definition.value, line, {}, definition.isLabel});
    });
    for (const Assembly::SymbolUse& use : program.uses)
        entries[use.symbol].useLines.push_back(use.line);
    for (SymbolEntry& entry : entries) {
        std::sort(entry.useLines.begin(), entry.useLines.end());
        entry.useLines.erase(std::unique(entry.useLines.begin(), entry.useLines.end()), entry.useLines.end());
    }
    return entries;
}

std::string symbolTableText(const Assembly& program) {
    std::string text;
    for (const SymbolEntry& symbol : byName(symbolEntries(program)))
        text += symbol.name + ' ' + octalText(symbol.value, 6) + ' ' + std::to_string(symbol.line + 1) + '\n';
    return text;
}

std::string crossReferenceText(const Assembly& program) {
    const std::vector<SymbolEntry> symbols = byName(symbolEntries(program));
    std::size_t nameWidth = std::string_view("SYMBOL").size();
    for (const SymbolEntry& symbol : symbols)
        nameWidth = std::max(nameWidth, symbol.name.size());
    const auto row = [&](std::string name, const std::string& value, const std::string& line,
                         const std::string& uses) {
        name.resize(nameWidth, ' ');
        std::string defined = line;
        defined.insert(0, defined.size() < 6 ? 6 - defined.size() : 0, ' ');
        std::string text = name + "  " + value + "  " + defined + "  " + uses;
        text.erase(text.find_last_not_of(' ') + 1);
        return text + '\n';
    };
    std::string text = "\nCROSS-REFERENCE\n\n" + row("SYMBOL", "VALUE ", "LINE", "USED ON LINES");
    for (const SymbolEntry& symbol : symbols) {
        std::string uses;
        for (const std::uint32_t line : symbol.useLines)
            uses += (uses.empty() ? "" : " ") + std::to_string(line + 1);
        text += row(symbol.name, octalText(symbol.value, 6), std::to_string(symbol.line + 1), uses);
    }
    return text;
}
