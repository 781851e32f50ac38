// Auto-indent, search and the editing operations, as a user meets them.

#include "Editor.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

class EditingTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void enterIndentsLikeTheLineAbove_data() {
        QTest::addColumn<QString>("above");
        QTest::addColumn<QString>("indent");
        QTest::newRow("two tabs") << "\t\tLAI 1"
                                  << "\t\t";
        QTest::newRow("spaces and a tab, in order") << "  \tRET"
                                                    << "  \t";
        QTest::newRow("blanks only") << " \t "
                                     << " \t ";
        QTest::newRow("a label") << "LOOP:\tRET"
                                 << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void enterIndentsLikeTheLineAbove() {
        QFETCH(QString, above);
        QFETCH(QString, indent);
        Editor e(above);
        e.text().moveCursor(QTextCursor::End);
        QTest::keyClick(&e.text(), Qt::Key_Return);
        QCOMPARE(e.plainText(), above + "\n" + indent);
        QCOMPARE(e.brenvik.GetColumn(), indent.size() + 1);
    }

    void oneUndoTakesBackTheLineBreakAndTheIndent() {
        Editor e("\t\tRET");
        e.text().moveCursor(QTextCursor::End);
        QTest::keyClick(&e.text(), Qt::Key_Return);
        QCOMPARE(e.plainText(), QString("\t\tRET\n\t\t"));
        e.brenvik.Undo();
        QCOMPARE(e.plainText(), QString("\t\tRET"));
    }

    void indentCountsAsAnEdit() {
        Editor e("\tRET");
        e.brenvik.doAsm();
        e.text().moveCursor(QTextCursor::End);
        QSignalSpy changed(&e.brenvik, &TBrenvik::OnChange);
        QTest::keyClick(&e.text(), Qt::Key_Return);
        QCOMPARE(changed.count(), 2); // the line break, then the indent
        QVERIFY(!e.document().IsAssemblyCurrent());
    }

    void noIndentWhenSwitchedOffOrOnTheFirstLine() {
        Editor e("\tRET");
        e.brenvik.SetAutoIndent(false);
        e.text().moveCursor(QTextCursor::End);
        QTest::keyClick(&e.text(), Qt::Key_Return);
        QCOMPARE(e.plainText(), QString("\tRET\n"));

        Editor first("\tRET");
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(&first.text(), &release);
        QCOMPARE(first.plainText(), QString("\tRET"));
    }

    void aReleaseOfEnterPressedElsewhereDoesNotIndent() {
        // The press closed a dialog or chose a menu item; the release reaches the text.
        Editor e("\tRET\n\tRLC");
        e.text().moveCursor(QTextCursor::End);
        e.brenvik.SetModified(false);
        QTest::keyRelease(&e.text(), Qt::Key_Return);
        QCOMPARE(e.plainText(), QString("\tRET\n\tRLC"));
        QVERIFY(!e.brenvik.GetModified());
        // A press that the text took, and then lost the focus before its release, neither.
        QTest::keyPress(&e.text(), Qt::Key_Return);
        QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(&e.text(), &focusOut);
        QTest::keyRelease(&e.text(), Qt::Key_Return);
        QCOMPARE(e.plainText(), QString("\tRET\n\tRLC\n"));
    }

    void onlyTheFinalReleaseOfAHeldEnterIndents() {
        Editor e("\tRET");
        e.text().moveCursor(QTextCursor::End);
        QKeyEvent repeatedRelease(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QTest::keyPress(&e.text(), Qt::Key_Return);
        QCoreApplication::sendEvent(&e.text(), &repeatedRelease);
        QCOMPARE(e.plainText(), QString("\tRET\n"));
    }

    void findSelectsTheMatchWithinItsRange() {
        Editor e("abc abc\nABC abcd");
        QCOMPARE(e.brenvik.FindTextA("abc", 1, 2000000, 0), 4);
        QCOMPARE(e.brenvik.GetSelStart(), 4);
        QCOMPARE(e.brenvik.GetSelLength(), 3);
        QCOMPARE(e.brenvik.FindTextA("abc", 5, 2000000, 0), 8);
        QCOMPARE(e.brenvik.FindTextA("abc", 5, 2000000, TBrenvik::MatchCase), 12);
        QCOMPARE(e.brenvik.FindTextA("abc", 9, 2000000, TBrenvik::MatchCase | TBrenvik::WholeWord), -1);
        QCOMPARE(e.brenvik.FindTextA("abc", 0, 5, 0), 0);
        QCOMPARE(e.brenvik.FindTextA("abc", 1, 5, 0), -1); // the match would end past the range
    }

    void failedFindCollapsesTheSelectionToItsStart() {
        Editor e("abc abc");
        e.brenvik.SetSelStart(2);
        e.brenvik.SetSelLength(3);
        QCOMPARE(e.brenvik.FindTextA("xyz", 3, 2000000, 0), -1);
        QCOMPARE(e.brenvik.GetSelStart(), 2);
        QCOMPARE(e.brenvik.GetSelLength(), 0);
        QCOMPARE(e.brenvik.FindTextA("abc", 3, 0, 0), -1);
        QCOMPARE(e.brenvik.FindTextA("", 0, 2000000, 0), -1);
    }

    void replaceSelectionIsAnUndoableEdit() {
        Editor e("\tLAI 1\n");
        e.brenvik.SetSelStart(5);
        e.brenvik.SetSelLength(1);
        e.brenvik.ReplaceSelection("2");
        QCOMPARE(e.plainText(), QString("\tLAI 2\n"));
        QCOMPARE(e.brenvik.GetSelStart(), 6);
        QVERIFY(e.brenvik.CanUndo());
        e.brenvik.SetSelStart(0);
        e.brenvik.SetSelLength(1);
        e.brenvik.ReplaceSelection("");
        QCOMPARE(e.plainText(), QString("LAI 2\n"));
        e.brenvik.Undo();
        e.brenvik.Undo();
        QCOMPARE(e.plainText(), QString("\tLAI 1\n"));
    }

    void clipboardAndSelectionOperations() {
        Editor e("one two");
        e.brenvik.SelectAll();
        QCOMPARE(e.brenvik.GetSelLength(), 7);
        e.brenvik.SetSelStart(0);
        e.brenvik.SetSelLength(4);
        e.brenvik.CutToClipboard();
        QCOMPARE(e.plainText(), QString("two"));
        e.brenvik.SetSelStart(3);
        e.brenvik.PasteFromClipboard();
        QCOMPARE(e.plainText(), QString("twoone "));
        e.brenvik.SetSelStart(0);
        e.brenvik.SetSelLength(3);
        e.brenvik.CopyToClipboard();
        e.brenvik.ClearSelection();
        QCOMPARE(e.plainText(), QString("one "));
        e.brenvik.PasteFromClipboard();
        QCOMPARE(e.plainText(), QString("twoone "));
    }

    void hideSelectionHidesItOnlyWithoutFocus() {
        Editor e("abc");
        QVERIFY(e.brenvik.GetHideSelection());
        const QPalette hidden = e.text().palette();
        QCOMPARE(hidden.color(QPalette::Inactive, QPalette::Highlight),
                 hidden.color(QPalette::Inactive, QPalette::Base));
        e.brenvik.SetHideSelection(false);
        QVERIFY(!e.brenvik.GetHideSelection());
        const QPalette shown = e.text().palette();
        QVERIFY(shown.color(QPalette::Inactive, QPalette::Highlight) !=
                shown.color(QPalette::Inactive, QPalette::Base));
    }
};

QTEST_MAIN(EditingTest)
#include "EditingTest.moc"
