#pragma once

// The Print dialog: the whole listing or the selection, nothing else. Qt's own
// dialog keeps its page range in view even with that option off.

#include <QPrintDialog>

class TPrintDialog : public QPrintDialog {
    Q_OBJECT
  public:
    TPrintDialog(QPrinter* printer, bool selection, QWidget* parent);

  protected:
    void showEvent(QShowEvent* event) override;
};
