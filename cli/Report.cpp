#include "Report.h"

namespace {

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

void writeDiagnostics(std::ostream& err, const std::string& sourceName, const SourceFileText& source,
                      const Assembly& assembly, bool withWarnings) {
    for (const Diagnostic& d : assembly.diagnostics) {
        const bool error = isError(d);
        if (!error && !withWarnings)
            continue;
        const std::u16string line = source.line(d.line);
        err << sourceName << ':' << d.line + 1 << ':' << d.textColumn << ": "
            << (error ? "error: " : "warning: ") << messageOf(d.fault) << '\n'
            << utf8Of(line) << '\n'
            << caretLine(line, d.textColumn) << '\n';
    }
}
