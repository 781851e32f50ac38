// New, Open, Reopen, Save, Save As and closing, each asking before unsaved
// edits are lost; and the HEX file after every clean run.

#include "MainForm.h"

#include "BrenvikControl.h"
#include "DebugSession.h"
#include "ErrorReport.h"
#include "HexOutput.h"
#include "LiveSession.h"
#include "MachineChoice.h"
#include "ProblemsPane.h"
#include "RememberedBreakpoints.h"
#include "RichEdit2.h"
#include "SymbolsPane.h"
#include "UsesPane.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>

bool TForm1::discardChanges() {
    if (!Brenvik1->GetModified())
        return true;
    QMessageBox prompt(QMessageBox::NoIcon, QString(), QStringLiteral("Discard current changes?"),
                       QMessageBox::Yes | QMessageBox::No, this);
    return prompt.exec() == QMessageBox::Yes;
}

// Loads `path` as the document; a failure throws before anything of the window changes.
void TForm1::loadDocument(const QString& path) {
    rememberBreakpoints(*settings, currentFile(), document->BreakpointLines());
    Brenvik1->LoadFromFile(path);
    startDocument();
    applyEditorFont();
    setDocument(path);
    LiveSession1->OpenDocument(path);
    MachineChoice1->OpenDocument(path);
    for (const int line : rememberedBreakpoints(*settings, path))
        document->ToggleBreakpoint(line);
    SetRecentFiles(addRecentFile(recentFiles, currentFile()));
    Brenvik1->SetModified(false);
}

void TForm1::FormCreate(const QString& argument) {
    if (argument.isEmpty())
        return;
    // The document's name is its full path, whatever folder it was named from.
    reportingErrors([&] { loadDocument(QFileInfo(argument).absoluteFilePath()); });
}

void TForm1::New1Click() {
    if (!discardChanges())
        return;
    rememberBreakpoints(*settings, currentFile(), document->BreakpointLines());
    setDocument(QString());
    LiveSession1->OpenDocument(QString());
    MachineChoice1->OpenDocument(QString());
    Brenvik1->ClearAll();
    Brenvik1->SetModified(false);
    startDocument();
}

// A document just opened or made owes nothing to the one before: its session,
// results and lists go, until its own first run.
void TForm1::startDocument() {
    document->SetIncludedSyntax(Syntax::native);
    DebugSession1->EndSession();
    document->ForgetAssembly();
    showResults();
    UsesPane1->Clear();
}

// Runs an Open or Save dialog from the document's folder (or the one last used);
// afterwards the keys go to the text again.
bool TForm1::chooseFile(QFileDialog* dialog) {
    if (!currentFile().isEmpty())
        dialog->setDirectory(QFileInfo(currentFile()).absolutePath());
    const bool chosen = dialog->exec() == QDialog::Accepted;
    // The name completer's popup can outlive the dialog and take the keys typed next.
    for (QCompleter* completer : dialog->findChildren<QCompleter*>())
        completer->popup()->hide();
    activateWindow();
    Brenvik1->GetTextArea()->setFocus();
    return chosen;
}

void TForm1::Open1Click() {
    if (!discardChanges() || !chooseFile(OpenDialog1))
        return;
    loadDocument(OpenDialog1->selectedFiles().value(0));
}

void TForm1::dummy1Click(const QString& path) {
    if (discardChanges())
        loadDocument(path);
}

void TForm1::openAt(const QString& path, int line, int column) {
    if (path == currentFile()) {
        Brenvik1->GoTo(line, column);
        return;
    }
    // An included file is read as the file that includes it reads it.
    const Syntax includer = document->GetAssembly().syntax;
    if (discardChanges() && reportingErrors([&] { loadDocument(path); })) {
        document->SetIncludedSyntax(includer);
        Brenvik1->GoTo(line, column);
    }
}

void TForm1::Save1Click() {
    if (currentFile().isEmpty() && chooseFile(SaveDialog1))
        setDocument(SaveDialog1->selectedFiles().value(0));
    if (currentFile().isEmpty())
        return;
    saveDocument();
}

void TForm1::SaveAs1Click() {
    if (!chooseFile(SaveDialog1))
        return;
    setDocument(SaveDialog1->selectedFiles().value(0));
    saveDocument();
}

// A failed save throws: Modified stays true and the message panel says nothing.
void TForm1::saveDocument() {
    SetRecentFiles(addRecentFile(recentFiles, currentFile()));
    document->Save();
    LiveSession1->SavedAs(currentFile());
    MachineChoice1->SavedAs(currentFile());
    MessagePanel->setText(QStringLiteral("File saved."));
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!discardChanges()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::showResults() {
    const Syntax syntax = document->GetAssembly().syntax;
    syntaxPanel->setText(syntax == Syntax::as8008new ? QStringLiteral("AS syntax, CPU 8008NEW")
                         : syntax == Syntax::as8008  ? QStringLiteral("AS syntax, CPU 8008")
                                                     : QString());
    syntaxPanel->setVisible(syntax != Syntax::native);
    ProblemsPane1->showProblems(document->GetAssembly());
    SymbolsPane1->ShowSymbols(document->GetAssembly());
    showSelectionCost();
    showResultPanel();
    showCaretPanels();
}

void TForm1::Brenvik1Assemble() {
    Assemble1->setEnabled(false);
    showResults();
    if (!WriteHexfile1->isChecked() || Brenvik1->GetErrorCount() > 0 || currentFile().isEmpty())
        return;
    try {
        document->WriteHexFile();
        reportedHexFailure.clear();
    } catch (const EFCreateError& error) {
        // Said once: runs come every pause in typing, and a box each time would
        // take the keys the user is typing.
        const QString failure = QString::fromStdString(error.what()) + '\n' + error.Reason();
        if (failure == reportedHexFailure)
            return;
        reportedHexFailure = failure;
        showMessage(this, QString::fromLatin1(EFCreateError::typeName) + QString::fromStdString(error.what()),
                    error.Reason());
    }
}
