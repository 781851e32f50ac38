#include "SourceFile.h"

#include "Files.h"

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
    return engine->valueOf(expression);
}
