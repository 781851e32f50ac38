// File > Export: the program as a binary image, its listing, and its symbol
// table, each written whole, and none while lines are in error.

#include "MainForm.h"

#include "BrenvikControl.h"
#include "ErrorReport.h"
#include "ExportDialog.h"
#include "Files.h"
#include "HexOutput.h"
#include "IntelHex.h"
#include "Listing.h"
#include "ResultText.h"
#include "SymbolTable.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

#include <sstream>

// The last run, assembled now if the text changed since; false, said, while lines are in error.
bool TForm1::exportable() {
    const Assembly& assembly = document->CurrentAssembly();
    if (assembly.errorCount == 0)
        return true;
    showMessage(this, QStringLiteral("Nothing is exported while lines are in error."),
                QString::fromStdString(resultText(assembly.errorCount, assembly.bytesAssembled)));
    return false;
}

// The file to export to, chosen beside the document with `extension`; empty when cancelled.
QString TForm1::chooseExportFile(const QString& extension, const QString& filter) {
    ExportDialog1->setNameFilter(filter + QStringLiteral(";;All Files (*)"));
    ExportDialog1->setDefaultSuffix(extension.mid(1));
    const QString document = currentFile().isEmpty() ? QStringLiteral("untitled.asm") : currentFile();
    ExportDialog1->selectFile(
        QFileInfo(QString::fromStdString(replaceExtension(document.toStdString(), extension.toStdString())))
            .fileName());
    return chooseFile(ExportDialog1) ? ExportDialog1->selectedFiles().value(0) : QString();
}

void TForm1::writeExport(const QString& path, const std::string& contents) {
    if (!currentFile().isEmpty() &&
        isSameFile(QFile::encodeName(path).toStdString(), QFile::encodeName(currentFile()).toStdString())) {
        showMessage(this, QStringLiteral("Cannot create file %1").arg(path),
                    QStringLiteral("It is the source file."));
        return;
    }
    try {
        writeOutputFile(path, contents);
        MessagePanel->setText(QStringLiteral("Exported %1").arg(QFileInfo(path).fileName()));
    } catch (const EFCreateError& error) {
        showMessage(this, QString::fromStdString(error.what()), error.Reason());
    }
}

void TForm1::ExportBinary1Click() {
    if (!exportable())
        return;
    TBinaryImageDialog choices(this, document->GetAssembly(), imageChoices);
    if (choices.exec() != QDialog::Accepted)
        return;
    imageChoices = choices.Choices();
    const QString path = chooseExportFile(QStringLiteral(".bin"), QStringLiteral("Binary image (*.bin)"));
    if (!path.isEmpty())
        writeExport(path, choices.Image());
}

void TForm1::ExportListing1Click() {
    if (!exportable())
        return;
    std::ostringstream listing;
    writeListing(listing, document->GetAssembly(),
                 [this](std::size_t line) { return std::u16string(document->AssembledLine(line)); });
    const QString path = chooseExportFile(QStringLiteral(".lst"), QStringLiteral("Listing (*.lst)"));
    if (!path.isEmpty())
        writeExport(path, listing.str());
}

void TForm1::ExportSymbols1Click() {
    if (!exportable())
        return;
    const QString path = chooseExportFile(QStringLiteral(".sym"), QStringLiteral("Symbol table (*.sym)"));
    if (!path.isEmpty())
        writeExport(path, symbolTableText(document->GetAssembly()));
}
