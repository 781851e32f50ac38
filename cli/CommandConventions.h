#pragma once

// What every command shares, as GNU programs do: the exit statuses of success
// and failure, a failed write to standard output told, and --help and
// --version answered before any other argument is looked at.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

constexpr int exitSuccess = 0;
constexpr int exitSourceErrors = 1; // lines of the source are in error
constexpr int exitFailure = 2;      // a file or standard output failed, or the arguments were wrong

struct CommandDescription {
    const char* program;
    const char* usage; // the usage line(s), also printed after a wrong argument
    const char* help;  // what --help prints below the usage
};

// Whether everything written to `out` so far has reached it; says why not on `err`.
bool reachedStandardOutput(std::ostream& out, const char* program, std::ostream& err);

// The exit status once `args` asked for the help or the version, printed to
// `out` (a failure to write it told on `err`); nothing when they asked for neither.
std::optional<int> answerHelpOrVersion(const std::vector<std::string>& args,
                                       const CommandDescription& command, std::ostream& out,
                                       std::ostream& err);
