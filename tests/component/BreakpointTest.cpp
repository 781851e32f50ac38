// Breakpoints as marks of lines, and the line the program stands on: neither
// is an edit, and both follow the text as it changes.

#include "Editor.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

class BreakpointTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void aBreakpointWithoutCodeGoesToTheNextLineWithCode() {
        Editor editor("* a comment\n\n\tLAI 1\n\tHLT\n");
        editor.brenvik.doAsm();
        QSignalSpy changed(&editor.document(), &TDocument::OnBreakpointsChanged);
        editor.document().ToggleBreakpoint(0);
        QCOMPARE(editor.document().BreakpointLines(), std::vector<int>{2});
        QCOMPARE(changed.count(), 1);
        editor.document().ToggleBreakpoint(2);
        QVERIFY(editor.document().BreakpointLines().empty());
        editor.document().ToggleBreakpoint(9); // past the end: nothing to mark
        QVERIFY(editor.document().BreakpointLines().empty());
    }

    void aLineThatLosesItsCodePassesItsBreakpointOnAtTheNextRun() {
        Editor editor("\tLAI 1\n\tLBI 2\n");
        editor.brenvik.doAsm();
        editor.document().ToggleBreakpoint(0);
        QTextCursor cursor(editor.text().document()->findBlockByNumber(0));
        cursor.insertText(";");
        QCOMPARE(editor.document().BreakpointLines(), std::vector<int>{0}); // until the run knows
        editor.brenvik.doAsm();
        QCOMPARE(editor.document().BreakpointLines(), std::vector<int>{1});
    }

    void breakpointsFollowTheirLinesAndAreNoEdit() {
        Editor editor("\tLAI 1\n\tLBI 2\n\tHLT\n");
        editor.brenvik.doAsm();
        editor.brenvik.SetModified(false);
        QSignalSpy changes(&editor.brenvik, &TBrenvik::OnChange);
        editor.document().ToggleBreakpoint(2);
        editor.brenvik.Highlights().SetExecutionLine(1);
        QCOMPARE(changes.count(), 0);
        QVERIFY(!editor.brenvik.GetModified());
        QVERIFY(!editor.brenvik.CanUndo());
        QCOMPARE(editor.plainText(), QString("\tLAI 1\n\tLBI 2\n\tHLT\n"));

        QTextCursor(editor.text().document()->findBlockByNumber(0)).insertText("\tLCI 3\n");
        QCOMPARE(editor.document().BreakpointLines(), std::vector<int>{3});
        // A line opened at the very start of the marked line: the mark goes down with its text.
        QTextCursor(editor.text().document()->findBlockByNumber(3)).insertText("\tLDI 4\n");
        QCOMPARE(editor.document().BreakpointLines(), std::vector<int>{4});
        editor.brenvik.Undo();
        QCOMPARE(editor.document().BreakpointLines(), std::vector<int>{3});
    }

    void aTextReplacedAsAWholeHasNoBreakpoints() {
        Editor editor("\tLAI 1\n\tHLT\n");
        editor.brenvik.doAsm();
        editor.document().ToggleBreakpoint(1);
        QSignalSpy changed(&editor.document(), &TDocument::OnBreakpointsChanged);
        editor.text().setPlainText("\tLBI 2\n\tLCI 3\n\tHLT\n");
        QVERIFY(editor.document().BreakpointLines().empty());
        QCOMPARE(changed.count(), 1);
    }

    void theViewFollowsTheProgramAndLeavesTheCaret() {
        QString text;
        for (int i = 0; i < 500; ++i)
            text += "\tINB\n";
        Editor editor(text);
        editor.brenvik.doAsm();
        editor.brenvik.Highlights().SetExecutionLine(400);
        const int top = editor.text().verticalScrollBar()->value();
        QVERIFY(top < 400 &&
                400 < top + editor.text().viewport()->height() / editor.text().fontMetrics().height());
        QCOMPARE(editor.brenvik.GetLine(), 1);
        QCOMPARE(editor.brenvik.Highlights().GetExecutionLine(), 400);
        editor.brenvik.Highlights().SetExecutionLine(-1);
        QCOMPARE(editor.brenvik.Highlights().GetExecutionLine(), -1);
        QVERIFY(editor.text().extraSelections().isEmpty());
    }
};

QTEST_MAIN(BreakpointTest)
#include "BreakpointTest.moc"
