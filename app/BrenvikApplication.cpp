#include "BrenvikApplication.h"

#include "ErrorReport.h"

#include <exception>

TBrenvikApplication::TBrenvikApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Brenvik"));
    setApplicationDisplayName(QStringLiteral("Brenvik"));
    setOrganizationName(QStringLiteral("Talvane"));
    setApplicationVersion(QStringLiteral("1.15"));
}

bool TBrenvikApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showErrorReport(QString::fromStdString(error.what()));
        return false;
    }
}
