#pragma once

// A program assembled headless, with one-line helpers for what tests look at.

#include "Brenvik.h"
#include "HeadlessTextArea.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

using Bytes = ByteList;
using ErrorColumns = std::map<std::uint32_t, std::uint32_t>; // 0-based line -> 1-based column

struct Assembled {
    HeadlessTextArea text;
    TBrenvikEngine engine{text};
    const Assembly& assembly;

    explicit Assembled(std::vector<std::string> lines) : text(std::move(lines)), assembly(engine.run()) {}

    const Assembly::Line& record(std::size_t line) const { return assembly.lines.at(line); }

    // The line's bytes in address order: the opcode, if any, then `code`.
    Bytes bytes(std::size_t line) const {
        const auto& r = record(line);
        Bytes all;
        if (r.hasOpcode())
            all.push_back(r.opcode());
        for (const std::uint8_t byte : r.code)
            all.push_back(byte);
        return all;
    }

    // Where the red of each line in error begins.
    ErrorColumns errors() const {
        ErrorColumns columns;
        for (const Diagnostic& d : assembly.diagnostics)
            if (isError(d))
                columns.emplace(d.line, d.column);
        return columns;
    }

    // The codes of every diagnostic, in order.
    std::vector<DiagCode> codes() const {
        std::vector<DiagCode> all;
        for (const Diagnostic& d : assembly.diagnostics)
            all.push_back(d.fault.code);
        return all;
    }

    std::vector<std::pair<std::uint32_t, std::uint8_t>> code() const {
        std::vector<std::pair<std::uint32_t, std::uint8_t>> out;
        assembly.GetCode([&](std::uint32_t address, std::uint8_t byte) { out.emplace_back(address, byte); });
        return out;
    }
};
