#pragma once

// A source file as the command-line programs read it: its bytes decoded into
// lines, then assembled by the engine.

#include "Brenvik.h"
#include "SourceText.h"

#include <optional>
#include <string>

class SourceFile {
public:
    // False, with the reason, when the file cannot be read.
    bool load(const std::string& path, std::string& reason);
    const SourceFileText& text() const { return *source; }
    const Assembly& assemble();

private:
    std::optional<SourceFileText> source;
    std::optional<TBrenvikEngine> engine; // reads `source`
};
