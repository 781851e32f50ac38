// The editor explains what a run found: the problems list, F8 and Shift+F8,
// and the message of the caret's line in the status bar.

#include "AppTest.h"
#include "DiagnosticText.h"
#include "ProblemsPane.h"
#include "SymbolsPane.h"
#include "UsesPane.h"

#include <QTreeWidget>

namespace {

const QString source = "\tLAI 300\n\tFOO 1\n\tRET\n\tJMP NOWHERE ; c\n";

void assemble(TForm1& window, const QString& text) {
    window.Brenvik1->GetTextArea()->setPlainText(text);
    window.Brenvik1->doAsm();
}

QStringList rowsOf(const TProblemsPane& pane) {
    QStringList rows;
    for (int i = 0; i < pane.List()->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = pane.List()->topLevelItem(i);
        rows.append(row->text(0) + ":" + row->text(1) + " " + row->text(2));
    }
    return rows;
}

} // namespace

class ProblemsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { QSettings().clear(); }

    void listsEveryProblemAndShowsItselfOnlyThen() {
        TForm1 window;
        window.show();
        assemble(window, "\tRET\n");
        QVERIFY(!pane<TProblemsPane>(window, "Problems")->isVisible());
        assemble(window, source);
        QVERIFY(pane<TProblemsPane>(window, "Problems")->isVisible());
        QCOMPARE(rowsOf(*pane<TProblemsPane>(window, "Problems")),
                 (QStringList{
                     "1:6 warning: immediate value 300 does not fit in a byte; its low byte, 054B, is used",
                     "2:2 error: unknown instruction or directive 'FOO'",
                     "4:6 error: undefined symbol 'NOWHERE'"})); // at the name, not the blank before it
        QCOMPARE(pane<TProblemsPane>(window, "Problems")->windowTitle(), QString("Problems (3)"));
        assemble(window, "\tRET\n");
        QVERIFY(!pane<TProblemsPane>(window, "Problems")
                     ->isVisible()); // it came for the problems and goes with them
    }

    void staysClosedOnceTheUserClosesIt() {
        TForm1 window;
        window.show();
        assemble(window, source);
        pane<TProblemsPane>(window, "Problems")->close();
        assemble(window, "\tFOO\n");
        QVERIFY(!pane<TProblemsPane>(window, "Problems")->isVisible());
        QVERIFY(!window.Problems1->isChecked());
        window.Problems1->trigger();
        QVERIFY(pane<TProblemsPane>(window, "Problems")->isVisible());
        assemble(window, "\tRET\n");
        QVERIFY(
            pane<TProblemsPane>(window, "Problems")->isVisible()); // opened by the user, closed by the user
    }

    void activatingAProblemPutsTheCaretAtItsColumn() {
        TForm1 window;
        window.show();
        assemble(window, source);
        QTreeWidget& list = *pane<TProblemsPane>(window, "Problems")->List();
        list.setFocus();
        QCOMPARE(window.focusWidget(), &list);
        Q_EMIT list.itemActivated(list.topLevelItem(2), 0);
        QCOMPARE(window.Brenvik1->GetLine(), 4);
        QCOMPARE(window.Brenvik1->GetColumn(), 6);
        QCOMPARE(window.focusWidget(), window.Brenvik1->GetTextArea());
    }

    void nextAndPreviousProblemGoRoundTheList() {
        TForm1 window;
        window.show();
        assemble(window, source);
        window.Brenvik1->GoTo(2, 1); // on line 3, past the first two
        const auto caret = [&] { return QPoint(window.Brenvik1->GetLine(), window.Brenvik1->GetColumn()); };
        window.NextProblem1->trigger();
        QCOMPARE(caret(), QPoint(4, 5));
        window.NextProblem1->trigger();
        QCOMPARE(caret(), QPoint(1, 6));
        window.PreviousProblem1->trigger();
        QCOMPARE(caret(), QPoint(4, 5));
        window.PreviousProblem1->trigger();
        QCOMPARE(caret(), QPoint(2, 2));
        QCOMPARE(window.NextProblem1->shortcut(), QKeySequence(Qt::Key_F8));
        QCOMPARE(window.PreviousProblem1->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F8));
    }

    void nextProblemAssemblesAStaleListingFirst() {
        TForm1 window;
        window.show();
        window.Brenvik1->GetTextArea()->setPlainText("\tRET\n\tFOO\n");
        window.NextProblem1->trigger();
        QCOMPARE(window.Brenvik1->GetLine(), 2);
        QVERIFY(window.Brenvik1->GetDocument().IsAssemblyCurrent());
    }

    void theCaretLinesProblemShowsBesideTheDesignedPanels() {
        TForm1 window;
        window.show();
        assemble(window, source);
        statusPanel(window, "MessagePanel")->setText("File saved.");
        window.Brenvik1->GoTo(1, 3);
        idle();
        QCOMPARE(statusPanel(window, "ProblemPanel")->text(),
                 QString("error: unknown instruction or directive 'FOO'"));
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString("File saved."));
        QCOMPARE(statusPanel(window, "ResultPanel")->text(), QString("2 Errors in Assembly!"));
        window.Brenvik1->GoTo(2, 1);
        idle();
        QCOMPARE(statusPanel(window, "ProblemPanel")->text(), QString());
        // Once the text changes, the old findings no longer describe it.
        window.Brenvik1->GoTo(1, 3);
        QTest::keyClick(window.Brenvik1->GetTextArea(), Qt::Key_X);
        idle();
        QCOMPARE(statusPanel(window, "ProblemPanel")->text(), QString());
    }

    void aProblemOfAnIncludedFileIsListedThereAndOpensIt() {
        const QTemporaryDir folder;
        writeFile(folder.filePath("lib.inc"), "\tnop\n\tdb missing\n");
        const QString program = folder.filePath("prog.asm");
        writeFile(program, "\tcpu 8008new\n\tinclude \"lib.inc\"\n");
        TForm1 window;
        window.show();
        window.FormCreate(program);
        window.Brenvik1->doAsm();
        // The including line is red, and says what and where.
        const Diagnostic* marked = window.Brenvik1->GetDocument().GetAssembly().errorOf(1);
        QVERIFY(marked);
        QCOMPARE(diagnosticText(*marked), QString("error: undefined symbol 'missing', in lib.inc:2"));
        const TProblemsPane& problems = *pane<TProblemsPane>(window, "Problems");
        QCOMPARE(rowsOf(problems), QStringList{"2:5 error: undefined symbol 'missing', in lib.inc:2"});
        Q_EMIT problems.List()->itemActivated(problems.List()->topLevelItem(0), 0);
        QCOMPARE(window.GetCurrentFile(), folder.filePath("lib.inc"));
        QCOMPARE(window.Brenvik1->GetLine(), 2);
        QCOMPARE(window.Brenvik1->GetColumn(), 5);
        // Read as the file that included it, where it names no processor itself.
        window.Brenvik1->doAsm();
        QCOMPARE(rowsOf(problems), QStringList{"2:5 error: undefined symbol 'missing'"});
        window.New1->trigger();
        window.Brenvik1->GetTextArea()->setPlainText("\tnop\n");
        window.Brenvik1->doAsm();
        QCOMPARE(window.Brenvik1->GetDocument().GetAssembly().syntax, Syntax::native);
    }

    void anotherDocumentShowsNoneOfTheLastOnesResults() {
        const QTemporaryDir folder;
        const QString other = folder.filePath("other.asm");
        writeFile(other, "\tRET\n");
        TForm1 window;
        window.show();
        window.Symbols1->trigger();
        const auto expectNothing = [&](const char* how) {
            idle();
            QVERIFY2(pane<TProblemsPane>(window, "Problems")->List()->topLevelItemCount() == 0, how);
            QVERIFY2(!pane<TProblemsPane>(window, "Problems")->isVisible(), how);
            QCOMPARE(pane<TSymbolsPane>(window, "SymbolsPane")->windowTitle(), QString("Symbols (0)"));
            QCOMPARE(pane<TUsesPane>(window, "UsesPane")->windowTitle(), QString("Uses"));
            QCOMPARE(statusPanel(window, "ResultPanel")->text(), QString());
        };
        const auto faultyWithSymbols = [&] {
            assemble(window, "HERE\tJMP HERE\n" + source);
            window.Brenvik1->SetModified(false);
            window.Brenvik1->GoTo(0, 1);
            window.FindUses1->trigger();
            idle();
            QCOMPARE(statusPanel(window, "ResultPanel")->text(), QString("2 Errors in Assembly!"));
        };
        faultyWithSymbols();
        window.SetRecentFiles({other});
        idle(); // the Reopen menu follows the list
        window.Reopen1->actions().first()->trigger();
        expectNothing("Reopen");
        faultyWithSymbols();
        window.New1->trigger();
        expectNothing("New");
        window.Brenvik1->GetTextArea()->setPlainText("\tFOO\n");
        window.NextProblem1->trigger(); // assembles the new text, not a stale one
        QCOMPARE(window.Brenvik1->GetLine(), 1);
    }

    void findsTheProblemAfterAndBeforeAPlace() {
        const std::vector<Diagnostic> problems{{0, 5, 1, {DiagCode::missingOperand}, 5},
                                               {2, 1, 1, {DiagCode::missingOperand}, 1},
                                               {2, 8, 1, {DiagCode::missingOperand}, 8}};
        QCOMPARE(nextProblem(problems, 0, 0, true), &problems[0]);
        QCOMPARE(nextProblem(problems, 0, 4, true), &problems[1]); // the caret stands on the first one
        QCOMPARE(nextProblem(problems, 2, 3, true), &problems[2]);
        QCOMPARE(nextProblem(problems, 2, 7, true), &problems[0]);
        QCOMPARE(nextProblem(problems, 2, 7, false), &problems[1]);
        QCOMPARE(nextProblem(problems, 0, 4, false), &problems[2]);
        QCOMPARE(nextProblem({}, 0, 0, true), nullptr);
    }
};

BRENVIK_APP_TEST_MAIN(ProblemsTest)
#include "ProblemsTest.moc"
