#pragma once

#include <QString>

#include <exception>

class QWidget;

// The report of an error that escaped a command: its message, with "." added
// after a last character that sorts above ".", in a message box.
QString errorReportText(const QString& message);
void showErrorReport(const QString& message);

// A plain message box over `parent`: `text`, and `detail` (such as the system's
// reason) below it.
void showMessage(QWidget* parent, const QString& text, const QString& detail);

// Runs a command and reports what it throws. Commands started by Qt run through
// this, so that no exception unwinds through Qt's own frames, which do not
// expect one (and leak when it passes). Whether it ran without one.
template <typename Command> bool reportingErrors(Command&& command) {
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        showErrorReport(QString::fromStdString(error.what()));
        return false;
    }
}
