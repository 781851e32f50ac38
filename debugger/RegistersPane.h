#pragma once

// The registers pane: A to L, the flags, the PC and M, the eight slots of the
// address stack with the PC's slot and a lost return address marked, and the
// counts of states and instructions. What the last step or run changed is in
// bold; registers, flags and PC can be edited while the program is paused.

#include "Machine.h"

#include <QAbstractTableModel>
#include <QDockWidget>

class TDebugger;

class TRegistersModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Row {
        firstRegister = 0, // A B C D E H L
        firstFlag = 7,     // carry, zero, sign, parity
        programCounter = 11,
        memoryAtHL = 12,
        firstSlot = 13, // the eight slots of the address stack
        stackPointer = 21,
        statesSinceStop,
        totalStates,
        instructions,
        chipTime,
        rows
    };
    enum Column { nameColumn, valueColumn, columns };

    explicit TRegistersModel(TDebugger& debugger, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The machine changed: every value is read again.
    void Refresh();

  Q_SIGNALS:
    // The user changed the machine.
    void OnEdited();

  private:
    QString name(int row) const;
    // The value of row `row` in `machine`: the machine as it is, or as it was
    // before the last step, to see what changed.
    QString text(const Machine& machine, int row) const;
    QString toolTip(int row) const;
    bool changed(int row) const;
    bool editable(int row) const;

    TDebugger& debugger;
};

class TRegistersPane : public QDockWidget {
    Q_OBJECT
  public:
    TRegistersPane(TDebugger& debugger, QWidget* parent);
    TRegistersModel* Model() const { return model; }

  private:
    TRegistersModel* model;
};
