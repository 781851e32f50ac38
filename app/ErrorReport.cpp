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

void showMessage(QWidget* parent, const QString& text, const QString& detail) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent);
    box.setInformativeText(detail);
    box.exec();
}
