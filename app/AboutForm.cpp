#include "AboutForm.h"

#include "SyntaxSummary.h"
#include "Version.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>

const QUrl TAboutBox::updatePage(QStringLiteral("https://github.com/brenvik-asm/brenvik/releases"));

namespace {

// A label at a fixed place, as the dialog is laid out at 96 dots per inch.
QLabel* label(QWidget* parent, const QString& text, QRect geometry) {
    auto* result = new QLabel(text, parent);
    result->setGeometry(geometry);
    return result;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(507, 348);

    auto* panel = new QFrame(this);
    panel->setGeometry(8, 8, 489, 297);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);

    QLabel* icon = label(panel, QString(), {8, 8, 65, 57});
    icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(65, 57));
    icon->setScaledContents(true);

    QLabel* productName = label(panel, QStringLiteral("Brenvik"), {112, 24, 224, 24});
    QFont large = productName->font();
    large.setPixelSize(18);
    productName->setFont(large);
    productName->setWordWrap(true);

    label(panel, QStringLiteral("Version %1").arg(brenvikVersion), {8, 80, 160, 16});
    QLabel* comments = label(panel, QStringLiteral("For 8008 builders"), {352, 80, 113, 24});
    comments->setWordWrap(true);
    comments->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    Label1 = label(panel,
                   QStringLiteral("<a href=\"%1\" style=\"color: blue\">Check for update</a>")
                       .arg(updatePage.toString()),
                   {176, 80, 160, 16});
    Label1->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    Label1->setCursor(Qt::PointingHandCursor);
    connect(Label1, &QLabel::linkActivated, this, &TAboutBox::Label1Click);

    Edit1 = new QPlainTextEdit(panel);
    Edit1->setGeometry(8, 104, 473, 185);
    Edit1->setReadOnly(true);
    Edit1->setTabChangesFocus(false);
    Edit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Edit1->setBackgroundRole(QPalette::Light);
    QPalette colours = Edit1->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Light));
    Edit1->setPalette(colours);
    QStringList lines;
    for (const char* line : syntaxSummary)
        lines.append(QString::fromLatin1(line));
    Edit1->setPlainText(lines.join('\n'));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(215, 316, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

bool TAboutBox::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

// Shown from the top each time, wherever it was left.
void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->moveCursor(QTextCursor::Start);
    Edit1->verticalScrollBar()->setValue(0);
    Edit1->horizontalScrollBar()->setValue(0);
}

// Turns every backslash-t of the summary into a tab; later activations find none.
void TAboutBox::FormActivate() {
    QString text = Edit1->toPlainText();
    if (text.contains(QLatin1String("\\t")))
        Edit1->setPlainText(text.replace(QLatin1String("\\t"), QLatin1String("\t")));
}

void TAboutBox::Label1Click() {
    QDesktopServices::openUrl(updatePage);
}
