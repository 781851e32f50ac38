#pragma once

#include <QDialog>

// The About dialog: the program's name and version.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};
