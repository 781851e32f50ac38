#pragma once

#include "KeySource.h"

#include <ostream>
#include <string>
#include <vector>

// brenvik-sim [options] PROGRAM: runs an 8008 program, its console on `out` and
// `standardInput`. PROGRAM is an assembly source (.asm), an Intel HEX file
// (.hex), or a binary image (anything else). Exit status: 0 halted, 1 the source
// has errors, 2 a file could not be read or the arguments were wrong, 3 stopped
// by --max-states or an undefined opcode, 4 waiting for input at the end of input.
int runSimulator(const std::vector<std::string>& args, KeySource& standardInput, std::ostream& out,
                 std::ostream& err);
