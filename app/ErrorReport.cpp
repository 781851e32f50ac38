#include "ErrorReport.h"

#include <QApplication>
#include <QMessageBox>

QString errorReportText(const QString& message) {
    return !message.isEmpty() && message.back() > QLatin1Char('.') ? message + QLatin1Char('.') : message;
}

void showErrorReport(const QString& message) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                          errorReportText(message));
}
