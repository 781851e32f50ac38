#include "PaneTable.h"

#include <QFont>
#include <QHeaderView>
#include <QTableView>

namespace {

constexpr int rowPadding = 4; // pixels above and below a row's text

} // namespace

QTableView* newPaneTable(QAbstractItemModel* model, const QFont& font, QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setFont(font);
    view->verticalHeader()->setFont(font);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + rowPadding);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    return view;
}

QVariant changedValueFont(bool changed) {
    if (!changed)
        return {};
    QFont bold;
    bold.setBold(true);
    return bold;
}
