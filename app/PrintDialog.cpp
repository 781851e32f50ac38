#include "PrintDialog.h"

TPrintDialog::TPrintDialog(QPrinter* printer, bool selection, QWidget* parent)
    : QPrintDialog(printer, parent) {
    setOption(QAbstractPrintDialog::PrintSelection, selection);
    setOption(QAbstractPrintDialog::PrintPageRange, false);
    setPrintRange(selection ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);
}

// The page range's widgets, by the names Qt's dialog gives them in its group of
// print ranges (the "to" between the page numbers is a label_3 there).
void TPrintDialog::showEvent(QShowEvent* event) {
    QPrintDialog::showEvent(event);
    if (auto* ranges = findChild<QWidget*>("gbPrintRange"))
        for (const char* name : {"printRange", "from", "label_3", "to", "pagesRadioButton", "pagesLineEdit"})
            if (auto* widget = ranges->findChild<QWidget*>(name))
                widget->hide();
}
