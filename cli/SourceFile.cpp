#include "SourceFile.h"

#include "Files.h"

#include <cctype>

bool SourceFile::load(const std::string& path, std::string& reason) {
    std::string bytes;
    if (!readWholeFile(path, bytes, reason))
        return false;
    setBytes(std::move(bytes));
    sourcePath = path;
    return true;
}

void SourceFile::setBytes(std::string bytes) {
    engine.reset();
    sourcePath.clear();
    source.emplace(std::move(bytes));
}

const Assembly& SourceFile::assemble() {
    engine.emplace(*source);
    engine->setSourcePath(sourcePath);
    return engine->run();
}

std::optional<std::uint32_t> SourceFile::evaluate(std::string_view expression) const {
    return engine->valueOf(expression);
}

namespace {

// The value of hexadecimal digits, or none when they are none or overflow 32 bits.
std::optional<std::uint32_t> hexadecimal(std::string_view digits) {
    constexpr std::size_t maxDigits = 8;
    if (digits.empty() || digits.size() > maxDigits)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}

} // namespace

std::optional<std::uint32_t> SourceFile::evaluateArgument(std::string_view argument) const {
    if (argument.size() > 2 && argument[0] == '0' && (argument[1] == 'x' || argument[1] == 'X'))
        return hexadecimal(argument.substr(2));
    const bool suffixed = argument.size() > 1 && (argument.back() == 'H' || argument.back() == 'h');
    if (suffixed && std::isdigit(static_cast<unsigned char>(argument.front())))
        return hexadecimal(argument.substr(0, argument.size() - 1));
    return evaluate(argument);
}
