#include "Profile.h"

#include "CodeFormat.h"
#include "Disassembler.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace {

// "LINE  ADDRESS  EXECUTIONS      STATES   SHARE  SOURCE"; numbers right-aligned under their headings.
constexpr int lineWidth = 6, countWidth = 12, shareWidth = 8;

std::string rightAligned(const std::string& text, int width) {
    return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(text.size()))), ' ') +
           text;
}

std::string share(std::uint64_t part, std::uint64_t whole) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / whole);
    return text;
}

} // namespace

Profile profileOf(const Program& program, const ExecutionCounts& counts) {
    Profile profile;
    std::unordered_map<int, std::size_t> rowOfLine;
    for (std::uint32_t address = 0; address < Machine::memorySize; ++address) {
        if (counts.executions[address] == 0)
            continue;
        const int line = program.hasLines() ? program.lineOf(static_cast<std::uint16_t>(address)) : -1;
        const auto [row, added] = rowOfLine.try_emplace(line, profile.rows.size());
        if (line < 0 || added) {
            profile.rows.push_back({line, static_cast<std::uint16_t>(address), counts.executions[address],
                                    counts.states[address]});
            continue;
        }
        // Addresses rise, so the row's address is already the line's first instruction's.
        profile.rows[row->second].states += counts.states[address];
    }
    for (const ProfileRow& row : profile.rows) {
        profile.states += row.states;
        profile.executions += row.executions;
    }
    std::sort(profile.rows.begin(), profile.rows.end(), [](const ProfileRow& a, const ProfileRow& b) {
        if (a.states != b.states)
            return a.states > b.states;
        return a.line != b.line ? a.line < b.line : a.address < b.address;
    });
    return profile;
}

ProfileRow lineProfile(const Program& program, const ExecutionCounts& counts, int line) {
    ProfileRow row{line, 0, 0, 0};
    const auto [first, last] =
        program.instructionsOf(static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(line));
    for (const Program::Instruction* instruction = first; instruction != last; ++instruction) {
        if (instruction->address >= Machine::memorySize)
            continue;
        if (instruction == first) {
            row.address = static_cast<std::uint16_t>(instruction->address);
            row.executions = counts.executions[instruction->address];
        }
        row.states += counts.states[instruction->address];
    }
    return row;
}

std::string profileText(const Profile& profile, const Machine& machine, const SourceLines& source) {
    std::string text = rightAligned("LINE", lineWidth) + "  ADDRESS" +
                       rightAligned("EXECUTIONS", countWidth) + rightAligned("STATES", countWidth) +
                       rightAligned("SHARE", shareWidth) + "  SOURCE\n";
    for (const ProfileRow& row : profile.rows) {
        const auto byte = [&](unsigned i) { return machine.memory[(row.address + i) % Machine::memorySize]; };
        const std::string what =
            row.line >= 0 ? expandTabs(source(static_cast<std::size_t>(row.line)))
                          : disassemble(byte(0), static_cast<std::uint16_t>(byte(1) | byte(2) << 8));
        text += rightAligned(row.line >= 0 ? std::to_string(row.line + 1) : "-", lineWidth) + "   " +
                octalText(row.address, 6) + rightAligned(std::to_string(row.executions), countWidth) +
                rightAligned(std::to_string(row.states), countWidth) +
                rightAligned(share(row.states, profile.states), shareWidth) + "  " + what + "\n";
    }
    text += "TOTAL" + std::string(lineWidth - 5 + 2 + 7, ' ') +
            rightAligned(std::to_string(profile.executions), countWidth) +
            rightAligned(std::to_string(profile.states), countWidth) +
            rightAligned(share(profile.states, profile.states), shareWidth) + "\n";
    return text;
}
