// The editor on documents far beyond any real program and on files that are no
// program at all: each loads, assembles as it does headless, paints, and keeps
// its text through a save and a load.

#include "Editor.h"
#include "HeadlessTextArea.h"
#include "ProgramGenerator.h"
#include "SourceText.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <random>

namespace {

QByteArray joined(const std::vector<std::string>& lines) {
    QByteArray bytes;
    for (const std::string& line : lines)
        bytes += QByteArray::fromStdString(line) + "\r\n";
    return bytes;
}

QByteArray randomBytes(qsizetype count) {
    std::mt19937 random(8008);
    QByteArray bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

} // namespace

class LargeDocumentTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder;

    QString written(const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }

  private Q_SLOTS:
    void largeSourcesAssembleAsTheyDoHeadless_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("a million lines") << joined(generateProgram(1000000));
        QTest::newRow("a line of 10 MB")
            << "\tDB\t" + QByteArray(5 * 1024 * 1024, '7').replace("7", "7,") + "7";
        QTest::newRow("random binary with NUL") << randomBytes(1024 * 1024);
    }
    void largeSourcesAssembleAsTheyDoHeadless() {
        QFETCH(QByteArray, bytes);
        Editor e;
        const QString path = written("large.asm", bytes);
        const bool text = looksLikeText(bytes.toStdString());
        if (text) {
            e.brenvik.LoadFromFile(path);
        } else { // refused as a file, it can still be pasted
            QVERIFY_THROWS_EXCEPTION(FileError, e.brenvik.LoadFromFile(path));
            e.text().setPlainText(QString::fromStdU16String(decodeSource(bytes.toStdString()).text));
        }
        const QString loaded = e.plainText();
        e.brenvik.doAsm();
        QVERIFY(e.document().IsAssemblyCurrent());
        QVERIFY(!e.brenvik.grab().isNull());

        std::vector<std::string> lines;
        for (const QString& line : loaded.split('\n'))
            lines.push_back(line.toLatin1().toStdString());
        if (loaded.endsWith('\n'))
            lines.pop_back();
        HeadlessTextArea headlessText(lines);
        TBrenvikEngine headlessEngine(headlessText);
        const Assembly& headless = headlessEngine.run();
        QCOMPARE(e.brenvik.GetErrorCount(), headless.errorCount);
        QCOMPARE(e.brenvik.BytesAssembled(), headless.bytesAssembled);

        if (!text)
            return;
        const QString saved = folder.filePath("saved.asm");
        e.brenvik.SaveToFile(saved);
        e.brenvik.LoadFromFile(saved);
        QCOMPARE(e.plainText(), loaded);
    }
};

QTEST_MAIN(LargeDocumentTest)
#include "LargeDocumentTest.moc"
