#include "Document.h"

#include "Backups.h"
#include "Files.h"
#include "HexOutput.h"
#include "IntelHex.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QTextDocument>

TDocument::TDocument(QObject* parent) : QObject(parent), text(new QTextDocument(this)) {
    text->setDocumentLayout(new QPlainTextDocumentLayout(text));
    text->setDocumentMargin(0);
    connect(text, &QTextDocument::contentsChange, this, &TDocument::dropBreakpointsOfEmptiedText);
}

QString TDocument::GetText() const {
    // Raw text keeps no-break spaces, which plain text would turn into spaces.
    QString all = text->toRawText();
    all.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return all;
}

void TDocument::SetPath(const QString& name) {
    path = name;
    engine.setSourcePath(QFile::encodeName(name).toStdString());
}

bool TDocument::IsModified() const {
    return text->isModified();
}
void TDocument::SetModified(bool modified) {
    text->setModified(modified);
}

void TDocument::Load(const QString& name) {
    const QFileInfo info(name);
    if (info.isDir())
        throw FileError(QStringLiteral("Cannot open file %1: it is a folder").arg(name).toStdString());
    // A pipe or a device would block the load or never end it.
    if (info.exists() && !info.isFile())
        throw FileError(
            QStringLiteral("Cannot open file %1: it is not a regular file").arg(name).toStdString());
    std::string bytes, reason;
    if (!readWholeFile(QFile::encodeName(name).toStdString(), bytes, reason))
        throw FileError(QStringLiteral("Cannot open file %1: %2")
                            .arg(name, QString::fromLocal8Bit(reason))
                            .toStdString());
    if (!looksLikeText(bytes))
        throw FileError(QStringLiteral("Cannot open file %1: it is not a text file").arg(name).toStdString());
    const DecodedSource source = decodeSource(bytes);
    text->setPlainText(QString::fromStdU16String(source.text));
    encoding = source.encoding;
    lineEnd = source.lineEnd;
}

void TDocument::SaveTo(const QString& name) const {
    std::string bytes;
    try {
        bytes = encodeSource(GetText().toStdU16String(), encoding, lineEnd);
    } catch (const UnencodableText& e) {
        throw FileError(QStringLiteral("Cannot save file %1: %2")
                            .arg(name, QString::fromStdString(e.what()))
                            .toStdString());
    }
    // Written beside the file and renamed into place: the old file stays whole
    // until the new one is.
    std::string reason;
    if (!replaceFile(QFile::encodeName(name).toStdString(), bytes, reason))
        throw FileError(QStringLiteral("Cannot save file %1: %2")
                            .arg(name, QString::fromLocal8Bit(reason))
                            .toStdString());
}

void TDocument::Save() {
    if (IsModified())
        rotateBackups(path);
    SaveTo(path);
    SetModified(false);
}

void TDocument::Clear() {
    text->clear();
    encoding = SourceEncoding::Utf8;
    lineEnd = LineEnd::crLf;
    SetModified(false);
}

const Assembly& TDocument::Assemble() {
    snapshot = SourceText(text->toRawText().toStdU16String(), QChar::ParagraphSeparator);
    engine.run();
    program.reset();
    assemblyCurrent = true;
    moveBreakpointsToCode();
    Q_EMIT OnAssemblyChanged();
    return GetAssembly();
}

void TDocument::ForgetAssembly() {
    snapshot = SourceText(std::u16string(), QChar::ParagraphSeparator);
    engine.run();
    program.reset();
    assemblyCurrent = false;
    Q_EMIT OnAssemblyChanged();
}

std::span<const Diagnostic> TDocument::DiagnosticsOf(int index) const {
    if (!assemblyCurrent || index < 0)
        return {};
    return GetAssembly().diagnosticsOf(static_cast<std::uint32_t>(index));
}

bool TDocument::TextChanged() {
    return std::exchange(assemblyCurrent, false);
}

const Program& TDocument::GetProgram() const {
    if (!program)
        program.emplace(GetAssembly());
    return *program;
}

void TDocument::WriteHexFile() const {
    writeHexFile(GetAssembly(), QString::fromStdString(hexPathFor(path.toStdString())));
}
