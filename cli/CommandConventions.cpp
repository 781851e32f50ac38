#include "CommandConventions.h"

#include "Version.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

bool ArgumentReader::next() {
    if (index == args.size())
        return false;
    current = args[index++];
    attached.reset();
    const std::size_t equals = current.find('=');
    if (current.starts_with("--") && equals != std::string::npos) {
        attached = current.substr(equals + 1);
        current.resize(equals);
    }
    return true;
}

bool ArgumentReader::value(std::string& value, std::string& reason) {
    if (attached) {
        value = *attached;
    } else if (index < args.size()) {
        value = args[index++];
    } else {
        reason = current + " needs a value";
        return false;
    }
    if (value.empty())
        reason = current + " needs a value, not an empty one";
    return !value.empty();
}

bool reachedOutput(std::ostream& out, const std::string& name, const char* program, std::ostream& err) {
    if (out.flush())
        return true;
    const int reason = errno;
    err << program << ": cannot write " << name << ": "
        << (reason != 0 ? std::strerror(reason) : "write error") << '\n';
    return false;
}

bool reachedStandardOutput(std::ostream& out, const char* program, std::ostream& err) {
    return reachedOutput(out, "standard output", program, err);
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

std::optional<std::uint64_t> decimalCount(const std::string& text) {
    constexpr std::size_t maxDigits = 19; // below 2^64
    const bool digits = std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (text.empty() || text.size() > maxDigits || !digits)
        return std::nullopt;
    return std::stoull(text);
}
