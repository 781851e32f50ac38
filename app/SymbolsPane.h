#pragma once

// The symbols pane: every label and EQU name of the last run with its value in
// octal (decimal on hover), the line that defines it and how often it is used;
// a filter as you type, sorting by any column, and a row activated goes to the
// definition. Hidden until the user opens it; it follows every run while shown.

#include "SymbolTable.h"

#include <QAbstractTableModel>
#include <QDockWidget>

class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

class TSymbolsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { nameColumn, valueColumn, lineColumn, usesColumn, columns };
    static constexpr int sortRole = Qt::UserRole; // numbers sort as numbers

    using QAbstractTableModel::QAbstractTableModel;

    void SetSymbols(std::vector<SymbolEntry> symbols);
    const SymbolEntry& SymbolAt(int row) const { return symbols[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<SymbolEntry> symbols;
};

class TSymbolsPane : public QDockWidget {
    Q_OBJECT
  public:
    explicit TSymbolsPane(QWidget* parent);

    // Shows the symbols of `assembly` now if the pane is open, or once it opens.
    void ShowSymbols(const Assembly& assembly);

    TSymbolsModel* Model() const { return model; }
    QSortFilterProxyModel* Sorted() const { return sorted; }
    QTableView* View() const { return view; }
    QLineEdit* Filter() const { return filter; }

  Q_SIGNALS:
    // A symbol was chosen, to go to its definition.
    void OnDefinition(const QString& name);

  private:
    void refresh();
    void showCount();

    TSymbolsModel* model;
    QSortFilterProxyModel* sorted;
    QLineEdit* filter;
    QTableView* view;
    const Assembly* pending = nullptr; // the run not shown yet, while the pane is closed
};
