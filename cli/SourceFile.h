#pragma once

// A source file as the command-line programs read it: its bytes decoded into
// lines, then assembled by the engine.

#include "Brenvik.h"
#include "SourceText.h"

#include <optional>
#include <string>
#include <string_view>

class SourceFile {
  public:
    // False, with the reason, when the file cannot be read.
    bool load(const std::string& path, std::string& reason);
    // The source is `bytes`, as if read from a file.
    void setBytes(std::string bytes);
    const SourceFileText& text() const { return *source; }
    const Assembly& assemble();
    // The value of an expression in the assembler's syntax, with the symbols of
    // the last assembly; none when it is no value.
    std::optional<std::uint32_t> evaluate(std::string_view expression) const;
    // The value of a command-line argument: hexadecimal as board sources write it
    // (0x1F, or 1FH with a leading digit), else an expression as `evaluate` reads it.
    std::optional<std::uint32_t> evaluateArgument(std::string_view argument) const;

  private:
    std::optional<SourceFileText> source;
    std::string sourcePath;               // empty for bytes given as if read
    std::optional<TBrenvikEngine> engine; // reads `source`
};
