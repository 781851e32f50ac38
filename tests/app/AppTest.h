#pragma once

// Support for main-window tests: the real application class, settings in a
// temporary XDG_CONFIG_HOME, and answers to the modal dialogs a command opens.

#include "BrenvikApplication.h"
#include "BrenvikControl.h"
#include "MainForm.h"
#include "RichEdit2.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs `answer` on the next modal dialog of type Dialog as soon as it shows; the
// returned watch is gone once it has answered, and deleting it cancels it.
template <typename Dialog> QPointer<QTimer> whenModal(std::function<void(Dialog*)> answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(dialog);
        }
    });
    poll->start(10);
    return poll;
}

// Presses `button` in the next message box; its text goes to *text.
inline QPointer<QTimer> answerMessageBox(QMessageBox::StandardButton button, QString* text = nullptr) {
    return whenModal<QMessageBox>([=](QMessageBox* box) {
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}

// Chooses `path` in the next file dialog, or cancels it when `path` is empty.
inline void chooseFile(const QString& path) {
    whenModal<QFileDialog>([path](QFileDialog* dialog) {
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed into the name box, as a user would.
        dialog->setDirectory(QFileInfo(path).path());
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QFileInfo(path).fileName());
        static_cast<QDialog*>(dialog)->accept();
    });
}

// A command of the window's menus, by the name of its member: "RunContinue1".
inline QAction* action(const TForm1& window, const char* name) {
    QAction* found = window.findChild<QAction*>(QString::fromLatin1(name));
    Q_ASSERT(found);
    return found;
}

// A pane of the window, by its name: pane<TSymbolsPane>(window, "SymbolsPane").
template <typename Pane> Pane* pane(const TForm1& window, const char* name) {
    Pane* found = window.findChild<Pane*>(QString::fromLatin1(name));
    Q_ASSERT(found);
    return found;
}

// One of the window's parts that is no widget: session<TDebugSession>(window).
template <typename Part> Part* session(const TForm1& window) {
    Part* found = window.findChild<Part*>();
    Q_ASSERT(found);
    return found;
}

// A panel of the window's status bar, by its name: "MessagePanel", "ResultPanel",
// "LinePanel", "ColumnPanel", "ProblemPanel", "SelectionPanel", "MachinePanel".
inline QLabel* statusPanel(const TForm1& window, const char* name) {
    QLabel* panel = window.statusBar()->findChild<QLabel*>(QString::fromLatin1(name));
    Q_ASSERT(panel);
    return panel;
}

// Lets the events posted so far run, as the event loop does before it waits.
inline void idle() {
    QCoreApplication::processEvents();
}

// Replaces the document's text as typing would: the edits are unsaved.
inline void edit(TForm1& window, const QString& text) {
    window.Brenvik1->GetTextArea()->setPlainText(text);
    window.Brenvik1->SetModified(true);
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

#define BRENVIK_APP_TEST_MAIN(TestClass)                                                                     \
    int main(int argc, char** argv) {                                                                        \
        QTemporaryDir config;                                                                                \
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());                                             \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                             \
        TBrenvikApplication application(argc, argv);                                                         \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
