#include "PortsPane.h"

#include "Debugger.h"
#include "PaneTable.h"
#include "Values.h"

#include <QHeaderView>
#include <QTableView>

namespace {

constexpr std::uint32_t largestByte = 0377;

bool isInput(int port) {
    return port < static_cast<int>(Ports::inputPorts);
}

QString portWord(int port) {
    return isInput(port) ? QStringLiteral("INP") : QStringLiteral("OUT");
}

} // namespace

TPortsModel::TPortsModel(TDebugger& debugger, QObject* parent)
    : QAbstractTableModel(parent), debugger(debugger) {}

int TPortsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Ports::count;
}
int TPortsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Column::columns;
}

// The devices of the machine name their ports; the others are switches or outputs.
QString TPortsModel::use(int port) const {
    if (const Device* device = debugger.GetMachine().ports.deviceAt(static_cast<unsigned>(port)))
        return QString::fromStdString(device->portUse(static_cast<unsigned>(port)));
    return isInput(port) ? QStringLiteral("Switches") : QStringLiteral("Output");
}

bool TPortsModel::isSwitches(int port) const {
    return isInput(port) && !debugger.GetMachine().ports.deviceAt(static_cast<unsigned>(port));
}

QVariant TPortsModel::value(int port) const {
    const Ports& ports = debugger.GetMachine().ports;
    const auto index = static_cast<std::size_t>(port);
    if (isSwitches(port))
        return octalString(ports.inputValues[index], 3);
    if (!isInput(port) && ports.written[index])
        return octalString(ports.lastOutput[index], 3);
    return {};
}

QVariant TPortsModel::data(const QModelIndex& index, int role) const {
    const int port = index.row();
    const Ports& ports = debugger.GetMachine().ports;
    const Ports& before = debugger.GetBefore().ports;
    const auto slot = static_cast<std::size_t>(port);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (index.column()) {
        case Column::portColumn:
            return QStringLiteral("%1 %2").arg(portWord(port),
                                               octalString(static_cast<std::uint32_t>(port), 2));
        case Column::useColumn:
            return use(port);
        default:
            return value(port);
        }
    case Qt::ToolTipRole:
        if (index.column() == Column::valueColumn && isSwitches(port))
            return QStringLiteral("What INP %1 reads, in octal; double-click to set it")
                .arg(octalString(static_cast<std::uint32_t>(port), 2));
        if (index.column() == Column::portColumn)
            return QStringLiteral("Port %2 in decimal: %1 %2 or %1 %3B in the source")
                .arg(portWord(port))
                .arg(port)
                .arg(octalString(static_cast<std::uint32_t>(port), 2));
        return {};
    case Qt::FontRole:
        return changedValueFont(index.column() == Column::valueColumn && !isInput(port) &&
                                (ports.written[slot] != before.written[slot] ||
                                 ports.lastOutput[slot] != before.lastOutput[slot]));
    default:
        return {};
    }
}

QVariant TPortsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    const char* const titles[] = {"Port", "Use", "Value"};
    return QString::fromLatin1(titles[section]);
}

// The switches can be set at any time, as on a front panel.
Qt::ItemFlags TPortsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Column::valueColumn && isSwitches(index.row()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TPortsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const std::optional<std::uint32_t> byte = parseOctal(value.toString(), largestByte);
    if (!byte)
        return false;
    debugger.GetMachine().ports.inputValues[static_cast<std::size_t>(index.row())] =
        static_cast<std::uint8_t>(*byte);
    debugger.NoteEdited();
    Q_EMIT dataChanged(index, index);
    return true;
}

// The switches change only when set here, so they are left out: a refresh of
// theirs would reset an editor open on one while the program runs.
void TPortsModel::Refresh() {
    Q_EMIT dataChanged(index(0, Column::portColumn), index(Ports::count - 1, Column::useColumn));
    Q_EMIT dataChanged(index(Ports::inputPorts, Column::valueColumn),
                       index(Ports::count - 1, Column::valueColumn));
}

TPortsPane::TPortsPane(TDebugger& debugger, QWidget* parent)
    : QDockWidget(QStringLiteral("Ports"), parent), model(new TPortsModel(debugger, this)) {
    setObjectName(QStringLiteral("PortsPane"));
    QTableView* view = newPaneTable(model, font(), this);
    view->verticalHeader()->hide();
    view->resizeColumnsToContents(); // the names stay; only the values change
    setWidget(view);
}
