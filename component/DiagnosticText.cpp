#include "DiagnosticText.h"

QString diagnosticText(const Diagnostic& diagnostic) {
    return QString::fromLatin1(isError(diagnostic) ? "error: " : "warning: ") +
           QString::fromStdString(messageOf(diagnostic.fault));
}

QString explanationHtml(std::span<const Diagnostic> diagnostics) {
    QString html;
    for (const Diagnostic& d : diagnostics) {
        const std::string_view explanation = explanationOf(d.fault.code);
        html += QStringLiteral("<p style='white-space:pre'>%1</p><p>%2</p>")
                    .arg(diagnosticText(d).toHtmlEscaped(),
                         QString::fromUtf8(explanation.data(), static_cast<qsizetype>(explanation.size()))
                             .toHtmlEscaped());
    }
    return html;
}
