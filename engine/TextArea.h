#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A character of the source that has no single-byte code (above U+00FF), at
// its 1-based column. Characters beyond U+FFFF take two columns, one for each
// half of their UTF-16 surrogate pair, as the editor counts them.
struct WideCharacter {
    std::uint32_t column;
    char16_t unit;
};

// The byte a line holds for a character without a single-byte code.
constexpr char wideStandIn = '?';

// One line of source as the assembler reads it: one byte per character, so that
// byte positions are the columns the user sees.
struct SourceLine {
    std::string text;
    // The characters that have no single-byte code, by ascending column; `text`
    // holds a stand-in byte there. Empty for almost every line.
    std::vector<WideCharacter> wide;

    bool isWide(std::uint32_t column) const {
        return column <= text.size() && text[column - 1] == wideStandIn && findWide(column);
    }
    // The character at `column` as typed: its byte, or the UTF-16 unit it stands for.
    char16_t unitAt(std::uint32_t column) const {
        const auto byte = static_cast<unsigned char>(text[column - 1]);
        const WideCharacter* found = byte == wideStandIn ? findWide(column) : nullptr;
        return found ? found->unit : byte;
    }

  private:
    const WideCharacter* findWide(std::uint32_t column) const {
        const auto found =
            std::lower_bound(wide.begin(), wide.end(), column,
                             [](const WideCharacter& w, std::uint32_t c) { return w.column < c; });
        return found != wide.end() && found->column == column ? &*found : nullptr;
    }
};

// The lines the assembler reads. The editor gives a snapshot of its document,
// the command line the decoded source file, the tests a list of strings.
class TextArea {
  public:
    virtual ~TextArea() = default;

    // Lines of the text; a final line break does not start another line.
    virtual std::size_t lineCount() const = 0;
    // Fills `out` with line `index` (0-based), reusing its storage.
    virtual void readLine(std::size_t index, SourceLine& out) const = 0;
};
