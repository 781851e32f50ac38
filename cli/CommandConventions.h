#pragma once

// What every command shares, as GNU programs do: the exit statuses of success
// and failure, a failed write to standard output told, and --help and
// --version answered before any other argument is looked at.

#include <cstdint>
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

// A command's arguments, read in order as GNU programs take them: an option's
// value is the next argument or, for a long option, what follows its "=".
class ArgumentReader {
  public:
    explicit ArgumentReader(const std::vector<std::string>& args) : args(args) {}

    // Moves to the next argument; false after the last.
    bool next();
    // The argument, without the "=VALUE" of a long option.
    const std::string& name() const { return current; }
    // Whether it is an option rather than an operand ("-" alone is an operand).
    bool isOption() const { return current.size() > 1 && current[0] == '-'; }
    // Whether a value came attached to an option that takes none.
    bool hasValue() const { return attached.has_value(); }
    // The option's value; false, with the reason, when it has none.
    bool value(std::string& value, std::string& reason);

  private:
    const std::vector<std::string>& args;
    std::size_t index = 0;
    std::string current;
    std::optional<std::string> attached;
};

// A count in decimal digits only, below 2^64; none for any other text.
std::optional<std::uint64_t> decimalCount(const std::string& text);

// Whether everything written to `out` so far has reached it; says why not on
// `err`, naming it `name` ("standard output").
bool reachedOutput(std::ostream& out, const std::string& name, const char* program, std::ostream& err);
bool reachedStandardOutput(std::ostream& out, const char* program, std::ostream& err);

// The exit status once `args` asked for the help or the version, printed to
// `out` (a failure to write it told on `err`); nothing when they asked for neither.
std::optional<int> answerHelpOrVersion(const std::vector<std::string>& args,
                                       const CommandDescription& command, std::ostream& out,
                                       std::ostream& err);
