#pragma once

// What must hold after any run, whatever the source: checked by the fuzz target
// on generated input and by the corpus replay test on every stored input.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CheckedRun {
    std::vector<std::string> problems; // every broken invariant; empty when all hold
    int errors;
    std::uint32_t bytesAssembled;
};

// Splits `bytes` into lines at each line feed (a byte 0x01 stands for a character
// without a single-byte code) and runs the engine over them twice.
CheckedRun checkedRun(std::string_view bytes);
