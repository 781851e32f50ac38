// Construction, properties, change handling and the assembly run.

#include "BrenvikControl.h"
#include "DiagnosticText.h"
#include "RichEdit2.h"

#include <QHelpEvent>
#include <QTextBlock>
#include <QToolTip>

#include <algorithm>
#include <climits>

TBrenvik::TBrenvik(QWidget* owner) : TBrenvik(nullptr, owner) {}

TBrenvik::TBrenvik(TDocument& shown, QWidget* owner) : TBrenvik(&shown, owner) {}

TBrenvik::TBrenvik(TDocument* shown, QWidget* owner)
    : QWidget(owner), textArea(new TRichEdit2(this)), document(shown ? *shown : *new TDocument(this)),
      highlights(new LineHighlights(*textArea)) {
    textArea->setDocument(&document.Text());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    autoAsmTimer.setSingleShot(true);
    connect(&autoAsmTimer, &QTimer::timeout, this, &TBrenvik::doAsm);
    connect(textArea, &QPlainTextEdit::textChanged, this, &TBrenvik::textChange);
    connect(&document, &TDocument::OnBreakpointsChanged, this, [this] { update(codeRect); });
    connect(&document, &TDocument::OnAssemblyChanged, this, &TBrenvik::assemblyChanged);
    connect(textArea, &TRichEdit2::OnVertScroll, this, &TBrenvik::vertScroll);
    connect(textArea, &TRichEdit2::OnControlClick, this, [this](int position) {
        if (const QString name = NameAt(position); !name.isEmpty())
            Q_EMIT OnNameClicked(name);
    });
    textArea->viewport()->installEventFilter(this);
    markColours = markColoursFor(palette().color(QPalette::Base));
    highlights->SetColours(markColours);
    resetMargins();
}

void TBrenvik::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::PaletteChange)
        return;
    markColours = markColoursFor(palette().color(QPalette::Base));
    highlights->SetColours(markColours);
    if (document.IsAssemblyCurrent())
        showMarks(document.Text(), document.GetAssembly(), markColours);
    Q_EMIT OnMarkColoursChanged();
}

TBrenvik::~TBrenvik() = default;

QFont TBrenvik::GetFont() const {
    return textArea->font();
}
QColor TBrenvik::GetFontColour() const {
    return textArea->palette().color(QPalette::Text);
}
bool TBrenvik::GetModified() const {
    return document.IsModified();
}
void TBrenvik::SetModified(bool modified) {
    document.SetModified(modified);
}
bool TBrenvik::GetHideSelection() const {
    return textArea->GetHideSelection();
}
void TBrenvik::SetHideSelection(bool hide) {
    textArea->SetHideSelection(hide);
}
bool TBrenvik::GetAutoIndent() const {
    return textArea->AutoIndent;
}
void TBrenvik::SetAutoIndent(bool on) {
    textArea->AutoIndent = on;
}

int TBrenvik::GetLine() const {
    return textArea->document()->findBlock(textArea->textCursor().selectionEnd()).blockNumber() + 1;
}

int TBrenvik::GetColumn() const {
    const int end = textArea->textCursor().selectionEnd();
    return end - textArea->document()->findBlock(end).position() + 1;
}

int TBrenvik::GetSelStart() const {
    return textArea->textCursor().selectionStart();
}

int TBrenvik::GetSelLength() const {
    const QTextCursor cursor = textArea->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TBrenvik::SetSelStart(int start) {
    setSelection(start, 0);
}
void TBrenvik::SetSelLength(int length) {
    setSelection(GetSelStart(), length);
}

void TBrenvik::setSelection(int start, int length) {
    const int last = textArea->document()->characterCount() - 1;
    QTextCursor cursor = textArea->textCursor();
    cursor.setPosition(std::clamp(start, 0, last));
    cursor.setPosition(std::clamp(start + std::max(length, 0), 0, last), QTextCursor::KeepAnchor);
    textArea->setTextCursor(cursor);
    textArea->ensureCursorVisible();
}

void TBrenvik::textChange() {
    // Neither the listing nor the live figures describe the text any more.
    const bool listingWasCurrent = document.TextChanged();
    if (liveStrip.Drop() || listingWasCurrent)
        update(codeRect);
    // Every edit restarts the whole delay; 0 means no automatic run at all.
    autoAsmTimer.stop();
    if (AutoAsmDelay > 0)
        autoAsmTimer.start(static_cast<int>(std::min<std::uint32_t>(AutoAsmDelay, INT_MAX)));
    Q_EMIT OnChange();
}

void TBrenvik::vertScroll() {
    repaint(codeRect);
}

void TBrenvik::doAsm() {
    document.Assemble();
}

// Whoever ran the document's assembly (the timer, a command that needs the text's
// current one), the pending automatic run is cancelled and the run shows.
void TBrenvik::assemblyChanged() {
    if (!document.IsAssemblyCurrent()) {
        liveStrip.Drop();
        update(codeRect);
        return;
    }
    autoAsmTimer.stop();
    // Marks are layout formats: they leave the text, the selection, the modified
    // flag and the undo history alone, and raise no change.
    textArea->setUpdatesEnabled(false);
    showMarks(document.Text(), document.GetAssembly(), markColours);
    textArea->ensureCursorVisible();
    textArea->setUpdatesEnabled(true);
    repaint();
    Q_EMIT OnAssemble();
}

void TBrenvik::GoTo(int line, int column) {
    const QTextBlock block = textArea->document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    setSelection(block.position() + std::clamp(column - 1, 0, block.length() - 1), 0);
    textArea->centerOn(block);
    highlights->Flash(line);
    textArea->setFocus();
}

// Hovering over a line with diagnostics explains them; over the lit line, says how often it ran.
bool TBrenvik::eventFilter(QObject* watched, QEvent* event) {
    if (watched != textArea->viewport() || event->type() != QEvent::ToolTip)
        return QWidget::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QTextCursor hovered = textArea->cursorForPosition(help->pos());
    const bool onText = textArea->cursorRect(hovered).bottom() >= help->pos().y();
    const std::span<const Diagnostic> found =
        onText ? document.DiagnosticsOf(hovered.blockNumber()) : std::span<const Diagnostic>();
    QStringList parts;
    if (!found.empty())
        parts.append(explanationHtml(found));
    if (const QString note = onText ? highlights->NoteOf(hovered.blockNumber()) : QString(); !note.isEmpty())
        parts.append(note.toHtmlEscaped());
    if (parts.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), parts.join(QStringLiteral("<p>")), textArea->viewport());
    return true;
}
