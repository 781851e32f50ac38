// The printed listing, printed to PDF and read back with pdftotext.

#include "Editor.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The text of every page, pages ended by form feeds, laid out as printed.
QString printed(TBrenvik& brenvik, bool selectionOnly, const QPageSize& page = QPageSize(QPageSize::A4)) {
    QTemporaryDir folder;
    const QString pdf = folder.filePath("listing.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(page);
    brenvik.Print(printer, selectionOnly); // the job ends with the printing
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", pdf, "-"});
    pdftotext.waitForFinished();
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

QStringList rows(const QString& text) {
    QStringList result;
    for (const QString& row : text.split('\n'))
        if (!row.trimmed().isEmpty())
            result.append(row.simplified());
    return result;
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void everyLineIsPrintedBesideItsAddressAndBytes() {
        Editor e("\tORG 100B\nSTART:\tLAI 1 ; one\n\tJMP START\nX\tEQU 7\n\tBSS\n\tRET\n");
        e.brenvik.doAsm();
        const QStringList lines = rows(printed(e.brenvik, false));
        QCOMPARE(lines, (QStringList{"000100 ORG 100B", "000100 006 001 START: LAI 1 ; one",
                                     "000102 104 100 000 JMP START", "= 7 X EQU 7", "000105 BSS",
                                     "000105 ??? RET"}));
    }

    void longLinesContinueOnRowsOfBytesOnly() {
        Editor e("\tDB 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\n\tRET\n");
        e.brenvik.doAsm();
        // A narrow page leaves room for few byte groups a row.
        const QStringList lines =
            rows(printed(e.brenvik, false, QPageSize(QSizeF(80, 200), QPageSize::Millimeter)));
        QVERIFY2(lines.size() > 3, qPrintable(lines.join(" | ")));
        QVERIFY(lines[0].startsWith("000000 001"));
        QVERIFY(lines[1].startsWith("0")); // byte groups only, no address and no source
        QVERIFY(!lines[1].contains("DB"));
        QVERIFY(lines.last().startsWith("000024 007"));
        QCOMPARE(lines.join(' ').count("RET"), 1);
    }

    void theSelectionPrintsOnlyItsLines() {
        Editor e("\tRET\n\tRLC\n\tRRC\n\tRAL\n");
        e.brenvik.doAsm();
        e.brenvik.SetSelStart(6);  // in line 2
        e.brenvik.SetSelLength(4); // to the start of the third line, which is not included
        QCOMPARE(rows(printed(e.brenvik, true)), (QStringList{"000001 002 RLC"}));
        QCOMPARE(rows(printed(e.brenvik, false)).size(), 4);
        QCOMPARE(e.brenvik.GetSelStart(), 6);
        QCOMPARE(e.brenvik.GetSelLength(), 4);
    }

    void rowsRunOnToNewPagesAndTheTextIsAssembledFirst() {
        QString text;
        for (int i = 0; i < 200; ++i)
            text += "\tRET\n";
        Editor e(text);
        const QString listing = printed(e.brenvik, false);
        QVERIFY(e.document().IsAssemblyCurrent());
        QVERIFY(listing.count('\f') >= 2);
        QCOMPARE(rows(listing).size(), 200);
        QVERIFY(rows(listing).last().startsWith("000307 007"));
    }
};

QTEST_MAIN(PrintingTest)
#include "PrintingTest.moc"
