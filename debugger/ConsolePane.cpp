#include "ConsolePane.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int scrollbackLines = 10000;
constexpr char carriageReturn = '\r';
constexpr char backspace = '\b';
constexpr char escape = '\x1B';
constexpr char rubout = '\x7F';
constexpr char16_t lastAscii = 0x7F;

} // namespace

TConsoleView::TConsoleView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setMaximumBlockCount(scrollbackLines);
    setUndoRedoEnabled(false);
    setFocusPolicy(Qt::StrongFocus);
}

void TConsoleView::Show(const QString& text) {
    // Of a text of more lines than the scrollback keeps, only its last lines would
    // stay: they replace the whole, and the lines before them cost no work.
    qsizetype from = 0;
    int lines = 0;
    for (qsizetype i = text.size(); i-- > 0;)
        if (text[i] == u'\n' && ++lines == scrollbackLines) {
            from = i + 1;
            clear();
            break;
        }
    QScrollBar* scroll = verticalScrollBar();
    const bool following = scroll->value() == scroll->maximum();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    QString run; // characters that only append, written at once
    const auto flush = [&] {
        end.insertText(run);
        run.clear();
    };
    for (const QChar c : QStringView(text).sliced(from)) {
        if (c == u'\b') {
            flush();
            if (end.positionInBlock() > 0)
                end.deletePreviousChar();
        } else if (c == u'\n') {
            flush();
            end.insertBlock();
        } else {
            run += c;
        }
    }
    flush();
    if (following)
        scroll->setValue(scroll->maximum());
}

std::string TConsoleView::BytesOf(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return std::string(1, carriageReturn);
    case Qt::Key_Backspace:
        return std::string(1, backspace);
    case Qt::Key_Delete:
        return std::string(1, rubout);
    case Qt::Key_Escape:
        return std::string(1, escape);
    case Qt::Key_Tab:
        return "\t";
    default:
        break;
    }
    std::string bytes;
    for (const QChar c : event.text()) {
        if (c.unicode() > lastAscii)
            return {}; // the terminal has no such key
        bytes += static_cast<char>(c.unicode());
    }
    return bytes;
}

bool TConsoleView::event(QEvent* event) {
    // Tab is a key of the terminal here, not a move to the next widget.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QPlainTextEdit::event(event);
}

void TConsoleView::keyPressEvent(QKeyEvent* event) {
    // Copy takes a selection; without one, Ctrl+C is the program's, as in a terminal.
    if (event->matches(QKeySequence::Copy) && textCursor().hasSelection()) {
        copy();
        return;
    }
    const std::string bytes = BytesOf(*event);
    if (bytes.empty()) {
        QPlainTextEdit::keyPressEvent(event); // scrolling and selecting
        return;
    }
    Q_EMIT OnKeys(bytes);
}

void TConsoleView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu(event->pos());
    menu->addSeparator();
    menu->addAction(QStringLiteral("C&lear"), this, &QPlainTextEdit::clear);
    menu->exec(event->globalPos());
    delete menu;
}

TConsolePane::TConsolePane(QWidget* parent)
    : QDockWidget(QStringLiteral("Console"), parent), header(new QLabel(this)), view(new TConsoleView(this)) {
    setObjectName(QStringLiteral("ConsolePane"));
    header->setWordWrap(true);
    header->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Reset();
    auto* contents = new QWidget(this);
    auto* layout = new QVBoxLayout(contents);
    layout->setContentsMargins(4, 2, 0, 0);
    layout->addWidget(header);
    layout->addWidget(view);
    setWidget(contents);
    setFocusProxy(view);
}

void TConsolePane::Reset() {
    header->setText(QStringLiteral("Run (F5) starts the program; what it prints appears here."));
    view->clear();
}

void TConsolePane::SetHeader(const QString& text) {
    header->setText(text);
}
QString TConsolePane::Header() const {
    return header->text();
}
