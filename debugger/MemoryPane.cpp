#include "MemoryPane.h"

#include "Debugger.h"
#include "PaneTable.h"
#include "Values.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

constexpr int rows = static_cast<int>(Machine::memorySize) / TMemoryModel::bytesPerRow;
constexpr std::uint32_t largestByte = 0377;
constexpr std::uint8_t asciiMask = 0177;

QChar shownCharacter(std::uint8_t byte) {
    const char c = static_cast<char>(byte & asciiMask);
    return c >= ' ' && c <= '~' ? QChar::fromLatin1(c) : QChar(u'.');
}

} // namespace

const QColor TMemoryModel::pcColour(255, 200, 0, 110);
const QColor TMemoryModel::hlColour(0, 150, 255, 90);

TMemoryModel::TMemoryModel(TDebugger& debugger, QObject* parent)
    : QAbstractTableModel(parent), debugger(debugger) {}

int TMemoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows;
}
int TMemoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : bytesPerRow + 1;
}

std::uint16_t TMemoryModel::addressOf(const QModelIndex& index) const {
    return static_cast<std::uint16_t>(index.row() * bytesPerRow + index.column());
}

QModelIndex TMemoryModel::IndexOf(std::uint16_t address) const {
    return index(address / bytesPerRow, address % bytesPerRow);
}

bool TMemoryModel::editable() const {
    return debugger.IsLoaded() && !debugger.IsRunning();
}

QVariant TMemoryModel::data(const QModelIndex& index, int role) const {
    const Machine& machine = debugger.GetMachine();
    if (index.column() == textColumn) {
        if (role == Qt::ToolTipRole)
            return QStringLiteral(
                "The bytes as the console prints them: bit 7 does not count, so 101 and 301 "
                "are both A; a byte it does not print is a dot");
        if (role != Qt::DisplayRole)
            return {};
        QString text;
        for (int i = 0; i < bytesPerRow; ++i)
            text += shownCharacter(machine.memory[static_cast<std::size_t>(index.row() * bytesPerRow + i)]);
        return text;
    }
    const std::uint16_t address = addressOf(index);
    const std::uint8_t byte = machine.memory[address];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return octalString(byte, 3);
    case Qt::ToolTipRole:
        return QStringLiteral("Address %1. %2").arg(octalString(address, 6), byteToolTip(byte));
    case Qt::BackgroundRole:
        if (!debugger.IsLoaded())
            return {};
        if (address == machine.cpu.pc())
            return pcColour;
        if (address == machine.cpu.hl())
            return hlColour;
        return {};
    case Qt::FontRole:
        return changedValueFont(byte != debugger.GetBefore().memory[address]);
    default:
        return {};
    }
}

QVariant TMemoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return octalString(static_cast<std::uint32_t>(section * bytesPerRow), 6);
    return section == textColumn ? QStringLiteral("Text") : QStringLiteral("+%1").arg(section);
}

Qt::ItemFlags TMemoryModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() != textColumn && editable())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TMemoryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() == textColumn || !editable())
        return false;
    const std::optional<std::uint32_t> byte = parseOctal(value.toString(), largestByte);
    if (!byte)
        return false;
    debugger.GetMachine().memory[addressOf(index)] = static_cast<std::uint8_t>(*byte);
    Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), textColumn));
    Q_EMIT OnEdited();
    return true;
}

void TMemoryModel::Refresh() {
    Q_EMIT dataChanged(index(0, 0), index(rows - 1, textColumn));
}

TMemoryPane::TMemoryPane(TDebugger& debugger, QWidget* parent)
    : QDockWidget(QStringLiteral("Memory"), parent), model(new TMemoryModel(debugger, this)),
      view(newPaneTable(model, QFontDatabase::systemFont(QFontDatabase::FixedFont), this)),
      goTo(new QLineEdit(this)) {
    setObjectName(QStringLiteral("MemoryPane"));
    goTo->setPlaceholderText(QStringLiteral("Go to address or label (20000B, START)"));
    goTo->setClearButtonEnabled(true);
    connect(goTo, &QLineEdit::returnPressed, this, &TMemoryPane::goToTyped);

    // Widths from the font, once: fitting them to the contents would read all 16 KiB at every refresh.
    const QFontMetrics metrics(view->font());
    const int padding = metrics.horizontalAdvance(u'0');
    const int byteWidth = metrics.horizontalAdvance(QStringLiteral("000")) + 2 * padding;
    const int textWidth = metrics.horizontalAdvance(QString(TMemoryModel::bytesPerRow, u'0')) + 2 * padding;
    view->horizontalHeader()->setMinimumSectionSize(1);
    view->horizontalHeader()->setDefaultSectionSize(byteWidth);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setSectionResizeMode(TMemoryModel::textColumn, QHeaderView::Stretch);
    // A whole row in view: the pane is no narrower.
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setMinimumWidth(view->verticalHeader()->sizeHint().width() + TMemoryModel::bytesPerRow * byteWidth +
                          textWidth + view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth());

    auto* contents = new QWidget(this);
    auto* layout = new QVBoxLayout(contents);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(goTo);
    layout->addWidget(view);
    setWidget(contents);
}

void TMemoryPane::ShowAddress(std::uint16_t address) {
    const QModelIndex index = model->IndexOf(address);
    view->scrollTo(index, QAbstractItemView::PositionAtCenter);
    view->setCurrentIndex(index);
}

void TMemoryPane::goToTyped() {
    const std::optional<std::uint32_t> address = resolve ? resolve(goTo->text()) : std::nullopt;
    if (!address || *address >= Machine::memorySize) {
        const QString why = QStringLiteral("\"%1\" is no label and no address in memory (000000 to 037777)")
                                .arg(goTo->text());
        QToolTip::showText(goTo->mapToGlobal(QPoint(0, goTo->height())), why, goTo);
        goTo->selectAll();
        return;
    }
    ShowAddress(static_cast<std::uint16_t>(*address));
    view->setFocus();
}
