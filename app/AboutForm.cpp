#include "AboutForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(QStringLiteral("Brenvik"), this);
    QFont large = name->font();
    large.setPointSize(14);
    name->setFont(large);
    layout->addWidget(name);
    layout->addWidget(new QLabel(QStringLiteral("Version 1.15"), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
