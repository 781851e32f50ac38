#pragma once

// A program assembled headless, with one-line helpers for what tests look at.

#include "Brenvik.h"
#include "HeadlessTextArea.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
using ErrorColumns = std::map<std::uint32_t, std::uint32_t>; // 0-based line -> 1-based column

struct Assembly {
    HeadlessTextArea text;
    TBrenvikEngine engine{text};

    explicit Assembly(std::vector<std::string> lines) : text(std::move(lines)) { engine.run(); }

    const TBrenvikEngine::Line& record(std::size_t line) const { return engine.GetLineRecords().at(line); }

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

    ErrorColumns errors() const { return text.errorColumns(); }

    std::vector<std::pair<std::uint32_t, std::uint8_t>> code() const {
        std::vector<std::pair<std::uint32_t, std::uint8_t>> out;
        engine.GetCode([&](std::uint32_t address, std::uint8_t byte) { out.emplace_back(address, byte); });
        return out;
    }
};
