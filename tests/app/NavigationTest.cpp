// Going by names and exporting: the symbols pane, Go to Definition, Find Uses,
// the cost of the selected lines, and File > Export.

#include "AppTest.h"
#include "ExportDialog.h"
#include "SymbolsPane.h"
#include "UsesPane.h"

#include <QInputDialog>
#include <QRadioButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTreeWidget>
#include <QWheelEvent>

namespace {

// Addresses in the comments are octal.
const QString program = "COUNT\tEQU 3\n"       // line 1
                        "LIMIT\tEQU COUNT+1\n" // line 2
                        "START\tLBI COUNT\n"   // line 3, 000
                        "LOOP\tDCB\n"          // line 4, 002
                        "\tJFZ LOOP\n"         // line 5, 003
                        "\tCAL DONE\n"         // line 6, 006
                        "\tJMP START\n"        // line 7, 011
                        "DONE\tRET\n";         // line 8, 014

void assemble(TForm1& window, const QString& text) {
    window.Brenvik1->GetTextArea()->setPlainText(text);
    window.Brenvik1->doAsm();
}

QStringList columnOf(const QAbstractItemModel& model, int column) {
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row)
        cells.append(model.index(row, column).data().toString());
    return cells;
}

QStringList usesOf(const TUsesPane& pane) {
    QStringList rows;
    for (int i = 0; i < pane.List()->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = pane.List()->topLevelItem(i);
        rows.append(row->text(0) + ":" + row->text(1) + " " + row->text(2));
    }
    return rows;
}

int positionOf(TForm1& window, int line, int column) {
    return window.Brenvik1->GetTextArea()->document()->findBlockByNumber(line - 1).position() + column - 1;
}

// Selects from one (line, column) to another, both 1-based, as a drag would.
void select(TForm1& window, int fromLine, int fromColumn, int toLine, int toColumn) {
    QTextCursor cursor = window.Brenvik1->GetTextArea()->textCursor();
    cursor.setPosition(positionOf(window, fromLine, fromColumn));
    cursor.setPosition(positionOf(window, toLine, toColumn), QTextCursor::KeepAnchor);
    window.Brenvik1->GetTextArea()->setTextCursor(cursor);
}

QPoint caretOf(const TForm1& window) {
    return {window.Brenvik1->GetLine(), window.Brenvik1->GetColumn()};
}

} // namespace

class NavigationTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { QSettings().clear(); }

    void symbolsPaneListsFiltersAndSorts() {
        TForm1 window;
        window.show();
        assemble(window, program);
        QVERIFY(!pane<TSymbolsPane>(window, "SymbolsPane")->isVisible());
        window.Symbols1->trigger();
        QVERIFY(pane<TSymbolsPane>(window, "SymbolsPane")->isVisible());
        QCOMPARE(pane<TSymbolsPane>(window, "SymbolsPane")->windowTitle(), QString("Symbols (5)"));
        const QSortFilterProxyModel& rows = *pane<TSymbolsPane>(window, "SymbolsPane")->Sorted();
        QCOMPARE(columnOf(rows, TSymbolsModel::nameColumn),
                 (QStringList{"COUNT", "DONE", "LIMIT", "LOOP", "START"}));
        QCOMPARE(columnOf(rows, TSymbolsModel::valueColumn),
                 (QStringList{"000003", "000014", "000004", "000002", "000000"}));
        QCOMPARE(columnOf(rows, TSymbolsModel::lineColumn), (QStringList{"1", "8", "2", "4", "3"}));
        QCOMPARE(columnOf(rows, TSymbolsModel::usesColumn), (QStringList{"2", "1", "0", "1", "1"}));
        QCOMPARE(rows.index(1, TSymbolsModel::valueColumn).data(Qt::ToolTipRole).toString(),
                 QString("Decimal 12"));

        QTableView& view = *pane<TSymbolsPane>(window, "SymbolsPane")->View();
        view.sortByColumn(TSymbolsModel::valueColumn, Qt::AscendingOrder);
        QCOMPARE(columnOf(rows, TSymbolsModel::nameColumn),
                 (QStringList{"START", "LOOP", "COUNT", "LIMIT", "DONE"}));
        view.sortByColumn(TSymbolsModel::lineColumn, Qt::DescendingOrder);
        QCOMPARE(columnOf(rows, TSymbolsModel::nameColumn),
                 (QStringList{"DONE", "LOOP", "START", "LIMIT", "COUNT"}));

        QTest::keyClicks(pane<TSymbolsPane>(window, "SymbolsPane")->Filter(), "o");
        QCOMPARE(columnOf(rows, TSymbolsModel::nameColumn), (QStringList{"DONE", "LOOP", "COUNT"}));
        QCOMPARE(pane<TSymbolsPane>(window, "SymbolsPane")->windowTitle(), QString("Symbols (3 of 5)"));
        QTest::keyClicks(pane<TSymbolsPane>(window, "SymbolsPane")->Filter(), "o");
        QCOMPARE(columnOf(rows, TSymbolsModel::nameColumn), (QStringList{"LOOP"}));
        assemble(window, QString(program).replace("LOOP", "LOOPS"));
        QCOMPARE(pane<TSymbolsPane>(window, "SymbolsPane")->windowTitle(), QString("Symbols (1 of 5)"));
        pane<TSymbolsPane>(window, "SymbolsPane")->Filter()->clear();
        QCOMPARE(pane<TSymbolsPane>(window, "SymbolsPane")->windowTitle(), QString("Symbols (5)"));
    }

    void symbolsWithoutAValueSayWhy() {
        TForm1 window;
        window.show();
        window.Symbols1->trigger();
        assemble(window, "\tORG 177776B\nFITS\tDW 1\nPAST\tDW 2\nFAILED\tEQU 1/0\n");
        const QSortFilterProxyModel& rows = *pane<TSymbolsPane>(window, "SymbolsPane")->Sorted();
        QCOMPARE(columnOf(rows, TSymbolsModel::valueColumn), (QStringList{"?", "177776", "?"}));
        const auto tip = [&](int row) {
            return rows.index(row, TSymbolsModel::valueColumn).data(Qt::ToolTipRole);
        };
        QCOMPARE(tip(0).toString(), QString("No value: its definition is in error"));
        QCOMPARE(tip(2).toString(),
                 QString("No value: location 200000B is past 177777B, the last 16-bit address"));
    }

    void symbolsPaneFollowsEachRunAndGoesToTheDefinition() {
        TForm1 window;
        window.show();
        assemble(window, program);
        window.Symbols1->trigger();
        assemble(window, "ONLY\tRET\n\tJMP ONLY\n");
        const QSortFilterProxyModel& rows = *pane<TSymbolsPane>(window, "SymbolsPane")->Sorted();
        QCOMPARE(columnOf(rows, TSymbolsModel::nameColumn), QStringList{"ONLY"});
        // A closed pane catches up once it opens again.
        pane<TSymbolsPane>(window, "SymbolsPane")->close();
        assemble(window, program);
        window.Symbols1->trigger();
        QCOMPARE(rows.rowCount(), 5);

        QTableView& view = *pane<TSymbolsPane>(window, "SymbolsPane")->View();
        Q_EMIT view.activated(rows.index(1, TSymbolsModel::nameColumn)); // DONE
        QCOMPARE(caretOf(window), QPoint(8, 1));
        QCOMPARE(window.focusWidget(), window.Brenvik1->GetTextArea());
    }

    void goToDefinitionFollowsTheNameAtTheCaret() {
        TForm1 window;
        window.show();
        assemble(window, program);
        QCOMPARE(window.GoToDefinition1->shortcut(), QKeySequence(Qt::Key_F12));
        window.Brenvik1->GoTo(4, 7); // in LOOP, line 5
        window.GoToDefinition1->trigger();
        QCOMPARE(caretOf(window), QPoint(4, 1));
        window.Brenvik1->GoTo(1, 16); // just after COUNT in "EQU COUNT+1"
        window.GoToDefinition1->trigger();
        QCOMPARE(caretOf(window), QPoint(1, 1));

        window.Brenvik1->GoTo(4, 3); // on the mnemonic JFZ
        window.GoToDefinition1->trigger();
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString("JFZ is not defined"));
        QCOMPARE(caretOf(window), QPoint(5, 3));
        window.Brenvik1->GoTo(0, 11); // on the number 3
        window.GoToDefinition1->trigger();
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString("No name at the caret"));
    }

    void aCommentsWordsAreNoNames() {
        TForm1 window;
        window.show();
        // After a whole statement, '*' begins a comment as ';' does.
        assemble(window, "LOOP\tRET\t* back to LOOP\n\tJMP LOOP\t; not LOOP\n");
        for (const QPoint at : {QPoint(0, 21), QPoint(1, 18)}) {
            window.Brenvik1->GoTo(at.x(), at.y());
            window.GoToDefinition1->trigger();
            QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString("No name at the caret"));
        }
        window.Brenvik1->GoTo(1, 7); // in the operand LOOP
        window.GoToDefinition1->trigger();
        QCOMPARE(caretOf(window), QPoint(1, 1));
    }

    void anAsSyntaxSourceIsNamedAndNavigatedByItsOwnRules() {
        TForm1 window;
        window.show();
        assemble(window, "\tcpu 8008new\nsave_H:\tequ 1FF0H\n  again: mvi h,(save_H>>8)\n\tjmp again\n");
        QCOMPARE(statusPanel(window, "SyntaxPanel")->text(), QString("AS syntax, CPU 8008NEW"));
        QVERIFY(statusPanel(window, "SyntaxPanel")->isVisible());
        idle();
        QCOMPARE(statusPanel(window, "ResultPanel")->text(), QString("5 bytes assembled"));
        window.Brenvik1->GoTo(2, 22); // in save_H, after its underscore
        window.GoToDefinition1->trigger();
        QCOMPARE(caretOf(window), QPoint(2, 1));
        window.Brenvik1->GoTo(3, 8); // on again, in the JMP
        window.GoToDefinition1->trigger();
        QCOMPARE(caretOf(window), QPoint(3, 1)); // the label's line, indented as AS allows

        assemble(window, "\tRET\n");
        QVERIFY(!statusPanel(window, "SyntaxPanel")->isVisible());
    }

    void namesOfAnIncludedFileAreFoundInIt() {
        const QTemporaryDir folder;
        const QString library = folder.filePath("lib.inc");
        writeFile(library, "; helpers\nsend:\tout 0\n\tjmp start\n");
        const QString program = folder.filePath("prog.asm");
        writeFile(program, "\tcpu 8008new\nstart:\tinclude \"lib.inc\"\n\tcall send\n");
        TForm1 window;
        window.show();
        window.FormCreate(program);
        window.Brenvik1->doAsm();
        // START's uses, in the document and in the file it includes.
        window.Brenvik1->GoTo(1, 2);
        window.FindUses1->trigger();
        QCOMPARE(usesOf(*pane<TUsesPane>(window, "UsesPane")), QStringList{"3:6 jmp start"});
        QCOMPARE(pane<TUsesPane>(window, "UsesPane")->List()->topLevelItem(0)->toolTip(2), library);
        // F12 on SEND opens the included file at its definition.
        window.Brenvik1->GoTo(2, 8);
        window.GoToDefinition1->trigger();
        QCOMPARE(window.GetCurrentFile(), library);
        QCOMPARE(caretOf(window), QPoint(2, 1));
        // The Symbols pane too.
        window.FormCreate(program);
        window.Brenvik1->doAsm();
        window.Symbols1->trigger();
        const QSortFilterProxyModel& rows = *pane<TSymbolsPane>(window, "SymbolsPane")->Sorted();
        QCOMPARE(columnOf(rows, TSymbolsModel::nameColumn), (QStringList{"SEND", "START"}));
        Q_EMIT pane<TSymbolsPane>(window, "SymbolsPane")->View()->activated(rows.index(0, 0));
        QCOMPARE(window.GetCurrentFile(), library);
    }

    void namesInCommentsAndStringsAreNoNames() {
        TForm1 window;
        window.show();
        assemble(window, "DONE\tRET\t; DONE\n* DONE\n\tDB \"A;B\",DONE\n");
        for (const QPoint& at : {QPoint(0, 13), QPoint(1, 4)}) {
            window.Brenvik1->GoTo(at.x(), at.y());
            window.GoToDefinition1->trigger();
            QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString("No name at the caret"));
        }
        window.Brenvik1->GoTo(2, 13); // DONE after a string that holds a ';'
        window.GoToDefinition1->trigger();
        QCOMPARE(caretOf(window), QPoint(1, 1));
    }

    void symbolsPaneIsRemembered() {
        {
            TForm1 window;
            window.show();
            window.Symbols1->trigger();
            window.close();
        }
        TForm1 window;
        window.show();
        QVERIFY(pane<TSymbolsPane>(window, "SymbolsPane")->isVisible());
        assemble(window, program);
        QCOMPARE(pane<TSymbolsPane>(window, "SymbolsPane")->Sorted()->rowCount(), 5);
    }

    void controlClickGoesToTheDefinition() {
        TForm1 window;
        window.show();
        assemble(window, program);
        QPlainTextEdit& text = *window.Brenvik1->GetTextArea();
        QTextCursor onDone(text.document());
        onDone.setPosition(positionOf(window, 6, 7)); // in DONE of "CAL DONE"
        const QPoint point = text.cursorRect(onDone).center();
        QTest::mouseClick(text.viewport(), Qt::LeftButton, Qt::ControlModifier, point);
        QCOMPARE(caretOf(window), QPoint(8, 1));
        QTest::mouseClick(text.viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QCOMPARE(caretOf(window).x(), 6); // a plain click only places the caret
    }

    void findUsesListsEveryLineThatNamesTheSymbol() {
        TForm1 window;
        window.show();
        assemble(window, program);
        QCOMPARE(window.FindUses1->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F12));
        window.Brenvik1->GoTo(0, 2); // on COUNT's definition
        window.FindUses1->trigger();
        QVERIFY(pane<TUsesPane>(window, "UsesPane")->isVisible());
        QCOMPARE(usesOf(*pane<TUsesPane>(window, "UsesPane")),
                 (QStringList{"2:11 LIMIT EQU COUNT+1", "3:11 START LBI COUNT"}));
        QCOMPARE(pane<TUsesPane>(window, "UsesPane")->windowTitle(), QString("Uses of COUNT (2)"));
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString("COUNT is used 2 times"));

        QTreeWidget& list = *pane<TUsesPane>(window, "UsesPane")->List();
        Q_EMIT list.itemActivated(list.topLevelItem(1), 0);
        QCOMPARE(caretOf(window), QPoint(3, 11));

        window.Brenvik1->GoTo(1, 2); // LIMIT
        window.FindUses1->trigger();
        QCOMPARE(list.topLevelItemCount(), 0);
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString("LIMIT is not used"));
        // A name used before its definition is found too.
        assemble(window, "\tJMP LATER\nLATER\tRET\n");
        window.Brenvik1->GoTo(1, 1);
        window.FindUses1->trigger();
        QCOMPARE(usesOf(*pane<TUsesPane>(window, "UsesPane")), QStringList{"1:6 JMP LATER"});
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString("LATER is used once"));
        // The message is about the name at the caret: it goes when the caret moves on.
        QTest::keyClick(window.Brenvik1->GetTextArea(), Qt::Key_Right);
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString());
    }

    void goToLineAsksForTheLine() {
        TForm1 window;
        window.show();
        assemble(window, program);
        QCOMPARE(window.GoToLine1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
        QString label;
        whenModal<QInputDialog>([&](QInputDialog* dialog) {
            label = dialog->labelText();
            dialog->setIntValue(7);
            dialog->accept();
        });
        window.GoToLine1->trigger();
        QCOMPARE(label, QString("&Line (1 to 9):"));
        QCOMPARE(caretOf(window), QPoint(7, 1));
    }

    void lineNumbersHaveAStripOfTheirOwnAndAreRemembered() {
        {
            TForm1 window;
            window.show();
            assemble(window, program);
            const int codeWidth = window.Brenvik1->GetCodeWidth();
            TRichEdit2& area = *window.Brenvik1->GetTextArea();
            const int textLeft = area.viewport()->x();
            auto* numbers = area.findChild<QWidget*>("LineNumbers");
            QVERIFY(numbers && !numbers->isVisible());
            window.LineNumbers1->trigger();
            QVERIFY(numbers->isVisible());
            QCOMPARE(area.viewport()->x(), textLeft + numbers->width());
            QVERIFY(numbers->width() >= 2 * area.fontMetrics().horizontalAdvance('9'));
            QCOMPARE(window.Brenvik1->GetCodeWidth(), codeWidth); // the code column stays as it was
            window.close();
        }
        TForm1 next;
        next.show();
        QVERIFY(next.LineNumbers1->isChecked());
        QVERIFY(next.Brenvik1->GetTextArea()->findChild<QWidget*>("LineNumbers")->isVisible());
    }

    void zoomMakesTheTextAndItsCodeColumnLargerAndSmaller() {
        TForm1 window;
        window.show();
        assemble(window, program + "\tFOO\n");
        TRichEdit2& area = *window.Brenvik1->GetTextArea();
        const int points = area.font().pointSize();
        const auto errorMarked = [&] {
            return !area.document()->findBlockByNumber(8).layout()->formats().isEmpty();
        };
        const int codeWidth = window.Brenvik1->GetCodeWidth();
        window.ZoomIn1->trigger();
        window.ZoomIn1->trigger();
        QCOMPARE(area.font().pointSize(), points + 2);
        QVERIFY(window.Brenvik1->GetCodeWidth() > codeWidth); // the code column follows
        QVERIFY(errorMarked());                               // and the marks stay
        QWheelEvent down(QPointF(10, 10), area.viewport()->mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                         Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area.viewport(), &down);
        QCOMPARE(area.font().pointSize(), points + 1);
        window.ActualSize1->trigger();
        QCOMPARE(area.font().pointSize(), points);
        QCOMPARE(window.Brenvik1->GetCodeWidth(), codeWidth);
    }

    void aLineGoneToStandsInTheMiddleAndIsLitForAMoment() {
        TForm1 window;
        window.resize(700, 400);
        window.show();
        QString text;
        for (int i = 0; i < 200; ++i)
            text += i == 150 ? "TARGET\tRET\n" : "\tJMP TARGET\n";
        assemble(window, text);
        window.Brenvik1->GoTo(0, 6);
        QTRY_COMPARE(window.Brenvik1->Highlights().GetFlashedLine(), -1);
        window.GoToDefinition1->trigger();
        TRichEdit2& area = *window.Brenvik1->GetTextArea();
        const QTextBlock target = area.document()->findBlockByNumber(150);
        const int middle = area.viewport()->height() / 2;
        QVERIFY(std::abs(area.blockTop(target) - middle) <= 2 * area.blockHeight(target));
        QCOMPARE(window.Brenvik1->Highlights().GetFlashedLine(), 150);
        QCOMPARE(area.extraSelections().size(), 1);
        QTRY_COMPARE(window.Brenvik1->Highlights().GetFlashedLine(), -1);
        QCOMPARE(area.extraSelections().size(), 0);
    }

    void selectedLinesShowTheirBytesAndStates() {
        TForm1 window;
        window.show();
        assemble(window, program);
        QVERIFY(!statusPanel(window, "SelectionPanel")->isVisible());
        select(window, 3, 1, 5, 1); // lines 3 and 4 whole: LBI and DCB
        QCOMPARE(statusPanel(window, "SelectionPanel")->text(), QString("3 bytes, 13 states"));
        QVERIFY(statusPanel(window, "SelectionPanel")->isVisible());
        select(window, 4, 2, 6, 3); // DCB, JFZ (taken or not) and CAL
        QCOMPARE(statusPanel(window, "SelectionPanel")->text(), QString("7 bytes, 25-27 states"));
        select(window, 1, 1, 2, 4); // definitions only
        QCOMPARE(statusPanel(window, "SelectionPanel")->text(), QString("0 bytes, 0 states"));
        select(window, 8, 1, 8, 2);
        QCOMPARE(statusPanel(window, "SelectionPanel")->text(), QString("1 byte, 5 states"));
        window.Brenvik1->GoTo(0, 0);
        QVERIFY(!statusPanel(window, "SelectionPanel")->isVisible());
    }

    void exportRefusesWhileLinesAreInError() {
        TForm1 window;
        window.show();
        assemble(window, "\tFOO\n");
        for (QAction* command : {window.ExportBinary1, window.ExportListing1, window.ExportSymbols1}) {
            QString said;
            answerMessageBox(QMessageBox::Ok, &said);
            command->trigger();
            QCOMPARE(said, QString("Nothing is exported while lines are in error."));
        }
    }

    void exportWritesTheImageTheListingAndTheSymbols() {
        QTemporaryDir folder;
        TForm1 window;
        window.show();
        assemble(window, "\tORG 10B\nHERE\tLAI 1\n\tRET\n");

        whenModal<TBinaryImageDialog>([](TBinaryImageDialog* dialog) { dialog->accept(); });
        chooseFile(folder.filePath("whole.bin"));
        window.ExportBinary1->trigger();
        QCOMPARE(readFile(folder.filePath("whole.bin")), QByteArray("\006\001\007"));
        QCOMPARE(statusPanel(window, "MessagePanel")->text(), QString("Exported whole.bin"));

        whenModal<TBinaryImageDialog>([](TBinaryImageDialog* dialog) {
            dialog->FillField->setText("0");
            dialog->FixedRange->setChecked(true);
            dialog->LastField->setText("17");
            dialog->accept();
        });
        chooseFile(folder.filePath("eprom.bin"));
        window.ExportBinary1->trigger();
        QCOMPARE(readFile(folder.filePath("eprom.bin")),
                 QByteArray(8, '\0') + "\006\001\007" + QByteArray(5, '\0'));
        // The next image starts from these choices, in this window and the next.
        const auto expectRemembered = [](TForm1& form) {
            QStringList fields;
            whenModal<TBinaryImageDialog>([&](TBinaryImageDialog* dialog) {
                fields = {dialog->FillField->text(), dialog->FirstField->text(), dialog->LastField->text(),
                          dialog->FixedRange->isChecked() ? "fixed" : "whole"};
                dialog->reject();
            });
            form.ExportBinary1->trigger();
            QCOMPARE(fields, (QStringList{"0", "000000", "17", "fixed"}));
        };
        expectRemembered(window);
        window.close();
        TForm1 next;
        next.show();
        assemble(next, "\tRET\n");
        expectRemembered(next);

        chooseFile(folder.filePath("program.lst"));
        window.ExportListing1->trigger();
        QVERIFY(readFile(folder.filePath("program.lst")).contains("000010 006 001      HERE    LAI 1\n"));

        chooseFile(folder.filePath("program.sym"));
        window.ExportSymbols1->trigger();
        QCOMPARE(readFile(folder.filePath("program.sym")), QByteArray("HERE 000010 2\n"));
    }

    void badImageChoicesAreSaidInTheDialog() {
        TForm1 window;
        window.show();
        assemble(window, "\tRET\n");
        QString problem;
        bool stillOpen = false;
        whenModal<TBinaryImageDialog>([&](TBinaryImageDialog* dialog) {
            dialog->FillField->setText("400");
            dialog->accept();
            stillOpen = dialog->isVisible();
            problem = dialog->findChild<QLabel*>("Problem")->text();
            dialog->reject();
        });
        window.ExportBinary1->trigger();
        QVERIFY(stillOpen);
        QCOMPARE(problem, QString("The fill byte is octal, 0 to 377."));

        // A range the program does not fit is said inline too, the choices kept.
        assemble(window, "\tORG 20000B\n\tRET\n");
        QStringList keysGoTo;
        whenModal<TBinaryImageDialog>([&](TBinaryImageDialog* dialog) {
            dialog->FixedRange->setChecked(true);
            dialog->accept();
            stillOpen = dialog->isVisible();
            problem = dialog->findChild<QLabel*>("Problem")->text();
            QCOMPARE(dialog->LastField->text(), QString("017777"));
            // The order Tab follows, read from the focus chain: what a key press does with it
            // (two radio buttons are one stop) depends on whether the window is active yet.
            for (QWidget* next = dialog->FillField->nextInFocusChain(); next != dialog->FillField;
                 next = next->nextInFocusChain()) {
                if (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisibleTo(dialog))
                    continue;
                const auto* button = qobject_cast<const QAbstractButton*>(next);
                const auto* field = qobject_cast<const QLineEdit*>(next);
                keysGoTo.append(next->metaObject()->className() + QString(" ") +
                                (button  ? button->text()
                                 : field ? field->text()
                                         : QString()));
            }
            dialog->reject();
        });
        window.ExportBinary1->trigger();
        QVERIFY(stillOpen);
        QCOMPARE(problem, QString("A byte at 020000 lies outside 000000-017777."));
        QCOMPARE(keysGoTo, (QStringList{"QRadioButton From the program's &lowest address to its highest",
                                        "QRadioButton Over a fixed &range", "QLineEdit 000000",
                                        "QLineEdit 017777", "QPushButton OK", "QPushButton Cancel"}));
    }
};

BRENVIK_APP_TEST_MAIN(NavigationTest)
#include "NavigationTest.moc"
