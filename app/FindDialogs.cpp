#include "FindDialogs.h"

#include "BrenvikControl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFindDialog::TFindDialog(QWidget* parent, bool replacing)
    : QDialog(parent), findText(new QLineEdit(this)),
      wholeWord(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      matchCase(new QCheckBox(QStringLiteral("Match &case"), this)),
      findNext(new QPushButton(QStringLiteral("&Find Next"), this)),
      closeButton(new QPushButton(QStringLiteral("Close"), this)), grid(new QGridLayout(this)) {
    setWindowTitle(replacing ? QStringLiteral("Replace") : QStringLiteral("Find"));
    setModal(false);
    grid->addWidget(new QLabel(QStringLiteral("Fi&nd what:"), this), 0, 0);
    grid->addWidget(findText, 0, 1);
    grid->addWidget(findNext, 0, 2);
    grid->addWidget(wholeWord, 2, 0, 1, 2);
    grid->addWidget(matchCase, 3, 0, 1, 2);
    grid->addWidget(closeButton, 4, 2);
    findNext->setDefault(true);
    connect(findNext, &QPushButton::clicked, this, &TFindDialog::OnFind);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    setTabOrder({findText, wholeWord, matchCase, findNext, closeButton});
}

// Tab goes through the fields in reading order: what to find (and what to put
// instead), the options, then the buttons.
void TFindDialog::setTabOrder(std::initializer_list<QWidget*> order) {
    for (auto next = order.begin(); next + 1 != order.end(); ++next)
        QWidget::setTabOrder(*next, *(next + 1));
}

QString TFindDialog::FindText() const {
    return findText->text();
}

int TFindDialog::Options() const {
    return (wholeWord->isChecked() ? TBrenvik::WholeWord : 0) |
           (matchCase->isChecked() ? TBrenvik::MatchCase : 0);
}

void TFindDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    Q_EMIT OnClose();
}

TReplaceDialog::TReplaceDialog(QWidget* parent)
    : TFindDialog(parent, true), replaceText(new QLineEdit(this)),
      replace(new QPushButton(QStringLiteral("&Replace"), this)),
      replaceAll(new QPushButton(QStringLiteral("Replace &All"), this)) {
    grid->addWidget(new QLabel(QStringLiteral("Re&place with:"), this), 1, 0);
    grid->addWidget(replaceText, 1, 1);
    grid->addWidget(replace, 1, 2);
    grid->addWidget(replaceAll, 2, 2);
    connect(replace, &QPushButton::clicked, this, [this] { Q_EMIT OnReplace(false); });
    connect(replaceAll, &QPushButton::clicked, this, [this] { Q_EMIT OnReplace(true); });
    setTabOrder({findText, replaceText, wholeWord, matchCase, findNext, replace, replaceAll, closeButton});
}

QString TReplaceDialog::ReplaceText() const {
    return replaceText->text();
}
