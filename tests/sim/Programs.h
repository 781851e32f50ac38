#pragma once

// Machines for the tests: bytes put at an address, or a program assembled and
// loaded where the assembler placed it.

#include "Brenvik.h"
#include "HeadlessTextArea.h"
#include "Machine.h"

#include <string>
#include <vector>

inline void load(Machine& machine, std::uint16_t at, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        machine.memory[(at + i) % Machine::memorySize] = bytes[i];
}

// A program in assembly, one line per string, loaded; empty if it has errors.
inline bool assembleInto(Machine& machine, std::vector<std::string> lines) {
    HeadlessTextArea text(std::move(lines));
    TBrenvikEngine engine(text);
    const Assembly& assembly = engine.run();
    assembly.GetCode([&](std::uint32_t address, std::uint8_t byte) {
        machine.memory[address % Machine::memorySize] = byte;
    });
    return assembly.errorCount == 0;
}
