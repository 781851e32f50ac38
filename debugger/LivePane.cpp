#include "LivePane.h"

#include "ConsolePane.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int inputRows = 3;
constexpr char carriageReturn = '\r';
constexpr char unreadable = '?'; // what a character beyond Latin-1 is typed as

} // namespace

TLivePane::TLivePane(QWidget* parent)
    : QDockWidget(QStringLiteral("Live"), parent), ending(new QLabel(this)), figures(new QLabel(this)),
      output(new TConsoleView(this)), input(new QPlainTextEdit(this)), budget(new QComboBox(this)) {
    setObjectName(QStringLiteral("LivePane"));
    for (QLabel* label : {ending, figures}) {
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    output->setObjectName(QStringLiteral("LiveOutput"));
    input->setObjectName(QStringLiteral("LiveInput"));
    input->setTabChangesFocus(true);
    input->setPlaceholderText(QStringLiteral("Keys for the program, in order; a line break is Enter"));
    input->setFixedHeight(input->fontMetrics().lineSpacing() * inputRows +
                          2 * (input->frameWidth() + static_cast<int>(input->document()->documentMargin())));
    budget->setObjectName(QStringLiteral("LiveBudget"));
    for (const std::uint64_t states : budgets)
        budget->addItem(QString::fromStdString(groupedDigits(states) + " states"));
    SetBudget(LiveRun::defaultBudget);

    auto* contents = new QWidget(this);
    auto* layout = new QVBoxLayout(contents);
    layout->setContentsMargins(4, 2, 0, 0);
    layout->addWidget(ending);
    layout->addWidget(figures);
    layout->addWidget(output, 1);
    auto* choices = new QFormLayout;
    choices->addRow(QStringLiteral("&Input:"), input);
    choices->addRow(QStringLiteral("&Budget:"), budget);
    layout->addLayout(choices);
    setWidget(contents);
    setFocusProxy(input);
    ShowNote(QStringLiteral("Run > Live Run runs the program after each assembly without errors; what it "
                            "prints and how it ends appear here."));

    connect(input, &QPlainTextEdit::textChanged, this, &TLivePane::OnInputEdited);
    connect(budget, &QComboBox::currentIndexChanged, this, &TLivePane::OnBudgetChanged);
}

void TLivePane::ShowResult(const LiveResult& result) {
    const unsigned hertz = result.clockHertz;
    ending->setText(QString::fromStdString(result.endingText));
    figures->setText(QString::fromStdString(groupedDigits(result.states) + " states, " +
                                            chipTimeText(result.states, hertz) + " on an 8008 at " +
                                            std::to_string(hertz / 1000) + " kHz"));
    output->clear();
    output->Show(QString::fromLatin1(result.screen));
    for (QWidget* part : {static_cast<QWidget*>(figures), static_cast<QWidget*>(output)})
        part->setEnabled(true);
}

void TLivePane::ShowNote(const QString& note) {
    ending->setText(note);
    for (QWidget* part : {static_cast<QWidget*>(figures), static_cast<QWidget*>(output)})
        part->setEnabled(false);
}

QString TLivePane::Ending() const {
    return ending->text();
}

QString TLivePane::Output() const {
    return output->toPlainText();
}

QString TLivePane::Input() const {
    return input->toPlainText();
}

void TLivePane::SetInput(const QString& text) {
    if (text == input->toPlainText())
        return;
    input->setPlainText(text);
    input->moveCursor(QTextCursor::End); // where more keys go
}

std::string TLivePane::KeysOf(const QString& input) {
    std::string keys;
    for (const QChar c : input)
        keys += c == u'\n'            ? carriageReturn
                : c.unicode() <= 0xFF ? static_cast<char>(c.unicode())
                                      : unreadable;
    return keys;
}

std::uint64_t TLivePane::Budget() const {
    return budgets[std::max(0, budget->currentIndex())];
}

void TLivePane::SetBudget(std::uint64_t states) {
    const auto distance = [states](std::uint64_t offered) {
        return std::abs(
            std::log(static_cast<double>(offered) / static_cast<double>(std::max<std::uint64_t>(states, 1))));
    };
    int nearest = 0;
    for (int i = 0; i < static_cast<int>(std::size(budgets)); ++i)
        if (distance(budgets[i]) < distance(budgets[nearest]))
            nearest = i;
    budget->setCurrentIndex(nearest);
}
