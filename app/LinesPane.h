#pragma once

// A dock that lists places in the source, one row each: the line, the column
// and a text; activating a row asks to put the caret there. The problems list
// and the uses of a symbol are such lists.

#include <QDockWidget>

#include <cstdint>

class QTreeWidget;
class QTreeWidgetItem;

class TLinesPane : public QDockWidget {
    Q_OBJECT
  public:
    TLinesPane(const QString& title, const QString& textHeading, QWidget* parent);

    QTreeWidget* List() const { return list; }

  Q_SIGNALS:
    // A row was activated: its line, 0-based, and its column, 1-based.
    void OnLine(int line, int column);
    // A row of a place in another file was activated.
    void OnFileLine(const QString& path, int line, int column);

  protected:
    enum Column { lineColumn, columnColumn, textColumn };

    // A row for `line` (0-based) and `column` (1-based) of the document, or of
    // the file `path` when one is given.
    static QTreeWidgetItem* row(std::uint32_t line, std::uint32_t column, const QString& text,
                                const QString& path = {});
    // Shows the pane; the first time, a few rows high rather than half the window.
    void showFewRows();

    QTreeWidget* list;

  private:
    bool sized = false;
};
