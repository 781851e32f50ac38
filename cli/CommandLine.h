#pragma once

#include <ostream>
#include <string>
#include <vector>

// brenvik-asm [-w] [-l] [-o HEXFILE | -o -] SOURCE
// Exit status: 0 no line in error, 1 lines in error, 2 a file could not be read
// or written, or the arguments were wrong.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
