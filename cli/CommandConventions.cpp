#include "CommandConventions.h"

#include "Version.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

bool reachedStandardOutput(std::ostream& out, const char* program, std::ostream& err) {
    if (out.flush())
        return true;
    const int reason = errno;
    err << program
        << ": cannot write standard output: " << (reason != 0 ? std::strerror(reason) : "write error")
        << '\n';
    return false;
}

std::optional<int> answerHelpOrVersion(const std::vector<std::string>& args,
                                       const CommandDescription& command, std::ostream& out,
                                       std::ostream& err) {
    const auto asked = std::find_if(args.begin(), args.end(), [](const std::string& arg) {
        return arg == "--help" || arg == "--version";
    });
    if (asked == args.end())
        return std::nullopt;
    if (*asked == "--help")
        out << command.usage << command.help;
    else
        out << command.program << " (Brenvik) " << brenvikVersion << '\n';
    return reachedStandardOutput(out, command.program, err) ? exitSuccess : exitFailure;
}
