#include "SymbolsPane.h"

#include "Values.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr std::uint32_t largestValue = 0xFFFF;         // above: a definition that failed
const QString widestNumber = QStringLiteral("000000"); // a value in octal; lines and uses are shorter

} // namespace

void TSymbolsModel::SetSymbols(std::vector<SymbolEntry> entries) {
    beginResetModel();
    symbols = std::move(entries);
    endResetModel();
}

int TSymbolsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(symbols.size());
}

int TSymbolsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Column::columns;
}

QVariant TSymbolsModel::data(const QModelIndex& index, int role) const {
    const SymbolEntry& symbol = SymbolAt(index.row());
    const bool valid = symbol.value <= largestValue;
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case nameColumn:
            return QString::fromStdString(symbol.name);
        case valueColumn:
            return valid ? octalString(symbol.value, 6) : QStringLiteral("?");
        case lineColumn:
            return symbol.line + 1;
        default:
            return static_cast<qulonglong>(symbol.useLines.size());
        }
    case sortRole:
        switch (index.column()) {
        case nameColumn:
            return QString::fromStdString(symbol.name);
        case valueColumn:
            return symbol.value;
        case lineColumn:
            return symbol.line;
        default:
            return static_cast<qulonglong>(symbol.useLines.size());
        }
    case Qt::ToolTipRole:
        if (index.column() == valueColumn)
            if (valid)
                return QStringLiteral("Decimal %1").arg(symbol.value);
        return symbol.isLabel
                   ? QStringLiteral("No value: location %1B is past 177777B, the last 16-bit address")
                         .arg(octalString(symbol.value, 6))
                   : QStringLiteral("No value: its definition is in error");
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == nameColumn ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TSymbolsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    const char* const titles[] = {"Name", "Value", "Line", "Uses"};
    return QString::fromLatin1(titles[section]);
}

TSymbolsPane::TSymbolsPane(QWidget* parent)
    : QDockWidget(QStringLiteral("Symbols"), parent), model(new TSymbolsModel(this)),
      sorted(new QSortFilterProxyModel(this)), filter(new QLineEdit(this)), view(new QTableView(this)) {
    setObjectName(QStringLiteral("SymbolsPane"));
    sorted->setSourceModel(model);
    sorted->setSortRole(TSymbolsModel::sortRole);
    sorted->setFilterKeyColumn(TSymbolsModel::nameColumn);
    sorted->setFilterCaseSensitivity(Qt::CaseInsensitive);
    filter->setPlaceholderText(QStringLiteral("Filter"));
    filter->setClearButtonEnabled(true);
    connect(filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        sorted->setFilterFixedString(text);
        showCount();
    });

    view->setModel(sorted);
    view->setSortingEnabled(true);
    view->sortByColumn(TSymbolsModel::nameColumn, Qt::AscendingOrder);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    // The numbers' columns fit their widest value; the name takes the rest.
    QHeaderView* header = view->horizontalHeader();
    const QFontMetrics metrics = view->fontMetrics();
    const int padding = 2 * metrics.horizontalAdvance(u'0');
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(TSymbolsModel::nameColumn, QHeaderView::Stretch);
    for (int column = TSymbolsModel::valueColumn; column < TSymbolsModel::columns; ++column) {
        const QString title = model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        header->resizeSection(column, std::max(metrics.horizontalAdvance(title) + 2 * padding,
                                               metrics.horizontalAdvance(widestNumber) + padding));
    }
    connect(view, &QTableView::activated, this, [this](const QModelIndex& index) {
        Q_EMIT OnDefinition(QString::fromStdString(model->SymbolAt(sorted->mapToSource(index).row()).name));
    });

    auto* contents = new QWidget(this);
    auto* layout = new QVBoxLayout(contents);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(filter);
    layout->addWidget(view);
    setWidget(contents);
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            refresh();
    });
    hide();
}

void TSymbolsPane::ShowSymbols(const Assembly& assembly) {
    pending = &assembly;
    if (isVisible())
        refresh();
}

void TSymbolsPane::refresh() {
    if (!pending)
        return;
    std::vector<SymbolEntry> symbols = symbolEntries(*pending);
    pending = nullptr;
    model->SetSymbols(std::move(symbols));
    showCount();
}

// The title counts the rows the filter lets through, out of all when it holds some back.
void TSymbolsPane::showCount() {
    const int all = model->rowCount();
    const int shown = sorted->rowCount();
    setWindowTitle(shown == all ? QStringLiteral("Symbols (%1)").arg(all)
                                : QStringLiteral("Symbols (%1 of %2)").arg(shown).arg(all));
}
