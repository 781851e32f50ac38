#include "UsesPane.h"

#include <QTreeWidget>

TUsesPane::TUsesPane(QWidget* parent) : TLinesPane(QStringLiteral("Uses"), QStringLiteral("Text"), parent) {
    setObjectName(QStringLiteral("UsesPane"));
}

void TUsesPane::Clear() {
    setWindowTitle(QStringLiteral("Uses"));
    list->clear();
}

void TUsesPane::ShowUses(const QString& name, const std::vector<Use>& uses) {
    setWindowTitle(uses.empty() ? QStringLiteral("Uses of %1 (none)").arg(name)
                                : QStringLiteral("Uses of %1 (%2)").arg(name).arg(uses.size()));
    list->clear();
    QList<QTreeWidgetItem*> rows;
    for (const Use& use : uses)
        rows.append(row(use.line, use.column, use.text.simplified(), use.path));
    list->addTopLevelItems(rows);
    showFewRows();
    raise();
}
