#pragma once

#include <QApplication>

// The application: an error that escapes any handler is reported and the
// program goes on with its next event.
class TBrenvikApplication : public QApplication {
  public:
    TBrenvikApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
