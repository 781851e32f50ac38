#pragma once

// --help and --version, which every command answers before it looks at any
// other argument, as GNU programs do.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct CommandDescription {
    const char* program;
    const char* usage; // the usage line(s), also printed after a wrong argument
    const char* help;  // what --help prints below the usage
};

// The exit status once `args` asked for the help or the version, printed to
// `out` (a failure to write it told on `err`); nothing when they asked for neither.
std::optional<int> answerHelpOrVersion(const std::vector<std::string>& args,
                                       const CommandDescription& command, std::ostream& out,
                                       std::ostream& err);
