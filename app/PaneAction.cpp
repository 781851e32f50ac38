#include "PaneAction.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QMenu>

void focusPane(QDockWidget& pane) {
    pane.show();
    pane.raise();
    // A pane that names the widget its keys go to has them there.
    if (QWidget* proxy = pane.focusProxy(); proxy && proxy->isEnabled() && proxy->isVisibleTo(&pane)) {
        proxy->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    for (QWidget* child : pane.findChildren<QWidget*>())
        if ((child->focusPolicy() & Qt::TabFocus) && child->isEnabled() && child->isVisibleTo(&pane)) {
            child->setFocus(Qt::ShortcutFocusReason);
            return;
        }
}

QAction* addPaneAction(QMenu& menu, QDockWidget& pane, const QString& caption, const QKeySequence& keys,
                       std::function<void()> open) {
    QAction* action = menu.addAction(caption);
    action->setCheckable(true);
    action->setShortcut(keys);
    if (!open)
        open = [&pane] { pane.show(); };
    QObject::connect(action, &QAction::triggered, &pane, [action, &pane, open] {
        const bool keysInPane = pane.isAncestorOf(QApplication::focusWidget());
        if (pane.isVisible() && keysInPane) {
            pane.close();
            return;
        }
        open();
        focusPane(pane);
        action->setChecked(true);
    });
    QObject::connect(&pane, &QDockWidget::visibilityChanged, action, [action, &pane] {
        // A pane behind another in its place is still open.
        action->setChecked(!pane.isHidden());
    });
    return action;
}
