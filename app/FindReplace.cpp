// Find, Find Next and Replace: always downward from just after the start of the
// selection, never wrapping; results of replacing go to the message panel.

#include "MainForm.h"

#include "BrenvikControl.h"
#include "FindDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int searchLength = 2000000; // to the end of any text

} // namespace

void TForm1::Find1Click() {
    Brenvik1->SetHideSelection(false); // the selection stays visible while the dialog has the focus
    FindDialog1->show();
    FindDialog1->raise();
}

void TForm1::FindNext1Click() {
    FindDialog1Find();
}

// The next match of the dialog's text after the selection's start, or a beep
// and the message that there is none.
void TForm1::findNext(const TFindDialog& dialog) {
    lastSearchText = dialog.FindText();
    if (Brenvik1->FindTextA(dialog.FindText(), Brenvik1->GetSelStart() + 1, searchLength, dialog.Options()) <
        0) {
        MessagePanel->setText(QStringLiteral("Not found!"));
        QApplication::beep();
    }
}

void TForm1::FindDialog1Find() {
    findNext(*FindDialog1);
}

void TForm1::FindDialog1Close() {
    Brenvik1->SetHideSelection(true);
}

void TForm1::Replace1Click() {
    Brenvik1->SetHideSelection(false);
    Brenvik1->SetSelLength(0);
    if (!lastSearchText.isEmpty())
        ReplaceDialog1->findText->setText(lastSearchText); // what was searched for last
    ReplaceDialog1->findText->selectAll();
    ReplaceDialog1->show();
    ReplaceDialog1->raise();
}

void TForm1::ReplaceDialog1Find() {
    findNext(*ReplaceDialog1);
}

void TForm1::ReplaceDialog1Replace(bool all) {
    const QString findText = ReplaceDialog1->FindText();
    const int options = ReplaceDialog1->Options();
    int count = 0;
    // The first search starts just after the selection's start, as Find Next does;
    // each further one right after the text just put in, so that the replacement is
    // never searched again and no match right behind it is skipped.
    int start = Brenvik1->GetSelStart() + 1;
    Brenvik1->BeginEditGroup(); // Replace All undoes as one step
    do {
        if (Brenvik1->GetSelLength() == 0 && Brenvik1->FindTextA(findText, start, searchLength, options) < 0)
            break;
        Brenvik1->ReplaceSelection(ReplaceDialog1->ReplaceText());
        ++count;
        start = Brenvik1->GetSelStart();
    } while (all);
    Brenvik1->EndEditGroup();

    if (count == 0) {
        MessagePanel->setText(QStringLiteral("Not found!"));
        QApplication::beep();
    } else if (count == 1) {
        MessagePanel->setText(QStringLiteral("Replaced one occurence."));
    } else {
        MessagePanel->setText(QStringLiteral("Replaced %1 occurences.").arg(count));
    }
}
