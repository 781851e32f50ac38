// Faults of the file system during Open and Save: whatever fails, the file on
// disk stays the old version or becomes the new one, whole, and the editor keeps
// the text with its edits unsaved.

#include "AppTest.h"
#include "PermissionsEnforced.h"
#include "RichEdit2.h"
#include "SaveVersions.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>

#include <sys/mount.h>

namespace {

// Saves as a click would, and returns the error report's text (empty if none).
QString saveReportingErrors(TForm1& window) {
    QString message;
    const QPointer<QTimer> answer = answerMessageBox(QMessageBox::Ok, &message);
    bool done = false;
    QTimer::singleShot(0, [&] {
        window.Save1->trigger();
        done = true;
    });
    while (!done)
        idle();
    delete answer.data(); // no error came, nothing to answer
    return message;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

class SaveFaultsTest : public QObject {
    Q_OBJECT
    QTemporaryDir* folder = nullptr;
    QString file(const QString& name) const { return folder->filePath(name); }

    void expectUnsaved(TForm1& window, const QString& message, const QString& text) {
        QVERIFY2(message.contains(window.GetCurrentFile()), qPrintable(message));
        QVERIFY(window.Brenvik1->GetModified());
        QCOMPARE(window.Brenvik1->GetDocument().GetText(), text);
    }

  private Q_SLOTS:
    void init() { folder = new QTemporaryDir; }
    void cleanup() { delete folder; }

    void fileVanishingBetweenTheDialogAndTheLoadIsReported() {
        writeFile(file("kept.asm"), "\tRET\r\n");
        writeFile(file("gone.asm"), "\tRLC\r\n");
        TForm1 window;
        window.FormCreate(file("kept.asm"));
        whenModal<QFileDialog>([this](QFileDialog* dialog) {
            QObject::connect(dialog, &QFileDialog::fileSelected, [this] { QFile::remove(file("gone.asm")); });
            dialog->setDirectory(folder->path());
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("gone.asm");
            static_cast<QDialog*>(dialog)->accept();
        });
        QString message;
        answerMessageBox(QMessageBox::Ok, &message);
        QMetaObject::invokeMethod(window.Open1, &QAction::trigger, Qt::QueuedConnection);
        idle();
        QVERIFY2(message.contains(file("gone.asm")) && message.contains("No such file"), qPrintable(message));
        QCOMPARE(window.GetCurrentFile(), file("kept.asm"));
        QCOMPARE(window.Brenvik1->GetDocument().GetText(), QString("\tRET\n"));
    }

    void readOnlyFolderKeepsTheOldFile() {
        const QString locked = file("locked");
        QDir().mkpath(locked);
        writeFile(locked + "/prog.asm", "old\r\n");
        TForm1 window;
        window.FormCreate(locked + "/prog.asm");
        edit(window, "new\n");
        const PermissionsEnforced permissions;
        if (!permissions.holds())
            QSKIP("running as root without the right to give up CAP_DAC_OVERRIDE");
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        const QString message = saveReportingErrors(window);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        expectUnsaved(window, message, "new\n");
        QVERIFY2(message.contains("Permission denied"), qPrintable(message));
        QCOMPARE(readFile(locked + "/prog.asm"), QByteArray("old\r\n"));
        QCOMPARE(filesIn(locked), QStringList{"prog.asm"});
    }

    void readOnlyBackupMovesUpAndTheSaveGoesAhead() {
        writeFile(file("prog.asm"), "old\r\n");
        writeFile(file("prog.1"), "older\r\n");
        QFile::setPermissions(file("prog.1"), QFile::ReadOwner);
        TForm1 window;
        window.FormCreate(file("prog.asm"));
        edit(window, "new\n");
        const PermissionsEnforced permissions;
        if (!permissions.holds())
            QSKIP("running as root without the right to give up CAP_DAC_OVERRIDE");
        QCOMPARE(saveReportingErrors(window), QString());
        QVERIFY(!window.Brenvik1->GetModified());
        QCOMPARE(readFile(file("prog.asm")), QByteArray("new\r\n"));
        QCOMPARE(readFile(file("prog.1")), QByteArray("old\r\n"));
        QCOMPARE(readFile(file("prog.2")), QByteArray("older\r\n"));
    }

    void fullDiskKeepsTheOldFileAndLeavesNothingBehind() {
        const QString disk = file("disk");
        QDir().mkpath(disk);
        if (::geteuid() != 0 || ::mount("tmpfs", disk.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("a full disk is made by mounting a 64 KiB tmpfs, which needs root");
        const QByteArray old = QByteArray(20000, 'o') + "\r\n";
        writeFile(disk + "/prog.asm", old);
        TForm1 window;
        window.FormCreate(disk + "/prog.asm");
        const QString large = QString(200000, 'n') + "\n";
        edit(window, large);
        const QString message = saveReportingErrors(window);
        const QByteArray onDisk = readFile(disk + "/prog.asm");
        const QStringList left = filesIn(disk);
        ::umount(disk.toLocal8Bit().constData());
        expectUnsaved(window, message, large);
        QVERIFY2(message.contains("No space left"), qPrintable(message));
        QCOMPARE(onDisk, old);
        QCOMPARE(left, (QStringList{"prog.1", "prog.asm"}));
    }

    void killedMidSaveLeavesAWholeVersion() {
        const QString path = file("prog.asm");
        const auto onDisk = [](const QString& text) { return QString(text).replace("\n", "\r\n").toUtf8(); };
        writeFile(path, onDisk(versionText(0)));
        for (int round = 0; round < 8; ++round) {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("XDG_CONFIG_HOME", folder->path());
            child.setProcessEnvironment(environment);
            child.start(SAVE_UNTIL_KILLED, {path});
            QVERIFY(child.waitForReadyRead(20000)); // a first save is done
            QTest::qSleep(3 * round + 1);           // and the next is somewhere under way
            child.kill();
            child.waitForFinished();

            for (const QString& name : {QString("prog.asm"), QString("prog.1")}) {
                const QByteArray bytes = readFile(file(name));
                const int version = bytes.mid(4, bytes.indexOf('\r') - 4).toInt();
                QVERIFY2(!bytes.isEmpty() && bytes == onDisk(versionText(version)),
                         qPrintable(QString("%1 after round %2 is no whole version").arg(name).arg(round)));
            }
        }
    }
};

BRENVIK_APP_TEST_MAIN(SaveFaultsTest)
#include "SaveFaultsTest.moc"
