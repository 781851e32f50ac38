// Going by names: to a symbol's definition (F12, Ctrl+click), to its uses
// (Shift+F12), and what the selected lines cost in bytes and states.

#include "MainForm.h"

#include "BrenvikControl.h"
#include "RichEdit2.h"
#include "SelectionCost.h"
#include "SymbolsPane.h"
#include "UsesPane.h"

#include <QFile>
#include <QLabel>
#include <QTextBlock>

namespace {

const QString noName = QStringLiteral("No name at the caret");

} // namespace

// A message about the name at the caret: it goes when the caret moves on.
void TForm1::sayAtCaret(const QString& message) {
    MessagePanel->setText(message);
    caretMessage = {message, Brenvik1->GetTextArea()->textCursor().position()};
}

void TForm1::caretMoved() {
    showCaretPanels();
    if (!caretMessage)
        return;
    if (Brenvik1->GetTextArea()->textCursor().position() == caretMessage->position)
        return;
    if (MessagePanel->text() == caretMessage->text)
        MessagePanel->clear();
    caretMessage.reset();
}

QString TForm1::nameAtCaret() const {
    return Brenvik1->NameAt(Brenvik1->GetTextArea()->textCursor().position());
}

// The symbol's number in the last run, or none with the reason said.
std::optional<std::uint32_t> TForm1::symbolNamed(const QString& name) {
    if (name.isEmpty()) {
        sayAtCaret(noName);
        return std::nullopt;
    }
    const Assembly& assembly = document->CurrentAssembly();
    const std::uint32_t symbol = assembly.symbols.indexOf(name.toUpper().toStdString());
    if (symbol == assembly.symbols.none) {
        sayAtCaret(QStringLiteral("%1 is not defined").arg(name));
        return std::nullopt;
    }
    return symbol;
}

void TForm1::goToDefinition(const QString& name) {
    const std::optional<std::uint32_t> symbol = symbolNamed(name);
    if (!symbol)
        return;
    const Assembly& assembly = document->GetAssembly();
    if (*symbol < assembly.symbolPlaces.size() && !assembly.symbolPlaces[*symbol].file.empty()) {
        const SourcePlace& place = assembly.symbolPlaces[*symbol];
        openAt(QFile::decodeName(place.file.c_str()), static_cast<int>(place.line), 1);
        return;
    }
    Brenvik1->GoTo(static_cast<int>(assembly.symbols.valueAt(*symbol)), 1);
}

void TForm1::findUses(const QString& name) {
    const std::optional<std::uint32_t> symbol = symbolNamed(name);
    if (!symbol)
        return;
    const Assembly& assembly = document->GetAssembly();
    std::vector<TUsesPane::Use> uses;
    for (const Assembly::SymbolUse& use : assembly.uses)
        if (use.symbol == *symbol)
            uses.push_back({use.line, use.column,
                            QString::fromStdU16String(std::u16string(document->AssembledLine(use.line)))});
    std::sort(uses.begin(), uses.end(), [](const auto& a, const auto& b) {
        return std::pair(a.line, a.column) < std::pair(b.line, b.column);
    });
    for (const Assembly::IncludedUse& use : assembly.includedUses)
        if (use.symbol == *symbol)
            uses.push_back({use.place.line, use.column, QString::fromStdString(use.text),
                            QFile::decodeName(use.place.file.c_str())});
    UsesPane1->ShowUses(QString::fromUtf8(assembly.symbols.wordAt(*symbol)), uses);
    sayAtCaret(uses.empty()       ? QStringLiteral("%1 is not used").arg(name)
               : uses.size() == 1 ? QStringLiteral("%1 is used once").arg(name)
                                  : QStringLiteral("%1 is used %2 times").arg(name).arg(uses.size()));
}

// The bytes and states of the lines the selection touches; nothing without a
// selection or while the listing is behind the text.
void TForm1::showSelectionCost() {
    const QTextCursor selection = Brenvik1->GetTextArea()->textCursor();
    QString text;
    if (selection.hasSelection() && document->IsAssemblyCurrent()) {
        const QTextDocument& lines = document->Text();
        const QTextBlock first = lines.findBlock(selection.selectionStart());
        QTextBlock last = lines.findBlock(selection.selectionEnd());
        // A selection of whole lines ends at the start of the next one, which it does not take.
        if (last != first && selection.selectionEnd() == last.position())
            last = last.previous();
        const LinesCost cost =
            costOfLines(document->GetProgram(), static_cast<std::uint32_t>(first.blockNumber()),
                        static_cast<std::uint32_t>(last.blockNumber()));
        text = QString::fromStdString(costText(cost));
        const LiveResult* live = Brenvik1->GetLiveStrip().Result();
        const auto [firstLine, lastLine] = std::pair(static_cast<std::size_t>(first.blockNumber()),
                                                     static_cast<std::size_t>(last.blockNumber()));
        if (live && live->ranAnyOf(firstLine, lastLine))
            text += QStringLiteral(" (%1 in the live run)")
                        .arg(QString::fromStdString(groupedDigits(live->statesOf(firstLine, lastLine))));
    }
    SelectionPanel->setText(text);
    SelectionPanel->setVisible(!text.isEmpty());
}
