#include "Report.h"

#include "CodeFormat.h"

namespace {

constexpr std::size_t codeFieldWidth = 20;
constexpr std::size_t bytesColumn = 8;
constexpr std::size_t bytesPerRow = 3;

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

} // namespace

void writeListing(std::ostream& out, const TBrenvikEngine& engine, const SourceFile& source) {
    const auto& records = engine.GetLineRecords();
    for (std::size_t i = 0; i < records.size(); ++i) {
        CodeRow row = codeRow(records[i], bytesPerRow, 0);
        writeRow(out, codeField(row), source.rawLines[i]);
        while (row.nextByte < records[i].code.size()) {
            row = codeRow(records[i], bytesPerRow, row.nextByte);
            writeRow(out, codeField(row), "");
        }
    }
}

void writeErrors(std::ostream& err, const std::string& sourceName, const SourceFile& source,
                 const std::map<std::uint32_t, std::uint32_t>& errorColumns) {
    for (const auto& [line, column] : errorColumns) {
        err << sourceName << ':' << line + 1 << ':' << column << ": error\n";
        err << source.rawLines[line] << '\n';
        // Keep the tabs before the column, so the caret lines up under any tab width.
        const std::string& text = source.lines[line].text;
        for (std::size_t k = 0; k + 1 < column && k < text.size(); ++k)
            err << (text[k] == '\t' ? '\t' : ' ');
        for (std::size_t k = text.size(); k + 1 < column; ++k)
            err << ' ';
        err << "^\n";
    }
}
