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
        QSignalSpy changed(&editor.brenvik, &TBrenvik::OnBreakpointsChanged);
        editor.brenvik.ToggleBreakpoint(0);
        QCOMPARE(editor.brenvik.BreakpointLines(), std::vector<int>{2});
        QCOMPARE(changed.count(), 1);
        editor.brenvik.ToggleBreakpoint(2);
        QVERIFY(editor.brenvik.BreakpointLines().empty());
        editor.brenvik.ToggleBreakpoint(9); // past the end: nothing to mark
        QVERIFY(editor.brenvik.BreakpointLines().empty());
    }

    void aLineThatLosesItsCodePassesItsBreakpointOnAtTheNextRun() {
        Editor editor("\tLAI 1\n\tLBI 2\n");
        editor.brenvik.doAsm();
        editor.brenvik.ToggleBreakpoint(0);
        QTextCursor cursor(editor.text().document()->findBlockByNumber(0));
        cursor.insertText(";");
        QCOMPARE(editor.brenvik.BreakpointLines(), std::vector<int>{0}); // until the run knows
        editor.brenvik.doAsm();
        QCOMPARE(editor.brenvik.BreakpointLines(), std::vector<int>{1});
    }

    void breakpointsFollowTheirLinesAndAreNoEdit() {
        Editor editor("\tLAI 1\n\tLBI 2\n\tHLT\n");
        editor.brenvik.doAsm();
        editor.brenvik.SetModified(false);
        QSignalSpy changes(&editor.brenvik, &TBrenvik::OnChange);
        editor.brenvik.ToggleBreakpoint(2);
        editor.brenvik.SetExecutionLine(1);
        QCOMPARE(changes.count(), 0);
        QVERIFY(!editor.brenvik.GetModified());
        QVERIFY(!editor.brenvik.CanUndo());
        QCOMPARE(editor.plainText(), QString("\tLAI 1\n\tLBI 2\n\tHLT\n"));

        QTextCursor(editor.text().document()->findBlockByNumber(0)).insertText("\tLCI 3\n");
        QCOMPARE(editor.brenvik.BreakpointLines(), std::vector<int>{3});
        // A line opened at the very start of the marked line: the mark goes down with its text.
        QTextCursor(editor.text().document()->findBlockByNumber(3)).insertText("\tLDI 4\n");
        QCOMPARE(editor.brenvik.BreakpointLines(), std::vector<int>{4});
        editor.brenvik.Undo();
        QCOMPARE(editor.brenvik.BreakpointLines(), std::vector<int>{3});
    }

    void aTextReplacedAsAWholeHasNoBreakpoints() {
        Editor editor("\tLAI 1\n\tHLT\n");
        editor.brenvik.doAsm();
        editor.brenvik.ToggleBreakpoint(1);
        QSignalSpy changed(&editor.brenvik, &TBrenvik::OnBreakpointsChanged);
        editor.text().setPlainText("\tLBI 2\n\tLCI 3\n\tHLT\n");
        QVERIFY(editor.brenvik.BreakpointLines().empty());
        QCOMPARE(changed.count(), 1);
    }

    void theViewFollowsTheProgramAndLeavesTheCaret() {
        QString text;
        for (int i = 0; i < 500; ++i)
            text += "\tINB\n";
        Editor editor(text);
        editor.brenvik.doAsm();
        editor.brenvik.SetExecutionLine(400);
        const int top = editor.text().verticalScrollBar()->value();
        QVERIFY(top < 400 &&
                400 < top + editor.text().viewport()->height() / editor.text().fontMetrics().height());
        QCOMPARE(editor.brenvik.GetLine(), 1);
        QCOMPARE(editor.brenvik.GetExecutionLine(), 400);
        editor.brenvik.SetExecutionLine(-1);
        QCOMPARE(editor.brenvik.GetExecutionLine(), -1);
        QVERIFY(editor.text().extraSelections().isEmpty());
    }
};

QTEST_MAIN(BreakpointTest)
#include "BreakpointTest.moc"
