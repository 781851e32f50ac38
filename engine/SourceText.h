#pragma once

// Source files as bytes and as text, for the editor and the command line alike.
// A file is read as UTF-8 when it is valid UTF-8 and as Latin-1 otherwise, and
// written back the same way, so that opening and saving a file changes no byte
// the user did not edit. Lines may end with CR LF, LF or CR; they are written
// as the file's first line ends, and a new file's with CR LF. Text is UTF-16, as the editor holds it, so that
// both tools count the same columns and give the same addresses for the same file.

#include "TextArea.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

enum class SourceEncoding { Utf8, Utf8WithBom, Latin1 };
enum class LineEnd { crLf, lf, cr };

struct DecodedSource {
    std::u16string text; // lines separated by '\n'
    SourceEncoding encoding;
    LineEnd lineEnd; // the first line's; CR LF for a file of one line
};

DecodedSource decodeSource(std::string_view bytes);

// Whether `bytes` read as a source at all: no NUL byte, and control characters
// other than tab, line ends and form feed no more than a few in its first part.
// An EPROM image or an object file fails, a source in any encoding passes.
bool looksLikeText(std::string_view bytes);

// `text` (lines separated by '\n') as file bytes. Throws UnencodableText when
// `encoding` cannot hold one of its characters.
std::string encodeSource(std::u16string_view text, SourceEncoding encoding, LineEnd lineEnd = LineEnd::crLf);

class UnencodableText : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The halves of a UTF-16 pair: a character beyond U+FFFF takes both.
inline bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// `text` in UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8Of(std::u16string_view text);
// Columns [from, to) of `line` as typed, in UTF-8; columns past its end are none.
std::string typedColumns(const SourceLine& line, std::uint32_t from, std::uint32_t to);

// One line of text as the assembler reads it: one byte per UTF-16 unit.
void readSourceLine(std::u16string_view line, SourceLine& out);

// A source file's bytes, decoded a line at a time as the assembler reads them:
// what the command line assembles, without holding the file twice.
class SourceFileText : public TextArea {
  public:
    explicit SourceFileText(std::string bytes);

    SourceEncoding encoding() const { return fileEncoding; }
    std::size_t lineCount() const override { return lines.size(); }
    void readLine(std::size_t index, SourceLine& out) const override;
    std::u16string line(std::size_t index) const;

  private:
    struct Span {
        std::uint32_t start, end; // the line's bytes, its line break not included
    };
    std::string_view rawLine(std::size_t index) const;

    std::string bytes;
    SourceEncoding fileEncoding;
    std::vector<Span> lines;
    mutable std::u16string units; // the line being read, decoded
};

// A whole text split into lines at `separator`: a snapshot of the editor's document.
class SourceText : public TextArea {
  public:
    explicit SourceText(std::u16string text = {}, char16_t separator = u'\n');

    std::size_t lineCount() const override { return lineStarts.size() - 1; }
    void readLine(std::size_t index, SourceLine& out) const override { readSourceLine(line(index), out); }
    std::u16string_view line(std::size_t index) const;

  private:
    std::u16string text;
    // Where each line begins, and one entry more: where a line after the last would.
    std::vector<std::size_t> lineStarts;
};
