#pragma once

#include <QString>

// The report of an error that escaped a command: its message, with "." added
// after a last character that sorts above ".", in a message box.
QString errorReportText(const QString& message);
void showErrorReport(const QString& message);
