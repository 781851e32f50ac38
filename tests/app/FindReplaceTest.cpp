// Find, Find Next and Replace as a user meets them.

#include "AppTest.h"
#include "FindDialogs.h"
#include "RichEdit2.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct Window {
    TForm1 form;
    explicit Window(const QString& text) {
        form.Brenvik1->GetTextArea()->setPlainText(text);
        form.Brenvik1->SetSelStart(0);
    }
    QString text() const { return form.Brenvik1->GetDocument().GetText(); }
    QString message() const { return statusPanel(form, "MessagePanel")->text(); }
    void replace(const QString& find, const QString& with, bool all) {
        form.ReplaceDialog1->findText->setText(find);
        form.ReplaceDialog1->replaceText->setText(with);
        (all ? form.ReplaceDialog1->replaceAll : form.ReplaceDialog1->replace)->click();
    }
};

// The widgets that Tab visits from the dialog's first field, in order: the focus
// chain, as Tab follows it, of the widgets that take the focus by Tab.
QList<QWidget*> tabOrder(const TFindDialog& dialog) {
    QList<QWidget*> visited{dialog.findText};
    for (QWidget* next = dialog.findText->nextInFocusChain(); next != dialog.findText;
         next = next->nextInFocusChain())
        if (next->window() == &dialog && (next->focusPolicy() & Qt::TabFocus) && next->isEnabled())
            visited.append(next);
    return visited;
}

} // namespace

class FindReplaceTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void tabGoesThroughTheFieldsInReadingOrder() {
        TForm1 form;
        TFindDialog& find = *form.FindDialog1;
        QCOMPARE(tabOrder(find), (QList<QWidget*>{find.findText, find.wholeWord, find.matchCase,
                                                  find.findNext, find.closeButton}));
        TReplaceDialog& replace = *form.ReplaceDialog1;
        QCOMPARE(tabOrder(replace), (QList<QWidget*>{replace.findText, replace.replaceText, replace.wholeWord,
                                                     replace.matchCase, replace.findNext, replace.replace,
                                                     replace.replaceAll, replace.closeButton}));
    }

    void findStartsJustAfterTheSelectionStart() {
        Window w("abc abc");
        w.form.Find1->trigger();
        QVERIFY(w.form.FindDialog1->isVisible());
        QVERIFY(!w.form.Brenvik1->GetHideSelection());
        w.form.FindDialog1->findText->setText("abc");
        w.form.FindDialog1->findNext->click();
        QCOMPARE(w.form.Brenvik1->GetSelStart(), 4);
        QCOMPARE(w.form.Brenvik1->GetSelLength(), 3);
        w.form.FindDialog1->findNext->click(); // no further match: a beep, the selection collapses
        QCOMPARE(w.form.Brenvik1->GetSelStart(), 4);
        QCOMPARE(w.form.Brenvik1->GetSelLength(), 0);
        w.form.FindDialog1->close();
        QVERIFY(w.form.Brenvik1->GetHideSelection());
    }

    void findNextThatFindsNothingSaysSoAndReplaceStartsWithTheLastSearch() {
        Window w("abc abc");
        w.form.FindDialog1->findText->setText("abc");
        w.form.FindNext1->trigger();
        QCOMPARE(w.message(), QString());
        w.form.FindNext1->trigger();
        w.form.FindNext1->trigger(); // no further match
        QCOMPARE(w.message(), QString("Not found!"));
        w.form.Replace1->trigger();
        QCOMPARE(w.form.ReplaceDialog1->FindText(), QString("abc"));
    }

    void findOptionsAreTheDialogs() {
        Window w("x abcd ABC abc");
        w.form.FindDialog1->findText->setText("abc");
        w.form.FindDialog1->wholeWord->setChecked(true);
        w.form.FindDialog1->matchCase->setChecked(true);
        w.form.FindNext1->trigger();
        QCOMPARE(w.form.Brenvik1->GetSelStart(), 11);
    }

    void findNextUsesTheFindDialogsTextNeverTheReplaceDialogs() {
        Window w("one two one two");
        w.form.FindDialog1->findText->setText("two");
        w.form.ReplaceDialog1->findText->setText("one");
        w.form.ReplaceDialog1->findNext->click();
        QCOMPARE(w.form.Brenvik1->GetSelStart(), 8);
        w.form.FindNext1->trigger();
        QCOMPARE(w.form.Brenvik1->GetSelStart(), 12);
    }

    void replaceAllReplacesEveryMatchAfterTheCaret() {
        Window w("aaaa");
        w.form.Replace1->trigger();
        w.replace("a", "b", true);
        QCOMPARE(w.text(), QString("abbb"));
        QCOMPARE(w.message(), QString("Replaced 3 occurences."));
        w.form.Brenvik1->Undo(); // one step
        QCOMPARE(w.text(), QString("aaaa"));
    }

    void replaceAllNeverSearchesWhatItPutIn() {
        Window w(" ab ab");
        w.replace("ab", "abab", true);
        QCOMPARE(w.text(), QString(" abab abab"));
        QCOMPARE(w.message(), QString("Replaced 2 occurences."));
    }

    void replaceFindsTheNextMatchOrTakesTheSelection() {
        Window w("x1 x2 x3");
        w.replace("x", "y", false);
        QCOMPARE(w.text(), QString("x1 y2 x3"));
        QCOMPARE(w.message(), QString("Replaced one occurence."));
        w.form.Brenvik1->SetSelStart(0);
        w.form.Brenvik1->SetSelLength(2);
        w.replace("zzz", "Q", false); // the selection is replaced whatever it holds
        QCOMPARE(w.text(), QString("Q y2 x3"));
        QCOMPARE(w.message(), QString("Replaced one occurence."));
    }

    void replaceWithoutAMatchSaysNotFound() {
        Window w("abc");
        w.replace("zzz", "y", true);
        QCOMPARE(w.text(), QString("abc"));
        QCOMPARE(w.message(), QString("Not found!"));
        QTest::keyClick(w.form.Brenvik1->GetTextArea(), Qt::Key_X);
        QCOMPARE(w.message(), QString());
    }

    void openingReplaceCollapsesTheSelection() {
        Window w("abc");
        w.form.Brenvik1->SetSelLength(2);
        w.form.Replace1->trigger();
        QCOMPARE(w.form.Brenvik1->GetSelLength(), 0);
        QVERIFY(w.form.ReplaceDialog1->isVisible());
    }
};

BRENVIK_APP_TEST_MAIN(FindReplaceTest)
#include "FindReplaceTest.moc"
