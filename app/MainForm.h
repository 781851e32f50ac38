#pragma once

// The main window: the editor, its menu and status bar, the file commands, the
// options and recent files, and the HEX file written after every clean run.

#include "Settings.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QActionGroup;
class QFileDialog;
class QLabel;
class QPrinter;
class QSettings;
class TAboutBox;
class TBrenvik;
class TDocument;
class TDebugSession;
class TLiveSession;
class TMachineChoice;
class TFindDialog;
class TProblemsPane;
class TSymbolsPane;
class TUsesPane;
class TReplaceDialog;

class TForm1 : public QMainWindow {
    Q_OBJECT
    TDocument* document; // made before Brenvik1, which shows it, and deleted after it

  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Opens the file named on the command line, if any; a failure is reported
    // and the window stays untitled.
    void FormCreate(const QString& argument);

    // The document's full path, empty while untitled; the recent documents, most recent first.
    const QString& GetCurrentFile() const { return currentFile(); }
    const QStringList& GetRecentFiles() const { return recentFiles; }
    // As if the settings had held `files`: the Reopen submenu shows them.
    void SetRecentFiles(QStringList files);
    // What the next print goes to.
    QPrinter& GetPrinter() { return *printer; }

    TBrenvik* Brenvik1;

    // The menu, named as designed.
    QAction *New1, *Open1, *Save1, *SaveAs1, *PrintSetup1, *Print1, *Exit2;
    QMenu* Export1;
    QAction *ExportBinary1, *ExportListing1, *ExportSymbols1;
    QMenu *Edit1, *Reopen1;
    QAction *Undo1, *Redo1, *Cut1, *Copy1, *Paste1, *Clear1, *SelectAll1, *Find1, *FindNext1, *Replace1;
    QAction *NextProblem1, *PreviousProblem1, *GoToDefinition1, *FindUses1, *GoToLine1;
    QMenu* View1;
    QAction *Problems1, *Symbols1, *Uses1, *LineNumbers1, *ZoomIn1, *ZoomOut1, *ActualSize1;
    QMenu* Run1;
    QAction *Never1, *After2s1, *After4s1, *After10s1, *AutoIndent1, *WriteHexfile1, *Font1;
    QAction *Assemble1, *About1;
    QFileDialog *OpenDialog1, *SaveDialog1;
    TFindDialog* FindDialog1;
    TReplaceDialog* ReplaceDialog1;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Building the window, and the status bar following the editor.
    void buildMenu();
    void buildStatusBar();
    void setDocument(const QString& name);
    void showResultPanel();
    void showCaretPanels();

    // The editor's events, and the menus that follow them.
    void Edit1Click();
    void Brenvik1Change();
    void Brenvik1Assemble();
    void goToProblem(bool forward);

    // Files (FileCommands.cpp).
    bool discardChanges();
    bool chooseFile(QFileDialog* dialog);
    void loadDocument(const QString& path);
    void startDocument();
    void showResults();
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void saveDocument();
    void dummy1Click(const QString& path);
    // Opens `path` as the document, its caret at `line` (0-based) and `column`.
    void openAt(const QString& path, int line, int column);

    // The caret, names and their uses (Navigation.cpp).
    void sayAtCaret(const QString& message);
    void caretMoved();
    QString nameAtCaret() const;
    std::optional<std::uint32_t> symbolNamed(const QString& name);
    void goToDefinition(const QString& name);
    void findUses(const QString& name);
    void showSelectionCost();

    // File > Export (Exports.cpp).
    bool exportable();
    QString chooseExportFile(const QString& extension, const QString& filter);
    void writeExport(const QString& path, const std::string& contents);
    void ExportBinary1Click();
    void ExportListing1Click();
    void ExportSymbols1Click();

    // Find and Replace (FindReplace.cpp).
    void findNext(const TFindDialog& dialog);
    void Find1Click();
    void FindNext1Click();
    void FindDialog1Find();
    void FindDialog1Close();
    void Replace1Click();
    void ReplaceDialog1Find();
    void ReplaceDialog1Replace(bool all);

    // Printing.
    void PrintSetup1Click();
    void Print1Click();

    // Settings and options; the view of the text (ViewCommands.cpp).
    void loadSettings();
    void FormClose();
    void setDelay(int index);
    void AutoIndent1Click();
    void Font1Click();
    void applyEditorFont();
    QFont zoomedEditorFont() const;
    void buildTextViewMenu();
    void goToLine();
    void zoom(int steps);

    // The document's full path, as the designed field was.
    const QString& currentFile() const;
    QStringList recentFiles;
    TProblemsPane* ProblemsPane1;
    TSymbolsPane* SymbolsPane1;
    TUsesPane* UsesPane1;
    TDebugSession* DebugSession1;   // the Run menu and the debugger's panes
    TLiveSession* LiveSession1;     // Live Run and its pane
    TMachineChoice* MachineChoice1; // the machine programs run on, per file
    QFileDialog* ExportDialog1;
    std::unique_ptr<QPrinter> printer; // the printer and settings of the next print
    QString baseCaption;
    // StatusBar1's four panels: the last run's result, the caret's line and
    // column, and short messages; beside them the problem of the caret's line
    // and the cost of the selected lines, and at the right the syntax of an
    // AS-syntax source (hidden for Brenvik's own).
    QLabel *ResultPanel, *LinePanel, *ColumnPanel, *MessagePanel;
    QLabel *ProblemPanel, *SelectionPanel, *syntaxPanel;
    QSettings* settings;
    EditorFont editorFont;
    QList<QAction*> delayItems;
    QString reportedHexFailure; // the HEX file and reason last reported, until a write succeeds
    QString lastSearchText;     // what Find or Replace looked for last, for the next Replace
    BinaryImageChoices imageChoices;
    int zoomSteps = 0; // points added to the editor font's size, for this session
    struct CaretMessage {
        QString text;
        int position; // where the caret stood when it was said
    };
    std::optional<CaretMessage> caretMessage;
    TAboutBox* aboutBox;
};
