#include "Listing.h"

#include "CodeFormat.h"
#include "SourceText.h"

namespace {

constexpr std::size_t codeFieldWidth = 20;
constexpr std::size_t bytesColumn = 8;
constexpr std::size_t bytesPerRow = 3;
constexpr std::size_t tabWidth = 8;

std::string codeField(const CodeRow& row) {
    std::string field = row.address;
    if (!row.bytes.empty()) {
        field.resize(std::max(bytesColumn - 1, field.size() + 1), ' ');
        field += row.bytes;
    }
    return field;
}

void writeRow(std::ostream& out, std::string row, std::string field, const std::string& source) {
    if (source.empty()) {
        row += field;
        row.erase(row.find_last_not_of(' ') + 1);
    } else {
        field.resize(std::max(codeFieldWidth, field.size() + 1), ' ');
        row += field;
    }
    out << row << source << '\n';
}

} // namespace

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

void writeListing(std::ostream& out, const Assembly& assembly, const SourceLines& source,
                  const LinePrefix& prefix) {
    const auto& records = assembly.lines;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string before = prefix ? prefix(i) : std::string();
        CodeRow row = codeRow(records[i], bytesPerRow, 0);
        writeRow(out, before, codeField(row), expandTabs(source(i)));
        while (row.nextByte < records[i].code.size()) {
            row = codeRow(records[i], bytesPerRow, row.nextByte);
            writeRow(out, std::string(before.size(), ' '), codeField(row), "");
        }
    }
}
