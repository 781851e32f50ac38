#include "RegistersPane.h"

#include "Debugger.h"
#include "Instructions.h"
#include "PaneTable.h"
#include "Values.h"

#include <QHeaderView>
#include <QLocale>
#include <QTableView>

namespace {

using Row = TRegistersModel::Row;

constexpr int registerCount = 7;
constexpr int flagCount = 4;
constexpr char registerNames[] = "ABCDEHL";
const char* const flagNames[] = {"Carry", "Zero", "Sign", "Parity"};
constexpr bool Cpu::*flagMembers[] = {&Cpu::carry, &Cpu::zero, &Cpu::sign, &Cpu::parity};
constexpr std::uint32_t largestByte = 0377;
constexpr unsigned displayClock = 500'000; // the 8008's own clock, for times at full speed

bool isRegister(int row) {
    return row >= Row::firstRegister && row < Row::firstRegister + registerCount;
}
bool isFlag(int row) {
    return row >= Row::firstFlag && row < Row::firstFlag + flagCount;
}
bool isSlot(int row) {
    return row >= Row::firstSlot && row < Row::firstSlot + static_cast<int>(Cpu::stackSlots);
}

std::uint8_t byteAtHL(const Machine& machine) {
    return machine.memory[machine.cpu.hl()];
}

// Seconds of chip time in the unit that keeps the figure readable.
QString duration(double seconds) {
    if (seconds < 1e-3)
        return QStringLiteral("%1 µs").arg(seconds * 1e6, 0, 'f', 0);
    if (seconds < 1)
        return QStringLiteral("%1 ms").arg(seconds * 1e3, 0, 'f', 3);
    return QStringLiteral("%1 s").arg(seconds, 0, 'f', 3);
}

} // namespace

TRegistersModel::TRegistersModel(TDebugger& debugger, QObject* parent)
    : QAbstractTableModel(parent), debugger(debugger) {}

int TRegistersModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Row::rows;
}
int TRegistersModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Column::columns;
}

QString TRegistersModel::name(int row) const {
    const Machine& machine = debugger.GetMachine();
    if (isRegister(row))
        return QString(QLatin1Char(registerNames[row - Row::firstRegister]));
    if (isFlag(row))
        return QString::fromLatin1(flagNames[row - Row::firstFlag]);
    if (isSlot(row)) {
        const int slot = row - Row::firstSlot;
        QString text = QStringLiteral("Stack %1").arg(slot);
        if (slot == machine.cpu.stackPointer)
            text += QStringLiteral(" (PC)");
        if (machine.lostReturnSlot == slot)
            text += QStringLiteral(" (lost)");
        return text;
    }
    switch (row) {
    case Row::programCounter:
        return QStringLiteral("PC");
    case Row::memoryAtHL:
        return QStringLiteral("M");
    case Row::stackPointer:
        return QStringLiteral("Stack pointer");
    case Row::statesSinceStop:
        return QStringLiteral("States since stop");
    case Row::totalStates:
        return QStringLiteral("States");
    case Row::instructions:
        return QStringLiteral("Instructions");
    default:
        return QStringLiteral("Chip time");
    }
}

QString TRegistersModel::text(const Machine& machine, int row) const {
    const Cpu& cpu = machine.cpu;
    const QLocale locale;
    if (isRegister(row))
        return octalString(cpu.registers[static_cast<std::size_t>(row - Row::firstRegister)], 3);
    if (isFlag(row))
        return cpu.*flagMembers[row - Row::firstFlag] ? QStringLiteral("1") : QStringLiteral("0");
    if (isSlot(row))
        return octalString(cpu.stack[static_cast<std::size_t>(row - Row::firstSlot)], 6);
    switch (row) {
    case Row::programCounter:
        return octalString(cpu.pc(), 6);
    case Row::memoryAtHL:
        return octalString(byteAtHL(machine), 3);
    case Row::stackPointer:
        return QString::number(cpu.stackPointer);
    case Row::statesSinceStop:
        return locale.toString(static_cast<qulonglong>(debugger.StatesSinceStop()));
    case Row::totalStates:
        return locale.toString(static_cast<qulonglong>(machine.states));
    case Row::instructions:
        return locale.toString(static_cast<qulonglong>(machine.instructions));
    default: {
        const unsigned clock =
            debugger.GetClock() == TDebugger::fullSpeed ? displayClock : debugger.GetClock();
        const double seconds = static_cast<double>(machine.states) * clockPeriodsPerState / clock;
        return QStringLiteral("%1 at %2 kHz").arg(duration(seconds)).arg(clock / 1000);
    }
    }
}

QString TRegistersModel::toolTip(int row) const {
    const Machine& machine = debugger.GetMachine();
    if (isRegister(row))
        return byteToolTip(machine.cpu.registers[static_cast<std::size_t>(row - Row::firstRegister)]);
    if (row == Row::memoryAtHL)
        return QStringLiteral("The byte at H:L, %1. %2")
            .arg(octalString(machine.cpu.hl(), 6), byteToolTip(byteAtHL(machine)));
    if (isSlot(row) && machine.lostReturnSlot == row - Row::firstSlot)
        return QStringLiteral("An 8th nested call overwrote the oldest return address here");
    if (row == Row::chipTime && debugger.GetClock() == TDebugger::fullSpeed)
        return QStringLiteral("At full speed: the time the chip itself would take");
    return {};
}

// The counts always change; what matters is the machine's state.
bool TRegistersModel::changed(int row) const {
    return row < Row::statesSinceStop && text(debugger.GetMachine(), row) != text(debugger.GetBefore(), row);
}

bool TRegistersModel::editable(int row) const {
    return debugger.IsLoaded() && !debugger.IsRunning() &&
           (isRegister(row) || isFlag(row) || row == Row::programCounter);
}

QVariant TRegistersModel::data(const QModelIndex& index, int role) const {
    const int row = index.row();
    const bool value = index.column() == Column::valueColumn;
    switch (role) {
    case Qt::DisplayRole:
        if (!value)
            return name(row);
        return isFlag(row) ? QVariant() : QVariant(text(debugger.GetMachine(), row));
    case Qt::EditRole:
        return value ? QVariant(text(debugger.GetMachine(), row)) : QVariant();
    case Qt::CheckStateRole:
        if (value && isFlag(row))
            return debugger.GetMachine().cpu.*flagMembers[row - Row::firstFlag] ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::ToolTipRole:
        return toolTip(row);
    case Qt::FontRole:
        return changedValueFont(changed(row));
    case Qt::ForegroundRole:
        if (isSlot(row) && debugger.GetMachine().lostReturnSlot == row - Row::firstSlot)
            return QColor(Qt::red);
        return {};
    default:
        return {};
    }
}

QVariant TRegistersModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == Column::nameColumn ? QStringLiteral("Register") : QStringLiteral("Value");
}

Qt::ItemFlags TRegistersModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Column::valueColumn && editable(index.row()))
        flags |= isFlag(index.row()) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return flags;
}

bool TRegistersModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const int row = index.row();
    if (index.column() != Column::valueColumn || !editable(row))
        return false;
    Cpu& cpu = debugger.GetMachine().cpu;
    if (isFlag(row) && role == Qt::CheckStateRole) {
        cpu.*flagMembers[row - Row::firstFlag] = value.toInt() == Qt::Checked;
    } else if (role == Qt::EditRole) {
        const std::uint32_t largest = row == Row::programCounter ? Cpu::addressMask : largestByte;
        const std::optional<std::uint32_t> parsed = parseOctal(value.toString(), largest);
        if (!parsed)
            return false;
        if (row == Row::programCounter)
            cpu.setPc(static_cast<std::uint16_t>(*parsed));
        else
            cpu.registers[static_cast<std::size_t>(row - Row::firstRegister)] =
                static_cast<std::uint8_t>(*parsed);
    } else {
        return false;
    }
    Refresh(); // M follows H and L
    Q_EMIT OnEdited();
    return true;
}

void TRegistersModel::Refresh() {
    Q_EMIT dataChanged(index(0, 0), index(Row::rows - 1, Column::columns - 1));
}

TRegistersPane::TRegistersPane(TDebugger& debugger, QWidget* parent)
    : QDockWidget(QStringLiteral("Registers"), parent), model(new TRegistersModel(debugger, this)) {
    setObjectName(QStringLiteral("RegistersPane"));
    QTableView* view = newPaneTable(model, font(), this);
    view->verticalHeader()->hide();
    view->resizeColumnToContents(TRegistersModel::nameColumn);
    setWidget(view);
}
