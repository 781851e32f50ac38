// Editing and search, passed through to the text area, and the document's file
// operations with what they do to the view.

#include "BrenvikControl.h"
#include "LineTokens.h"
#include "RichEdit2.h"

#include <QTextBlock>

void TBrenvik::SelectAll() {
    textArea->selectAll();
}
void TBrenvik::CopyToClipboard() {
    textArea->copy();
}
void TBrenvik::CutToClipboard() {
    textArea->cut();
}
void TBrenvik::PasteFromClipboard() {
    textArea->paste();
}
void TBrenvik::ClearSelection() {
    textArea->textCursor().removeSelectedText();
}
bool TBrenvik::CanUndo() const {
    return textArea->document()->isUndoAvailable();
}
void TBrenvik::Undo() {
    textArea->undo();
}
bool TBrenvik::CanRedo() const {
    return textArea->document()->isRedoAvailable();
}
void TBrenvik::Redo() {
    textArea->redo();
}

void TBrenvik::ClearAll() {
    document.Clear();
}

void TBrenvik::ReplaceSelection(const QString& text) {
    QTextCursor cursor = textArea->textCursor();
    cursor.insertText(text);
    textArea->setTextCursor(cursor);
}

void TBrenvik::BeginEditGroup() {
    textArea->textCursor().beginEditBlock();
}
void TBrenvik::EndEditGroup() {
    textArea->textCursor().endEditBlock();
}

int TBrenvik::FindTextA(const QString& text, int start, int length, int options) {
    QTextDocument::FindFlags flags;
    if (options & WholeWord)
        flags |= QTextDocument::FindWholeWords;
    if (options & MatchCase)
        flags |= QTextDocument::FindCaseSensitively;
    const qint64 end = static_cast<qint64>(start) + std::max(length, 0);
    const QTextCursor found = text.isEmpty() || length <= 0
                                  ? QTextCursor()
                                  : textArea->document()->find(text, std::max(start, 0), flags);
    if (found.isNull() || found.selectionEnd() > end) {
        SetSelLength(0);
        return -1;
    }
    setSelection(found.selectionStart(), found.selectionEnd() - found.selectionStart());
    return found.selectionStart();
}

void TBrenvik::LoadFromFile(const QString& path) {
    document.Load(path);
    SetSelStart(0);
    textArea->viewport()->update();
}

// The word of the assembler's own tokens at `position`: a label, a statement's
// word or an operand's name, never a number, a modifier, a string or a comment.
QString TBrenvik::NameAt(int position) const {
    const QTextBlock block = textArea->document()->findBlock(position);
    const QString text = block.text();
    const auto at = static_cast<std::uint32_t>(position - block.position());
    // Where the last run found the line's comment, while that run still describes the text.
    const Assembly& assembly = document.GetAssembly();
    const std::uint32_t comment =
        document.IsAssemblyCurrent() ? assembly.commentOf(static_cast<std::size_t>(block.blockNumber())) : 0;
    const std::vector<LineToken> tokens =
        tokensOfLine(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()),
                     assembly.syntax, comment);
    const auto isName = [](TokenKind kind) {
        return kind == TokenKind::label || kind == TokenKind::mnemonic || kind == TokenKind::directive ||
               kind == TokenKind::name;
    };
    // The name the caret stands on, or else the one it stands just after.
    const LineToken* found = nullptr;
    for (const LineToken& token : tokens)
        if (isName(token.kind) && token.start <= at && at <= token.end && (!found || at < token.end))
            found = &token;
    if (!found)
        return {};
    return text.mid(found->start, found->end - found->start);
}
