#pragma once

// The ports pane: what each port is for on the machine, a value for each input
// port that no device answers, which a program reads as switches, and the last
// value written to each output port, in bold when the last step or run wrote it.

#include <QAbstractTableModel>
#include <QDockWidget>

class TDebugger;

class TPortsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { portColumn, useColumn, valueColumn, columns };

    explicit TPortsModel(TDebugger& debugger, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    void Refresh();

  private:
    QString use(int port) const;
    bool isSwitches(int port) const;
    QVariant value(int port) const;

    TDebugger& debugger;
};

class TPortsPane : public QDockWidget {
    Q_OBJECT
  public:
    TPortsPane(TDebugger& debugger, QWidget* parent);
    TPortsModel* Model() const { return model; }

  private:
    TPortsModel* model;
};
