#pragma once

// The uses of one symbol: every line that names it in an operand or an EQU
// expression, with the line's text; activating one puts the caret there.

#include "LinesPane.h"

#include <vector>

class TUsesPane : public TLinesPane {
    Q_OBJECT
  public:
    struct Use {
        std::uint32_t line;   // 0-based
        std::uint32_t column; // 1-based
        QString text;         // the line
        QString path = {};    // of an included file; empty for the document
    };

    explicit TUsesPane(QWidget* parent);

    // Lists `uses` of `name` and shows the pane in front.
    void ShowUses(const QString& name, const std::vector<Use>& uses);
    // Lists nothing, where it stands: the symbol was another document's.
    void Clear();
};
