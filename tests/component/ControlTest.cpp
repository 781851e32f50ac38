// The automatic run, the explicit run, and what a run leaves as it was.

#include "Editor.h"
#include "ScrollBarStyle.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolTip>

class ControlTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void runsAfterTheDelayFromTheLastChange() {
        Editor e("\tRET");
        e.brenvik.AutoAsmDelay = 300;
        QSignalSpy assembled(&e.brenvik, &TBrenvik::OnAssemble);
        QTest::keyClick(&e.text(), Qt::Key_A);
        QTest::qWait(150);
        QTest::keyClick(&e.text(), Qt::Key_B);
        QElapsedTimer sinceLastChange;
        sinceLastChange.start();
        QCOMPARE(assembled.count(), 0);
        QVERIFY(assembled.wait(2000));
        QVERIFY(sinceLastChange.elapsed() >= 250); // not 150 ms, as a delay from the first change would give
        QCOMPARE(assembled.count(), 1);
        QVERIFY(e.document().IsAssemblyCurrent());
    }

    void delayZeroNeverRuns() {
        Editor e("\tRET");
        e.brenvik.AutoAsmDelay = 0;
        QSignalSpy assembled(&e.brenvik, &TBrenvik::OnAssemble);
        QTest::keyClick(&e.text(), Qt::Key_A);
        QVERIFY(!assembled.wait(300));
        QVERIFY(!e.document().IsAssemblyCurrent());
    }

    void explicitRunCancelsThePendingOne() {
        Editor e("\tRET");
        e.brenvik.AutoAsmDelay = 100;
        QSignalSpy assembled(&e.brenvik, &TBrenvik::OnAssemble);
        QTest::keyClick(&e.text(), Qt::Key_A);
        e.brenvik.doAsm();
        QCOMPARE(assembled.count(), 1);
        QVERIFY(!assembled.wait(400));
    }

    // A command that needs the text's assembly runs it through the document, not the editor.
    void aRunOfTheDocumentShowsAsTheEditorsOwn() {
        Editor e("\tRET\n\tFOO");
        e.brenvik.AutoAsmDelay = 100;
        QSignalSpy assembled(&e.brenvik, &TBrenvik::OnAssemble);
        e.text().moveCursor(QTextCursor::End);
        QTest::keyClick(&e.text(), Qt::Key_A);
        QCOMPARE(e.document().CurrentAssembly().errorCount, 1);
        QCOMPARE(assembled.count(), 1);
        QVERIFY(!e.marks(1).isEmpty());
        e.document().CurrentAssembly(); // still the text's: no second run
        QVERIFY(!assembled.wait(400));
        e.document().ForgetAssembly();
        QCOMPARE(e.brenvik.GetErrorCount(), 0);
        QCOMPARE(assembled.count(), 1);
    }

    void pendingTimerKeepsItsDelay() {
        Editor e("\tRET");
        e.brenvik.AutoAsmDelay = 100;
        QSignalSpy assembled(&e.brenvik, &TBrenvik::OnAssemble);
        QTest::keyClick(&e.text(), Qt::Key_A);
        e.brenvik.AutoAsmDelay = 60000;
        QVERIFY(assembled.wait(2000));
    }

    void everyChangeMakesTheListingStaleAndIsReported() {
        Editor e("\tRET\n");
        e.brenvik.doAsm();
        QSignalSpy changed(&e.brenvik, &TBrenvik::OnChange);
        e.brenvik.ReplaceSelection("\tRLC\n");
        QVERIFY(!e.document().IsAssemblyCurrent());
        QCOMPARE(changed.count(), 1);
        e.brenvik.ClearAll();
        QCOMPARE(changed.count(), 2);
        QCOMPARE(e.brenvik.GetModified(), false);
    }

    void runLeavesTextSelectionModifiedAndUndoAsTheyWere() {
        Editor e("X\tFOO 1\n\tRLC ; rotate\n\tJMP X\n");
        QTest::keyClicks(&e.text(), "Y");
        const int undoSteps = e.text().document()->availableUndoSteps();
        e.brenvik.SetSelStart(3);
        e.brenvik.SetSelLength(5);
        QSignalSpy changed(&e.brenvik, &TBrenvik::OnChange);
        QSignalSpy assembled(&e.brenvik, &TBrenvik::OnAssemble);

        e.brenvik.doAsm();

        QCOMPARE(e.plainText(), QString("YX\tFOO 1\n\tRLC ; rotate\n\tJMP X\n"));
        QCOMPARE(e.brenvik.GetSelStart(), 3);
        QCOMPARE(e.brenvik.GetSelLength(), 5);
        QCOMPARE(e.brenvik.GetModified(), true);
        QCOMPARE(e.text().document()->availableUndoSteps(), undoSteps);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(assembled.count(), 1);
        QCOMPARE(e.brenvik.GetErrorCount(), 2);

        e.brenvik.SetModified(false);
        e.brenvik.doAsm();
        QCOMPARE(e.brenvik.GetModified(), false);
    }

    void marksAreRedFromTheFaultAndBlueFromTheComment() {
        Editor e("\tFOO 1\n\tRLC ; rotate\n\tLAI 1 ; x y\n\tJMP LATER ; on\nLATER:\tRET\n");
        e.brenvik.doAsm();
        const QColor red(255, 0, 0), blue(0, 0, 255);
        QCOMPARE(e.marks(0), (QList<QPair<int, QColor>>{{2, red}}));
        QCOMPARE(e.marks(1), (QList<QPair<int, QColor>>{{6, blue}}));
        QCOMPARE(e.marks(2), (QList<QPair<int, QColor>>{{8, blue}}));
        QCOMPARE(e.marks(3), (QList<QPair<int, QColor>>{{12, blue}})); // red until resolved
        QCOMPARE(e.marks(4), (QList<QPair<int, QColor>>{}));
    }

    void warningsAreWavyUnderlinesAndTheNextRunStartsClean() {
        Editor e("\tLAI 300 ; c\n");
        e.brenvik.doAsm();
        const auto formats = e.text().document()->firstBlock().layout()->formats();
        QCOMPARE(formats.size(), 2);
        QCOMPARE(formats[0].start, 5);
        QCOMPARE(formats[0].length, 3);
        QCOMPARE(formats[0].format.underlineStyle(), QTextCharFormat::WaveUnderline);
        QVERIFY(!formats[0].format.hasProperty(QTextFormat::ForegroundBrush)); // the text keeps its colour
        QCOMPARE(e.marks(0)[1], (QPair<int, QColor>{10, QColor(0, 0, 255)}));
        e.text().setPlainText("\tRET\n");
        e.brenvik.doAsm();
        QCOMPARE(e.marks(0), (QList<QPair<int, QColor>>{}));
    }

    // The wave under a warned operand is a line of some body, not the font's hairline.
    void theWarningWaveIsBoldEnoughToRead() {
        Editor e("\tLAI 300\n");
        e.brenvik.doAsm();
        QVERIFY(QTest::qWaitForWindowExposed(&e.brenvik));
        const QImage shot = e.text().viewport()->grab().toImage();
        const QTextLine line = e.text().document()->firstBlock().layout()->lineAt(0);
        const QPointF origin(0, e.text().blockTop(e.text().document()->firstBlock()));
        const int left = qRound(origin.x() + line.cursorToX(5)),
                  right = qRound(origin.x() + line.cursorToX(8));
        const int baseline = qRound(origin.y() + line.ascent());
        const QColor warning = e.brenvik.GetMarkColours().warning;
        int coloured = 0;
        QSet<int> rows;
        for (int y = baseline; y < qRound(origin.y() + line.height()) + 2; ++y)
            for (int x = left; x < right; ++x) {
                const QColor pixel = shot.pixelColor(x, y);
                if (std::abs(pixel.red() - warning.red()) + std::abs(pixel.green() - warning.green()) +
                        std::abs(pixel.blue() - warning.blue()) <
                    120) {
                    ++coloured;
                    rows.insert(y);
                }
            }
        QVERIFY2(rows.size() >= 3, qPrintable(QString::number(rows.size())));
        QVERIFY2(coloured >= right - left, qPrintable(QString::number(coloured)));
    }

    void warningsLeaveTheTextUndoAndModifiedAlone() {
        Editor e("\tLAI 300\n\tINM\n");
        QTest::keyClicks(&e.text(), "X");
        e.brenvik.SetModified(false);
        const int undoSteps = e.text().document()->availableUndoSteps();
        QSignalSpy changed(&e.brenvik, &TBrenvik::OnChange);
        e.brenvik.doAsm();
        QCOMPARE(e.document().GetAssembly().diagnostics.size(), std::size_t{2});
        QCOMPARE(e.brenvik.GetErrorCount(), 0);
        QCOMPARE(e.text().document()->availableUndoSteps(), undoSteps);
        QCOMPARE(e.brenvik.GetModified(), false);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(e.plainText(), QString("X\tLAI 300\n\tINM\n"));
    }

    void hoveringOverALineExplainsItsProblems() {
        Editor e("\tRET\n\tFOO 1\n\tLAI 300 JUNK\n");
        e.brenvik.doAsm();
        const auto hover = [&](int line) {
            QToolTip::hideText();
            if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
                return QString("a tooltip that would not hide");
            const QTextBlock block = e.text().document()->findBlockByNumber(line);
            const QPoint at = e.text().cursorRect(QTextCursor(block)).center() + QPoint(10, 0);
            QHelpEvent help(QEvent::ToolTip, at, e.text().viewport()->mapToGlobal(at));
            QApplication::sendEvent(e.text().viewport(), &help);
            return QToolTip::isVisible() ? QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText()
                                         : QString();
        };
        QCOMPARE(hover(0), QString());
        QCOMPARE(hover(1),
                 QString("error: unknown instruction or directive 'FOO'\n"
                         "Check the spelling: the MCS-8 mnemonics (LAB, LAI, ADM, JMP, CAL ...) and the "
                         "directives ORG, EQU, DB, DW, BSS, DATA, CODE, TITLE and END are known."));
        const QString both = hover(2);
        QVERIFY(both.startsWith("warning: immediate value 300 does not fit in a byte"));
        QVERIFY(both.contains("error: unexpected 'JUNK' after the statement"));
        QTest::keyClick(&e.text(), Qt::Key_A); // the findings no longer describe the text
        QCOMPARE(hover(1), QString());
    }

    void aDarkBackgroundGetsMarksThatReadOnIt() {
        Editor e("\tFOO ; x\n");
        e.brenvik.doAsm();
        QCOMPARE(e.marks(0), (QList<QPair<int, QColor>>{{2, QColor(255, 0, 0)}, {6, QColor(0, 0, 255)}}));
        QPalette dark = e.brenvik.palette();
        dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
        dark.setColor(QPalette::Text, QColor(0xD4, 0xD4, 0xD4));
        e.brenvik.setPalette(dark);
        const QList<QPair<int, QColor>> marks = e.marks(0);
        QCOMPARE(marks.size(), 2);
        for (const auto& [column, colour] : marks) // lighter than the background by far
            QVERIFY2(colour.lightness() - dark.color(QPalette::Base).lightness() > 100,
                     qPrintable(colour.name()));
        QCOMPARE(marks[0].second.hue(), 0); // still red
        QCOMPARE(e.brenvik.GetMarkColours().error, marks[0].second);
    }

    void caretLineAndColumnFollowTheSelectionEnd() {
        Editor e("ab\ncdef\n");
        e.brenvik.SetSelStart(1);
        e.brenvik.SetSelLength(4);
        QCOMPARE(e.brenvik.GetLine(), 2);
        QCOMPARE(e.brenvik.GetColumn(), 3);
        e.brenvik.SetSelLength(1000);
        QCOMPARE(e.brenvik.GetSelLength(), 7);
    }

    void viewReturnsToTheCaretAfterARun() {
        QString text;
        for (int i = 0; i < 300; ++i)
            text += "\tRET\n";
        Editor e(text);
        e.brenvik.SetSelStart(0);
        e.text().verticalScrollBar()->setValue(200);
        e.brenvik.doAsm();
        QCOMPARE(e.text().verticalScrollBar()->value(), 0);
    }

    // The thumb of the horizontal scroll bar stands where the view is, and stands
    // out from its track, even when it fills nearly all of it.
    void horizontalThumbStandsOutWhereTheViewIs() {
        for (const bool dark : {false, true}) {
            Editor e("\t" + QString(120, 'W'), {700, 200});
            if (dark) {
                QPalette palette;
                palette.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
                palette.setColor(QPalette::ButtonText, Qt::white);
                e.text().horizontalScrollBar()->setPalette(palette);
            }
            QScrollBar& bar = *e.text().horizontalScrollBar();
            QVERIFY(QTest::qWaitForWindowExposed(&e.brenvik));
            bar.setMaximum(bar.pageStep() / 10); // a text a little wider than the view
            const QColor thumb = TScrollBarStyle::thumbColour(bar.palette(), false);
            const auto thumbColumns = [&] {
                const QImage image = bar.grab().toImage();
                QList<int> columns;
                for (int x = 0; x < image.width(); ++x) {
                    const QColor pixel = image.pixelColor(x, image.height() / 2);
                    if (std::abs(pixel.lightness() - thumb.lightness()) < 8)
                        columns.append(x);
                }
                return columns;
            };
            const QColor track = bar.palette().color(QPalette::Button);
            QVERIFY(std::abs(thumb.lightness() - track.lightness()) >= 40);
            bar.setValue(0);
            const QList<int> atStart = thumbColumns();
            bar.setValue(bar.maximum());
            const QList<int> atEnd = thumbColumns();
            QVERIFY(!atStart.isEmpty() && !atEnd.isEmpty());
            QVERIFY2(atStart.first() < atEnd.first() && atStart.last() < atEnd.last(),
                     dark ? "dark" : "light");
            QVERIFY(atStart.first() < bar.width() / 10);
            QVERIFY(atEnd.last() > bar.width() * 9 / 10);
        }
    }
};

QTEST_MAIN(ControlTest)
#include "ControlTest.moc"
