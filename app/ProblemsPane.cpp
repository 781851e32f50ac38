#include "ProblemsPane.h"

#include "DiagnosticText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

TProblemsPane::TProblemsPane(QWidget* parent)
    : TLinesPane(QStringLiteral("Problems"), QStringLiteral("Message"), parent) {
    setObjectName(QStringLiteral("Problems"));
}

void TProblemsPane::showProblems(const Assembly& assembly) {
    const auto& problems = assembly.diagnostics;
    const int count = static_cast<int>(problems.size());
    setWindowTitle(count == 0 ? QStringLiteral("Problems") : QStringLiteral("Problems (%1)").arg(count));
    list->setUpdatesEnabled(false);
    list->clear();
    const QIcon errorIcon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warningIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < std::min(count, maxRows); ++i) {
        const Diagnostic& d = problems[static_cast<std::size_t>(i)];
        // One found in an included file is listed at its own line there.
        const FaultSite* site = d.fault.site.get();
        QTreeWidgetItem* problem = site && !site->place.file.empty()
                                       ? row(site->place.line, site->column, diagnosticText(d),
                                             QFile::decodeName(site->place.file.c_str()))
                                       : row(d.line, d.textColumn, diagnosticText(d));
        problem->setIcon(textColumn, isError(d) ? errorIcon : warningIcon);
        rows.append(problem);
    }
    list->addTopLevelItems(rows);
    list->setUpdatesEnabled(true);

    if (count > 0 && isHidden() && !closedByUser) {
        shownForProblems = true;
        showFewRows();
    } else if (count == 0 && shownForProblems) {
        shownForProblems = false;
        hide();
    }
}

void TProblemsPane::open() {
    closedByUser = false;
    shownForProblems = false;
    show();
    raise();
}

void TProblemsPane::closeEvent(QCloseEvent* event) {
    closedByUser = true;
    shownForProblems = false;
    QDockWidget::closeEvent(event);
}

const Diagnostic* nextProblem(const std::vector<Diagnostic>& problems, std::uint32_t line,
                              std::uint32_t column, bool forward) {
    if (problems.empty())
        return nullptr;
    const auto before = [](const Diagnostic& d, std::pair<std::uint32_t, std::uint32_t> at) {
        return std::pair(d.line, d.column - 1) < at;
    };
    if (forward) {
        // The first one past the caret, or the first of all.
        const auto found =
            std::upper_bound(problems.begin(), problems.end(), std::pair(line, column),
                             [](std::pair<std::uint32_t, std::uint32_t> at, const Diagnostic& d) {
                                 return at < std::pair(d.line, d.column - 1);
                             });
        return found == problems.end() ? &problems.front() : &*found;
    }
    const auto found = std::lower_bound(problems.begin(), problems.end(), std::pair(line, column), before);
    return found == problems.begin() ? &problems.back() : &*(found - 1);
}
