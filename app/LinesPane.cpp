#include "LinesPane.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QTreeWidget>

namespace {

constexpr int lineRole = Qt::UserRole;
constexpr int columnRole = Qt::UserRole + 1;
constexpr int pathRole = Qt::UserRole + 2;
constexpr int rowsShownAtFirst = 6;

} // namespace

TLinesPane::TLinesPane(const QString& title, const QString& textHeading, QWidget* parent)
    : QDockWidget(title, parent), list(new QTreeWidget(this)) {
    list->setColumnCount(3);
    list->setHeaderLabels({QStringLiteral("Line"), QStringLiteral("Col"), textHeading});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->header()->setSectionResizeMode(lineColumn, QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(columnColumn, QHeaderView::ResizeToContents);
    setWidget(list);
    connect(list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const int line = item->data(lineColumn, lineRole).toInt();
        const int column = item->data(lineColumn, columnRole).toInt();
        const QString path = item->data(lineColumn, pathRole).toString();
        if (path.isEmpty())
            Q_EMIT OnLine(line, column);
        else
            Q_EMIT OnFileLine(path, line, column);
    });
    hide();
}

QTreeWidgetItem* TLinesPane::row(std::uint32_t line, std::uint32_t column, const QString& text,
                                 const QString& path) {
    auto* item = new QTreeWidgetItem({QString::number(line + 1), QString::number(column), text});
    item->setData(lineColumn, lineRole, static_cast<int>(line));
    item->setData(lineColumn, columnRole, static_cast<int>(column));
    if (!path.isEmpty()) {
        item->setData(lineColumn, pathRole, path);
        item->setToolTip(textColumn, path);
    }
    item->setTextAlignment(lineColumn, Qt::AlignRight);
    item->setTextAlignment(columnColumn, Qt::AlignRight);
    return item;
}

void TLinesPane::showFewRows() {
    show();
    if (auto* window = qobject_cast<QMainWindow*>(parentWidget()); window && !sized) {
        window->resizeDocks({this}, {(rowsShownAtFirst + 2) * list->fontMetrics().height()}, Qt::Vertical);
        sized = true;
    }
}
