#pragma once

// The memory pane: the 8008's 16 KiB in octal, eight bytes a row with their
// characters beside them, the bytes at PC and at H:L marked and those the last
// step or run changed in bold; editable while the program is paused. A field
// above it goes to an address or a label.

#include <QAbstractTableModel>
#include <QDockWidget>

#include <functional>
#include <optional>

class QLineEdit;
class QTableView;
class TDebugger;

class TMemoryModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int bytesPerRow = 8;
    static constexpr int textColumn = bytesPerRow; // the row's bytes as characters

    explicit TMemoryModel(TDebugger& debugger, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    void Refresh();
    QModelIndex IndexOf(std::uint16_t address) const;

    // Behind the byte at PC and the byte at H:L; translucent, for light and dark backgrounds.
    static const QColor pcColour;
    static const QColor hlColour;

  Q_SIGNALS:
    void OnEdited();

  private:
    std::uint16_t addressOf(const QModelIndex& index) const;
    bool editable() const;

    TDebugger& debugger;
};

class TMemoryPane : public QDockWidget {
    Q_OBJECT
  public:
    // Reads what is typed in the go-to field: an address or a label as the
    // assembler would, none when it is neither.
    using AddressResolver = std::function<std::optional<std::uint32_t>(const QString&)>;

    TMemoryPane(TDebugger& debugger, QWidget* parent);
    TMemoryModel* Model() const { return model; }
    void SetAddressResolver(AddressResolver resolver) { resolve = std::move(resolver); }
    void ShowAddress(std::uint16_t address);
    QLineEdit* GoToField() const { return goTo; }
    QTableView* View() const { return view; }

  private:
    void goToTyped();

    TMemoryModel* model;
    QTableView* view;
    QLineEdit* goTo;
    AddressResolver resolve;
};
