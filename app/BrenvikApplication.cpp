#include "BrenvikApplication.h"

#include "ErrorReport.h"
#include "Version.h"

TBrenvikApplication::TBrenvikApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Brenvik"));
    setOrganizationName(QStringLiteral("Talvane"));
    setApplicationVersion(QString::fromLatin1(brenvikVersion));
}

bool TBrenvikApplication::notify(QObject* receiver, QEvent* event) {
    // The last resort for a command that is not run through reportingErrors.
    bool handled = false;
    reportingErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
