#pragma once

// The table the debugger's panes show their values in: compact rows, one cell
// chosen at a time, edited by double-click or by typing over it.

#include <QVariant>

class QAbstractItemModel;
class QFont;
class QTableView;
class QWidget;

QTableView* newPaneTable(QAbstractItemModel* model, const QFont& font, QWidget* parent);

// The font role of a value: bold when the last step or run changed it.
QVariant changedValueFont(bool changed);
