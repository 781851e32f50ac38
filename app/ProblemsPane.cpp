#include "ProblemsPane.h"

#include "DiagnosticText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMainWindow>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

namespace {

enum Column { lineColumn, columnColumn, messageColumn };
constexpr int lineRole = Qt::UserRole;
constexpr int columnRole = Qt::UserRole + 1;

} // namespace

TProblemsPane::TProblemsPane(QWidget* parent) : QDockWidget(QStringLiteral("Problems"), parent), list(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("Problems"));
    list->setColumnCount(3);
    list->setHeaderLabels({QStringLiteral("Line"), QStringLiteral("Col"), QStringLiteral("Message")});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->header()->setSectionResizeMode(lineColumn, QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(columnColumn, QHeaderView::ResizeToContents);
    setWidget(list);
    connect(list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        Q_EMIT OnProblem(item->data(lineColumn, lineRole).toInt(), item->data(lineColumn, columnRole).toInt());
    });
    hide();
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
        auto* row = new QTreeWidgetItem({QString::number(d.line + 1), QString::number(d.column), diagnosticText(d)});
        row->setIcon(messageColumn, isError(d) ? errorIcon : warningIcon);
        row->setData(lineColumn, lineRole, static_cast<int>(d.line));
        row->setData(lineColumn, columnRole, static_cast<int>(d.column));
        row->setTextAlignment(lineColumn, Qt::AlignRight);
        row->setTextAlignment(columnColumn, Qt::AlignRight);
        rows.append(row);
    }
    list->addTopLevelItems(rows);
    list->setUpdatesEnabled(true);

    if (count > 0 && isHidden() && !closedByUser) {
        shownForProblems = true;
        show();
        // A few rows, not half the window, the first time.
        if (auto* window = qobject_cast<QMainWindow*>(parentWidget()); window && !sized) {
            constexpr int rowsShown = 6;
            window->resizeDocks({this}, {(rowsShown + 2) * list->fontMetrics().height()}, Qt::Vertical);
            sized = true;
        }
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

const Diagnostic* nextProblem(const std::vector<Diagnostic>& problems, std::uint32_t line, std::uint32_t column,
                              bool forward) {
    if (problems.empty())
        return nullptr;
    const auto before = [](const Diagnostic& d, std::pair<std::uint32_t, std::uint32_t> at) {
        return std::pair(d.line, d.column - 1) < at;
    };
    if (forward) {
        // The first one past the caret, or the first of all.
        const auto found = std::upper_bound(problems.begin(), problems.end(), std::pair(line, column),
                                            [](std::pair<std::uint32_t, std::uint32_t> at, const Diagnostic& d) {
                                                return at < std::pair(d.line, d.column - 1);
                                            });
        return found == problems.end() ? &problems.front() : &*found;
    }
    const auto found = std::lower_bound(problems.begin(), problems.end(), std::pair(line, column), before);
    return found == problems.begin() ? &problems.back() : &*(found - 1);
}
