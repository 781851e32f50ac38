#include "SourceFile.h"

#include "Files.h"

bool SourceFile::load(const std::string& path, std::string& reason) {
    std::string bytes;
    if (!readWholeFile(path, bytes, reason))
        return false;
    engine.reset();
    source.emplace(std::move(bytes));
    return true;
}

const Assembly& SourceFile::assemble() {
    engine.emplace(*source);
    return engine->run();
}
