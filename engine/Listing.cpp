#include "Listing.h"

#include "CodeFormat.h"
#include "SourceText.h"

namespace {

using Line = Assembly::Line;

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
    const auto writeLine = [&](const Line& record, const std::string& before, const std::string& text) {
        CodeRow row = codeRow(record, bytesPerRow, 0);
        writeRow(out, before, codeField(row), text);
        while (row.nextByte < record.code.size()) {
            row = codeRow(record, bytesPerRow, row.nextByte);
            writeRow(out, std::string(before.size(), ' '), codeField(row), "");
        }
    };
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string before = prefix ? prefix(i) : std::string();
        if (records[i].kind != Line::expansion) {
            writeLine(records[i], before, expandTabs(source(i)));
        } else { // its address here, its bytes with the lines that made them
            Line addressOnly;
            addressOnly.value = records[i].value;
            addressOnly.kind = Line::reserve;
            writeLine(addressOnly, before, expandTabs(source(i)));
        }
        // Each line it included or expanded, a '+' for each level before it.
        for (const Assembly::ExpandedLine& expansion : assembly.expandedBy(static_cast<std::uint32_t>(i))) {
            Line record;
            record.value = expansion.address;
            record.kind = expansion.kind;
            for (std::size_t k = record.hasOpcode() ? 1 : 0; k < expansion.bytes.size(); ++k)
                record.code.push_back(expansion.bytes[k]);
            std::u16string text(expansion.depth, u'+');
            text.append(expansion.text.begin(), expansion.text.end());
            writeLine(record, std::string(before.size(), ' '), expandTabs(text));
        }
    }
}
