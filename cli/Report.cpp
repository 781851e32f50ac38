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

void writeFinding(std::ostream& err, const std::string& where, bool error, const std::string& message,
                  const std::u16string& line, std::uint32_t column) {
    err << where << ':' << column << ": " << (error ? "error: " : "warning: ") << message << '\n'
        << utf8Of(line) << '\n'
        << caretLine(line, column) << '\n';
}

} // namespace

void writeDiagnostics(std::ostream& err, const std::string& sourceName, const SourceFileText& source,
                      const Assembly& assembly, bool withWarnings) {
    const auto placeText = [&](const SourcePlace& place) {
        return (place.file.empty() ? sourceName : place.file) + ':' + std::to_string(place.line + 1);
    };
    for (const Diagnostic& d : assembly.diagnostics) {
        const bool error = isError(d);
        if (!error && !withWarnings)
            continue;
        if (!d.fault.site) {
            writeFinding(err, sourceName + ':' + std::to_string(d.line + 1), error, messageOf(d.fault),
                         source.line(d.line), d.textColumn);
            continue;
        }
        // Said where it stands in its file or its macro, then how the line of the source reaches it.
        const FaultSite& site = *d.fault.site;
        writeFinding(err, placeText(site.place), error, messageOf(d.fault, false),
                     std::u16string(site.text.begin(), site.text.end()), site.column);
        for (const FaultSite::Step& step : site.steps)
            err << (step.macro.empty() ? "included from " : "in expansion of " + step.macro + " at ")
                << placeText(step.from) << '\n';
    }
}
