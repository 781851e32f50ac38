#include "Report.h"

#include "CodeFormat.h"

namespace {

constexpr std::size_t codeFieldWidth = 20;
constexpr std::size_t bytesColumn = 8;
constexpr std::size_t bytesPerRow = 3;
constexpr std::size_t tabWidth = 8;

bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::string codeField(const CodeRow& row) {
    std::string field = row.address;
    if (!row.bytes.empty()) {
        field.resize(std::max(bytesColumn - 1, field.size() + 1), ' ');
        field += row.bytes;
    }
    return field;
}

void writeRow(std::ostream& out, std::string field, const std::string& source) {
    if (source.empty()) {
        field.erase(field.find_last_not_of(' ') + 1);
    } else {
        field.resize(std::max(codeFieldWidth, field.size() + 1), ' ');
    }
    out << field << source << '\n';
}

// The line with each tab replaced by the blanks up to the next stop.
std::string expandTabs(std::u16string_view line) {
    std::u16string expanded;
    std::size_t column = 0;
    for (const char16_t unit : line) {
        if (unit == u'\t') {
            expanded.append(tabWidth - column % tabWidth, u' ');
            column += tabWidth - column % tabWidth;
        } else {
            expanded += unit;
            column += isLowSurrogate(unit) ? 0 : 1;
        }
    }
    return utf8Of(expanded);
}

// Blanks up to `column`, with the line's own tabs, so that the caret lines up
// under any tab width.
std::string caretLine(std::u16string_view line, std::uint32_t column) {
    std::string caret;
    for (std::size_t k = 0; k + 1 < column; ++k) {
        if (k < line.size() && isLowSurrogate(line[k]))
            continue;
        caret += k < line.size() && line[k] == u'\t' ? '\t' : ' ';
    }
    return caret + '^';
}

} // namespace

void writeListing(std::ostream& out, const Assembly& assembly, const SourceFileText& source) {
    const auto& records = assembly.lines;
    for (std::size_t i = 0; i < records.size(); ++i) {
        CodeRow row = codeRow(records[i], bytesPerRow, 0);
        writeRow(out, codeField(row), expandTabs(source.line(i)));
        while (row.nextByte < records[i].code.size()) {
            row = codeRow(records[i], bytesPerRow, row.nextByte);
            writeRow(out, codeField(row), "");
        }
    }
}

void writeDiagnostics(std::ostream& err, const std::string& sourceName, const SourceFileText& source,
                      const Assembly& assembly, bool withWarnings) {
    for (const Diagnostic& d : assembly.diagnostics) {
        const bool error = isError(d);
        if (!error && !withWarnings)
            continue;
        const std::u16string line = source.line(d.line);
        err << sourceName << ':' << d.line + 1 << ':' << d.column << ": " << (error ? "error: " : "warning: ")
            << messageOf(d.fault) << '\n'
            << utf8Of(line) << '\n'
            << caretLine(line, d.column) << '\n';
    }
}
