#include "StandardOptions.h"

#include "Version.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int exitAnswered = 0;
constexpr int exitCannotWrite = 2;

} // namespace

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
    if (out.flush())
        return exitAnswered;
    err << command.program << ": cannot write standard output: " << std::strerror(errno) << '\n';
    return exitCannotWrite;
}
