#pragma once

// The View menu's entry of a pane: checked while the pane is open; its shortcut
// opens the pane and puts the keys in it, and closes it only when the keys are
// in it already, so that the same keys go to a pane and back.

#include <QKeySequence>

#include <functional>

class QAction;
class QDockWidget;
class QMenu;

// `open` shows the pane; by default it is shown and raised.
QAction* addPaneAction(QMenu& menu, QDockWidget& pane, const QString& caption, const QKeySequence& keys,
                       std::function<void()> open = {});

// Shows `pane` in front of those it shares a place with, and puts the keys in
// its focus proxy, or else in its first widget that takes them.
void focusPane(QDockWidget& pane);
