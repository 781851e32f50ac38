// Loading and saving: every encoding and line break comes back as it was, and a
// failure leaves both the editor and the file as they were.

#include "Editor.h"
#include "PermissionsEnforced.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

QByteArray read(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

} // namespace

class FilesTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder;
    QString file(const QString& name) const { return folder.filePath(name); }

  private Q_SLOTS:
    void aDocumentIsLoadedAssembledAndSavedWithoutAnEditor() {
        write(file("doc.asm"), "INC\tINCLUDE \"lib.inc\"\n\tJMP INC\n");
        write(file("lib.inc"), "\tRET\n");
        TDocument document;
        document.Load(file("doc.asm"));
        document.SetPath(file("doc.asm")); // its INCLUDE is found beside it
        QCOMPARE(document.Assemble().errorCount, 0);
        QCOMPARE(document.GetAssembly().bytesAssembled, 4u);
        document.WriteHexFile();
        QCOMPARE(read(file("doc.hex")), QByteArray(":0400000007440000B1\r\n:00000001FF\r\n"));
        document.Text().setPlainText("\tRLC\n");
        QVERIFY(document.TextChanged());
        QVERIFY(!document.IsAssemblyCurrent());
        document.Save();
        QCOMPARE(read(file("doc.asm")), QByteArray("\tRLC\n")); // read with LF, saved with LF
        QCOMPARE(read(file("doc.1")), QByteArray("INC\tINCLUDE \"lib.inc\"\n\tJMP INC\n"));
        QVERIFY(!document.IsModified());
    }

    void savingGivesBackTheBytesThatWereLoaded_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("CR LF") << QByteArray("\tRET\r\n\tRLC\r\n") << "\tRET\n\tRLC\n";
        QTest::newRow("LF") << QByteArray("\tRET\n\tRLC\n") << "\tRET\n\tRLC\n";
        QTest::newRow("CR") << QByteArray("\tRET\r\tRLC\r") << "\tRET\n\tRLC\n";
        QTest::newRow("no final break") << QByteArray("\tRET\r\n\tRLC") << "\tRET\n\tRLC";
        QTest::newRow("UTF-8") << QByteArray("\tDB \"\xC3\xA9\" ; \xE2\x82\xAC\r\n")
                               << "\tDB \"\u00E9\" ; \u20AC\n";
        QTest::newRow("UTF-8 with a BOM") << QByteArray("\xEF\xBB\xBF\tRET\r\n") << "\tRET\n";
        QTest::newRow("Latin-1") << QByteArray("\tDB \"\xE9\xA0\xFF\"\r\n")
                                 << "\tDB \"\u00E9\u00A0\u00FF\"\n";
        QTest::newRow("empty") << QByteArray() << "";
    }
    void savingGivesBackTheBytesThatWereLoaded() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        write(file("in.asm"), bytes);
        Editor e;
        e.brenvik.LoadFromFile(file("in.asm"));
        QCOMPARE(e.plainText(), text);
        e.brenvik.SaveToFile(file("out.asm"));
        QCOMPARE(read(file("out.asm")), bytes);
    }

    void everyLineBreakIsReadAndTheFirstLinesIsWritten() {
        write(file("breaks.asm"), "a\nb\rc\r\nd");
        Editor e;
        e.brenvik.LoadFromFile(file("breaks.asm"));
        QCOMPARE(e.text().document()->blockCount(), 4);
        e.brenvik.SaveToFile(file("breaks.asm"));
        QCOMPARE(read(file("breaks.asm")), QByteArray("a\nb\nc\nd"));
        // A new document, after a file with LF, is written with CR LF.
        e.brenvik.ClearAll();
        e.text().setPlainText("a\nb");
        e.brenvik.SaveToFile(file("new.asm"));
        QCOMPARE(read(file("new.asm")), QByteArray("a\r\nb"));
    }

    void loadPutsTheCaretAtTheStartAndCountsAsAChange() {
        write(file("prog.asm"), "\tRET\r\n\tRLC\r\n");
        Editor e("old text");
        e.brenvik.doAsm();
        e.text().moveCursor(QTextCursor::End);
        QSignalSpy changed(&e.brenvik, &TBrenvik::OnChange);
        e.brenvik.LoadFromFile(file("prog.asm"));
        QCOMPARE(e.brenvik.GetSelStart(), 0);
        QVERIFY(changed.count() >= 1);
        QVERIFY(!e.document().IsAssemblyCurrent());
    }

    void marksAreNotSaved() {
        Editor e("\tFOO ; x\n");
        e.brenvik.doAsm();
        e.brenvik.SaveToFile(file("marked.asm"));
        QCOMPARE(read(file("marked.asm")), QByteArray("\tFOO ; x\r\n"));
        QCOMPARE(e.brenvik.GetModified(), false);
    }

    void failedLoadLeavesTheTextAsItWas_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << file("missing.asm") << "No such file";
        QTest::newRow("folder") << folder.path() << "folder";
        write(file("unreadable.asm"), "\tRLC\r\n");
        QFile::setPermissions(file("unreadable.asm"), QFile::Permissions());
        QTest::newRow("unreadable") << file("unreadable.asm") << "Permission denied";
        // A named pipe would block the load until something writes to it.
        ::mkfifo(file("pipe.asm").toLocal8Bit().constData(), 0600);
        QTest::newRow("named pipe") << file("pipe.asm") << "not a regular file";
        write(file("image.asm"), QByteArray("\0\0\0\x06\x01\x07\0", 7)); // an EPROM image named .asm
        QTest::newRow("binary") << file("image.asm") << "not a text file";
    }
    void failedLoadLeavesTheTextAsItWas() {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        Editor e("\tRET\n");
        e.brenvik.doAsm();
        e.brenvik.SetModified(true);
        const PermissionsEnforced permissions;
        if (!permissions.holds())
            QSKIP("running as root without the right to give up CAP_DAC_OVERRIDE");
        try {
            e.brenvik.LoadFromFile(path);
            QFAIL("no error");
        } catch (const FileError& error) {
            QVERIFY(QString(error.what()).contains(path));
            QVERIFY2(QString(error.what()).contains(reason), error.what());
        }
        QCOMPARE(e.plainText(), QString("\tRET\n"));
        QVERIFY(e.brenvik.GetModified());
        QVERIFY(e.document().IsAssemblyCurrent());
    }

    void failedSaveLeavesTheFileAsItWas() {
        Editor e("\tRLC\n");
        QVERIFY_THROWS_EXCEPTION(FileError, e.brenvik.SaveToFile(file("no/such/folder/x.asm")));

        const QTemporaryDir own;
        const QString latin = own.filePath("latin.asm");
        write(latin, "\tDB \"\xE9\"\r\n");
        e.brenvik.LoadFromFile(latin);
        e.text().moveCursor(QTextCursor::End);
        e.text().insertPlainText("; \u20AC");
        try {
            e.brenvik.SaveToFile(latin);
            QFAIL("no error");
        } catch (const FileError& error) {
            QVERIFY2(QString(error.what()).contains("line 2, column 3"), error.what());
        }
        QCOMPARE(read(latin), QByteArray("\tDB \"\xE9\"\r\n"));
        QCOMPARE(QDir(own.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"latin.asm"});
    }
};

QTEST_MAIN(FilesTest)
#include "FilesTest.moc"
