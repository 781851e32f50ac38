#include "SourceFile.h"

#include "Files.h"

#include <cctype>

bool SourceFile::load(const std::string& path, std::string& reason) {
    std::string bytes;
    if (!readWholeFile(path, bytes, reason))
        return false;
    setBytes(std::move(bytes));
    return true;
}

void SourceFile::setBytes(std::string bytes) {
    engine.reset();
    source.emplace(std::move(bytes));
}

const Assembly& SourceFile::assemble() {
    engine.emplace(*source);
    return engine->run();
}

std::optional<std::uint32_t> SourceFile::evaluate(std::string_view expression) const {
    std::string upper(expression);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::uint32_t pos = 1;
    const auto last = static_cast<std::uint32_t>(upper.size());
    const std::uint32_t value = engine->expr(upper, pos, last);
    if (value > 0xFFFF || pos <= last)
        return std::nullopt;
    return value;
}
