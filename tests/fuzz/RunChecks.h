#pragma once

// What must hold after any run, whatever the source: checked by the fuzz target
// on generated input and by the corpus replay test on every stored input.

#include <string>
#include <string_view>
#include <vector>

// Splits `bytes` into lines at each line feed (a byte 0x01 stands for a character
// without a single-byte code), runs the engine over them twice and describes
// every broken invariant; empty when all hold.
std::vector<std::string> runProblems(std::string_view bytes);
