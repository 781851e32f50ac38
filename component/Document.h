#pragma once

// The document being edited: its text, the file it is (the path, and the
// encoding and line ends it was read with), whether it has unsaved edits, the
// assembly of its text, and the breakpoints set on its lines. The window owns it; the editor widget shows its
// text and reads its assembly.

#include "Brenvik.h"
#include "Program.h"
#include "SourceText.h"

#include <QObject>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>

#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

class QTextDocument;

class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TDocument : public QObject {
    Q_OBJECT
  public:
    explicit TDocument(QObject* parent = nullptr);

    QTextDocument& Text() const { return *text; }
    // The whole text, lines separated by '\n', every character as it stands.
    QString GetText() const;

    // The file: its full path, empty while untitled, beside which included files are found.
    const QString& Path() const { return path; }
    void SetPath(const QString& name);
    bool IsModified() const;
    void SetModified(bool modified);
    // Both throw FileError naming the file and the reason; a failed load leaves the
    // text as it was, a failed save leaves the file as it was.
    void Load(const QString& name);
    void SaveTo(const QString& name) const;
    // Saves to the path, the nine versions before it kept as backups (when there
    // are edits to save), and the edits count as saved.
    void Save();
    // An empty text, written as UTF-8 with CR LF unless loaded from elsewhere.
    void Clear();

    // One assembly run of the text as it is now.
    const Assembly& Assemble();
    // The assembly of the text as it is now: assembled first if it changed since the last run.
    const Assembly& CurrentAssembly() { return assemblyCurrent ? GetAssembly() : Assemble(); }
    // Forgets the last run, for a text that has had no run yet: no errors, no
    // bytes, no symbols, nothing to run.
    void ForgetAssembly();
    // The text has changed: the last run no longer describes it. Whether it did.
    bool TextChanged();
    bool IsAssemblyCurrent() const { return assemblyCurrent; }
    // What the last run produced.
    const Assembly& GetAssembly() const { return engine.GetAssembly(); }
    // The diagnostics of line `index` (0-based) while the last run describes the
    // text; none while it is stale.
    std::span<const Diagnostic> DiagnosticsOf(int index) const;
    // The program of the last run: its bytes, and where its instructions lie.
    const Program& GetProgram() const;
    // Source line `index` as the last run read it.
    std::u16string_view AssembledLine(std::size_t index) const { return snapshot.line(index); }
    // The value of an expression in the assembler's syntax, with the symbols of the last run.
    std::optional<std::uint32_t> ValueOf(std::string_view expression) const {
        return engine.valueOf(expression);
    }
    // The document is a file included by a source read in `syntax`, and is read so
    // unless it names a processor itself.
    void SetIncludedSyntax(Syntax syntax) { engine.setIncludedSyntax(syntax); }
    // The last run's Intel HEX file, beside the file with the extension .hex.
    // Throws EFCreateError.
    void WriteHexFile() const;

    // Breakpoints, by line (0-based). One set on a line without code goes to the
    // next line with code, now or after the next run; each stays with its line
    // as the text changes.
    bool HasBreakpoint(int line) const;
    void ToggleBreakpoint(int line);
    std::vector<int> BreakpointLines() const;

  Q_SIGNALS:
    // After every run, and after the last run was forgotten.
    void OnAssemblyChanged();
    void OnBreakpointsChanged();

  private:
    bool lineHasCode(int line) const;
    QTextBlock codeBlockFrom(int line) const;
    void moveBreakpointsToCode();
    void dropBreakpointsOfEmptiedText();

    QTextDocument* text;
    QString path;
    SourceEncoding encoding = SourceEncoding::Utf8;
    LineEnd lineEnd = LineEnd::crLf;
    SourceText snapshot; // the text as the last run read it
    TBrenvikEngine engine{snapshot};
    mutable std::optional<Program> program; // of the last run, made when first asked for
    bool assemblyCurrent = false;
    std::vector<QTextCursor> breakpoints; // each at the start of its line's text
};
