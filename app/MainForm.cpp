// The window: menu, status bar (following the editor and its caret), caption and the options.

#include "MainForm.h"

#include "AboutForm.h"
#include "BrenvikControl.h"
#include "ConsolePane.h"
#include "DebugSession.h"
#include "DiagnosticText.h"
#include "ElidedLabel.h"
#include "ErrorReport.h"
#include "FindDialogs.h"
#include "LivePane.h"
#include "LiveSession.h"
#include "MachineChoice.h"
#include "PaneAction.h"
#include "PrintDialog.h"
#include "ProblemsPane.h"
#include "RegistersPane.h"
#include "RememberedBreakpoints.h"
#include "ResultText.h"
#include "RichEdit2.h"
#include "SymbolsPane.h"
#include "UsesPane.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <QUrl>

#include <type_traits>

namespace {

// The Auto Assemble delays, in the order of their menu items.
constexpr std::uint32_t delays[] = {0, 2000, 4000, 10000};
constexpr int designedDelay = 1;
const QString fileFilter = QStringLiteral("Assembly (*.asm);;All Files (*)");

QFileDialog* fileDialog(QWidget* parent, QFileDialog::AcceptMode mode) {
    auto* dialog = new QFileDialog(parent, QString(), QString(), fileFilter);
    dialog->setAcceptMode(mode);
    dialog->setDefaultSuffix(QStringLiteral("asm"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::AnyFile); // a name that does not exist fails in loading
    return dialog;
}

// The examples of an installed editor, beside its folder of programs; empty when
// it runs from where it was built.
QUrl installedExamples() {
    const QDir examples(QCoreApplication::applicationDirPath() + QStringLiteral("/" EXAMPLES_FROM_PROGRAMS));
    return examples.exists() ? QUrl::fromLocalFile(examples.canonicalPath()) : QUrl();
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), document(new TDocument(this)), Brenvik1(new TBrenvik(*document, this)),
      ProblemsPane1(new TProblemsPane(this)), SymbolsPane1(new TSymbolsPane(this)),
      UsesPane1(new TUsesPane(this)), printer(std::make_unique<QPrinter>()), settings(new QSettings(this)),
      aboutBox(new TAboutBox(this)) {
    setCentralWidget(Brenvik1);
    addDockWidget(Qt::BottomDockWidgetArea, ProblemsPane1);
    addDockWidget(Qt::BottomDockWidgetArea, UsesPane1);
    connect(ProblemsPane1, &TLinesPane::OnLine, Brenvik1, &TBrenvik::GoTo);
    connect(ProblemsPane1, &TLinesPane::OnFileLine, this, &TForm1::openAt);
    connect(UsesPane1, &TLinesPane::OnLine, Brenvik1, &TBrenvik::GoTo);
    connect(UsesPane1, &TLinesPane::OnFileLine, this, &TForm1::openAt);
    connect(SymbolsPane1, &TSymbolsPane::OnDefinition, this, &TForm1::goToDefinition);
    connect(Brenvik1, &TBrenvik::OnNameClicked, this, [this](const QString& name) { goToDefinition(name); });
    connect(Brenvik1->GetTextArea(), &QPlainTextEdit::selectionChanged, this, &TForm1::showSelectionCost);
    connect(Brenvik1->GetTextArea(), &QPlainTextEdit::cursorPositionChanged, this, &TForm1::caretMoved);
    connect(Brenvik1->GetTextArea(), &TRichEdit2::OnZoom, this, &TForm1::zoom);
    resize(700, 496);
    buildMenu();
    buildStatusBar();
    OpenDialog1 = fileDialog(this, QFileDialog::AcceptOpen);
    if (const QUrl examples = installedExamples(); !examples.isEmpty())
        OpenDialog1->setSidebarUrls(OpenDialog1->sidebarUrls() << examples);
    SaveDialog1 = fileDialog(this, QFileDialog::AcceptSave);
    ExportDialog1 = fileDialog(this, QFileDialog::AcceptSave);
    ExportDialog1->setWindowTitle(QStringLiteral("Export"));
    FindDialog1 = new TFindDialog(this);
    ReplaceDialog1 = new TReplaceDialog(this);
    connect(FindDialog1, &TFindDialog::OnFind, this, &TForm1::FindDialog1Find);
    connect(FindDialog1, &TFindDialog::OnClose, this, &TForm1::FindDialog1Close);
    connect(ReplaceDialog1, &TFindDialog::OnFind, this, &TForm1::ReplaceDialog1Find);
    connect(ReplaceDialog1, &TReplaceDialog::OnReplace, this, &TForm1::ReplaceDialog1Replace);
    connect(ReplaceDialog1, &TFindDialog::OnClose, this, &TForm1::FindDialog1Close);
    connect(Brenvik1, &TBrenvik::OnChange, this, &TForm1::Brenvik1Change);
    connect(Brenvik1, &TBrenvik::OnAssemble, this, &TForm1::Brenvik1Assemble);
    connect(Brenvik1, &TBrenvik::OnMarkColoursChanged, this, &TForm1::showResultPanel);
    // After the window's own handlers, so that its messages follow the window's.
    DebugSession1 = new TDebugSession(*this, *Brenvik1, *MessagePanel);
    DebugSession1->BuildMenus(Run1, View1);
    LiveSession1 = new TLiveSession(*this, *Brenvik1, *settings);
    LiveSession1->BuildMenus(Run1, View1);
    MachineChoice1 = new TMachineChoice(*this, *DebugSession1, *LiveSession1, *settings, *MessagePanel);
    MachineChoice1->BuildMenu(Run1);
    syntaxPanel = new QLabel(this);
    syntaxPanel->setObjectName(QStringLiteral("SyntaxPanel"));
    syntaxPanel->setToolTip(
        QStringLiteral("Read by the rules of the Macroassembler AS, as its CPU directive says"));
    syntaxPanel->hide();
    statusBar()->addPermanentWidget(syntaxPanel);
    statusBar()->addPermanentWidget(MachineChoice1->Panel());
    tabifyDockWidget(DebugSession1->Console(), LiveSession1->Pane());
    connect(LiveSession1, &TLiveSession::OnFigures, this, &TForm1::showSelectionCost);
    buildTextViewMenu();
    addDockWidget(Qt::RightDockWidgetArea, SymbolsPane1);
    tabifyDockWidget(DebugSession1->Registers(), SymbolsPane1);

    baseCaption = QStringLiteral("Brenvik");
    setDocument(QString());
    Brenvik1->SetFont(editorFont.font, editorFont.textColour());
    loadSettings();
    SetRecentFiles(recentFiles);
    Brenvik1->SetModified(false);
    showResultPanel();
    showCaretPanels();
}

// The editor goes first: the document it shows, a child made before it, would
// otherwise go before it.
TForm1::~TForm1() {
    delete Brenvik1;
}

const QString& TForm1::currentFile() const {
    return document->Path();
}

void TForm1::PrintSetup1Click() {
    QPageSetupDialog dialog(printer.get(), this);
    dialog.exec();
}

void TForm1::Print1Click() {
    TPrintDialog dialog(printer.get(), Brenvik1->GetSelLength() > 0, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printer->setDocName(windowTitle());
    Brenvik1->Print(*printer, dialog.printRange() == QAbstractPrintDialog::Selection);
}

void TForm1::buildMenu() {
    const auto item = [this](QMenu* menu, const QString& caption, QKeySequence shortcut, auto handler) {
        QAction* action = menu->addAction(caption);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, [this, handler] {
            reportingErrors([&] {
                if constexpr (std::is_member_function_pointer_v<decltype(handler)>)
                    (this->*handler)();
                else
                    handler();
            });
        });
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    New1 = item(file, "&New", QKeySequence(Qt::CTRL | Qt::Key_N), &TForm1::New1Click);
    Open1 = item(file, "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O), &TForm1::Open1Click);
    Reopen1 = file->addMenu(QStringLiteral("&Reopen"));
    Reopen1->addAction(QStringLiteral("(empty)"));
    Save1 = item(file, "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), &TForm1::Save1Click);
    SaveAs1 = item(file, "Save &As...", QKeySequence(), &TForm1::SaveAs1Click);
    Export1 = file->addMenu(QStringLiteral("&Export"));
    ExportBinary1 = item(Export1, "&Binary Image...", QKeySequence(), &TForm1::ExportBinary1Click);
    ExportListing1 = item(Export1, "&Listing...", QKeySequence(), &TForm1::ExportListing1Click);
    ExportSymbols1 = item(Export1, "&Symbols...", QKeySequence(), &TForm1::ExportSymbols1Click);
    file->addSeparator();
    PrintSetup1 = item(file, "Print Setup...", QKeySequence(), &TForm1::PrintSetup1Click);
    Print1 = item(file, "&Print", QKeySequence(Qt::CTRL | Qt::Key_P), &TForm1::Print1Click);
    file->addSeparator();
    Exit2 = item(file, "Exit", QKeySequence(Qt::CTRL | Qt::Key_Q), &QWidget::close);

    Edit1 = menuBar()->addMenu(QStringLiteral("&Edit"));
    connect(Edit1, &QMenu::aboutToShow, this, &TForm1::Edit1Click);
    Undo1 = item(Edit1, "&Undo", QKeySequence(Qt::ALT | Qt::Key_Backspace), [this] { Brenvik1->Undo(); });
    Redo1 = item(Edit1, "&Redo", QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { Brenvik1->Redo(); });
    Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    Edit1->addSeparator();
    Cut1 = item(Edit1, "C&ut", QKeySequence(Qt::CTRL | Qt::Key_X), [this] { Brenvik1->CutToClipboard(); });
    Copy1 = item(Edit1, "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), [this] { Brenvik1->CopyToClipboard(); });
    Paste1 =
        item(Edit1, "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V), [this] { Brenvik1->PasteFromClipboard(); });
    Clear1 = item(Edit1, "De&lete", QKeySequence(Qt::CTRL | Qt::Key_Delete),
                  [this] { Brenvik1->ClearSelection(); });
    SelectAll1 =
        item(Edit1, "Select &All", QKeySequence(Qt::CTRL | Qt::Key_A), [this] { Brenvik1->SelectAll(); });
    Edit1->addSeparator();
    Find1 = item(Edit1, "&Find...", QKeySequence(Qt::CTRL | Qt::Key_F), &TForm1::Find1Click);
    FindNext1 = item(Edit1, "Find &Next", QKeySequence(Qt::Key_F3), &TForm1::FindNext1Click);
    Replace1 = item(Edit1, "&Replace...", QKeySequence(Qt::CTRL | Qt::Key_R), &TForm1::Replace1Click);
    Edit1->addSeparator();
    NextProblem1 = item(Edit1, "Next Pro&blem", QKeySequence(Qt::Key_F8), [this] { goToProblem(true); });
    PreviousProblem1 = item(Edit1, "Previous Probl&em", QKeySequence(Qt::SHIFT | Qt::Key_F8),
                            [this] { goToProblem(false); });
    Edit1->addSeparator();
    GoToDefinition1 = item(Edit1, "&Go to Definition", QKeySequence(Qt::Key_F12),
                           [this] { goToDefinition(nameAtCaret()); });
    FindUses1 =
        item(Edit1, "Find U&ses", QKeySequence(Qt::SHIFT | Qt::Key_F12), [this] { findUses(nameAtCaret()); });
    GoToLine1 = item(Edit1, "Go t&o Line...", QKeySequence(Qt::CTRL | Qt::Key_G), &TForm1::goToLine);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    QMenu* autoAssemble = options->addMenu(QStringLiteral("Auto&Assemble"));
    auto* radio = new QActionGroup(this);
    const char* delayCaptions[] = {"Never", "After 2s", "After 4s", "After 10s"};
    for (int i = 0; i < 4; ++i) {
        QAction* delay = item(autoAssemble, delayCaptions[i], QKeySequence(), [this, i] { setDelay(i); });
        delay->setCheckable(true);
        radio->addAction(delay);
        delayItems.append(delay);
    }
    Never1 = delayItems[0], After2s1 = delayItems[1], After4s1 = delayItems[2], After10s1 = delayItems[3];
    After2s1->setChecked(true);
    AutoIndent1 = item(options, "Auto&Indent", QKeySequence(), &TForm1::AutoIndent1Click);
    AutoIndent1->setCheckable(true);
    AutoIndent1->setChecked(true);
    WriteHexfile1 = options->addAction(QStringLiteral("Write Hex file"));
    WriteHexfile1->setCheckable(true);
    WriteHexfile1->setChecked(true);
    options->addSeparator();
    Font1 = item(options, "&Font...", QKeySequence(), &TForm1::Font1Click);

    View1 = menuBar()->addMenu(QStringLiteral("&View"));
    Problems1 =
        addPaneAction(*View1, *ProblemsPane1, QStringLiteral("&Problems"),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M), [this] { ProblemsPane1->open(); });
    Symbols1 = addPaneAction(*View1, *SymbolsPane1, QStringLiteral("&Symbols"),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    Uses1 = addPaneAction(*View1, *UsesPane1, QStringLiteral("&Uses"),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U));

    Run1 = menuBar()->addMenu(QStringLiteral("&Run")); // filled by the debug session

    Assemble1 = menuBar()->addAction(QStringLiteral("&Assemble!"));
    connect(Assemble1, &QAction::triggered, Brenvik1, &TBrenvik::doAsm);
    Assemble1->setEnabled(false);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    About1 = item(help, "&About...", QKeySequence(Qt::Key_F1), [this] { aboutBox->exec(); });
}

void TForm1::buildStatusBar() {
    // Named for whoever looks at the window from outside, as tests and accessibility tools do.
    const auto panel = [this](QLabel* label, const char* name, int width, int stretch) {
        label->setObjectName(QString::fromLatin1(name));
        label->setMinimumWidth(width);
        statusBar()->addWidget(label, stretch);
        return label;
    };
    ResultPanel = panel(new QLabel(this), "ResultPanel", 400, 0);
    LinePanel = panel(new QLabel(this), "LinePanel", 50, 0);
    ColumnPanel = panel(new QLabel(this), "ColumnPanel", 50, 0);
    // Long messages are cut with an ellipsis, rather than widening the window, and shown whole on hovering.
    MessagePanel = panel(new TElidedLabel(this), "MessagePanel", 50, 1);
    QFont bold = ResultPanel->font();
    bold.setBold(true);
    ResultPanel->setFont(bold);
    ProblemPanel = panel(new TElidedLabel(this), "ProblemPanel", 0, 3);
    SelectionPanel = panel(new QLabel(this), "SelectionPanel", 0, 0);
    SelectionPanel->hide();
}

void TForm1::setDocument(const QString& name) {
    document->SetPath(name);
    setWindowTitle(baseCaption + " - " + (name.isEmpty() ? QStringLiteral("(untitled)") : name));
}

namespace {

void showText(QLabel* panel, const QString& text) {
    if (panel->text() != text) // an unchanged panel is not repainted
        panel->setText(text);
}

} // namespace

// The result of the last run, red while lines are in error.
void TForm1::showResultPanel() {
    showText(ResultPanel,
             QString::fromStdString(resultText(Brenvik1->GetErrorCount(), Brenvik1->BytesAssembled())));
    const QColor colour = Brenvik1->GetErrorCount() > 0 ? Brenvik1->GetMarkColours().error
                                                        : palette().color(QPalette::ToolTipText);
    if (ResultPanel->palette().color(QPalette::WindowText) != colour) {
        QPalette result = ResultPanel->palette();
        result.setColor(QPalette::WindowText, colour);
        ResultPanel->setPalette(result);
    }
}

// Where the caret is, and the problem of its line.
void TForm1::showCaretPanels() {
    showText(LinePanel, QStringLiteral("Line %1").arg(Brenvik1->GetLine()));
    showText(ColumnPanel, QStringLiteral("Col %1").arg(Brenvik1->GetColumn()));
    const std::span<const Diagnostic> caretProblems = document->DiagnosticsOf(Brenvik1->GetLine() - 1);
    // The line's error first: it is what makes the line red.
    const auto shown = std::find_if(caretProblems.begin(), caretProblems.end(), isError);
    showText(ProblemPanel,
             caretProblems.empty()
                 ? QString()
                 : diagnosticText(shown != caretProblems.end() ? *shown : caretProblems.front()));
    // An empty panel gives its room to the messages beside it.
    ProblemPanel->setVisible(!caretProblems.empty());
}

void TForm1::SetRecentFiles(QStringList files) {
    recentFiles = std::move(files);
    Reopen1->clear();
    Reopen1->menuAction()->setEnabled(!recentFiles.isEmpty());
    for (int i = 0; i < recentFiles.size(); ++i) {
        const QString path = recentFiles[i];
        QAction* entry = Reopen1->addAction(QString(path).replace('&', "&&"));
        entry->setShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + i)));
        connect(entry, &QAction::triggered, this,
                [this, path] { reportingErrors([&] { dummy1Click(path); }); });
    }
}

void TForm1::Edit1Click() {
    Undo1->setEnabled(Brenvik1->CanUndo());
    Redo1->setEnabled(Brenvik1->CanRedo());
    const bool selection = Brenvik1->GetSelLength() > 0;
    Cut1->setEnabled(selection);
    Copy1->setEnabled(selection);
    Clear1->setEnabled(selection);
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    Paste1->setEnabled(clipboard && clipboard->hasText());
}

void TForm1::goToProblem(bool forward) {
    const std::vector<Diagnostic>& problems = document->CurrentAssembly().diagnostics;
    const auto line = static_cast<std::uint32_t>(Brenvik1->GetLine() - 1);
    const auto column = static_cast<std::uint32_t>(Brenvik1->GetColumn() - 1);
    if (const Diagnostic* problem = nextProblem(problems, line, column, forward))
        Brenvik1->GoTo(static_cast<int>(problem->line), static_cast<int>(problem->column));
    else
        QApplication::beep();
}

void TForm1::Brenvik1Change() {
    Assemble1->setEnabled(true);
    MessagePanel->clear();
    showCaretPanels(); // the last run's findings no longer describe the text
}

void TForm1::loadSettings() {
    const std::optional<StoredOptions> stored = readOptions(*settings);
    if (!stored)
        return; // the first run keeps the designed options
    editorFont = stored->font;
    applyEditorFont();
    // Indexes outside the four items, negative or not, keep the designed delay.
    if (stored->autoAssemble >= 0 && stored->autoAssemble < delayItems.size())
        setDelay(stored->autoAssemble);
    WriteHexfile1->setChecked(stored->saveHex);
    recentFiles = stored->recentFiles;
    Brenvik1->SetAutoIndent(stored->autoIndent);
    AutoIndent1->setChecked(Brenvik1->GetAutoIndent());
    // Damaged values are refused by Qt, and the designed size stays.
    DebugSession1->SetSpeed(stored->runSpeed);
    DebugSession1->SetInterruptRestart(static_cast<unsigned>(stored->interruptRestart));
    imageChoices = stored->imageChoices;
    LineNumbers1->setChecked(stored->lineNumbers);
    LiveSession1->SetBudget(stored->liveBudget);
    LiveSession1->SetOn(stored->liveRun);
    restoreGeometry(stored->windowGeometry);
    restoreState(stored->windowState);
}

void TForm1::FormClose() {
    rememberBreakpoints(*settings, currentFile(), document->BreakpointLines());
    StoredOptions options;
    options.font = editorFont;
    options.autoAssemble =
        static_cast<int>(delayItems.indexOf(delayItems[0]->actionGroup()->checkedAction()));
    options.saveHex = WriteHexfile1->isChecked();
    options.recentFiles = recentFiles;
    options.autoIndent = Brenvik1->GetAutoIndent();
    options.runSpeed = DebugSession1->GetSpeed();
    options.interruptRestart = static_cast<int>(DebugSession1->GetInterruptRestart());
    options.imageChoices = imageChoices;
    options.lineNumbers = LineNumbers1->isChecked();
    options.liveRun = LiveSession1->IsOn();
    options.liveBudget = LiveSession1->GetBudget();
    options.windowGeometry = saveGeometry();
    options.windowState = saveState();
    writeOptions(*settings, options);
}

void TForm1::setDelay(int index) {
    Brenvik1->AutoAsmDelay = delays[index];
    delayItems[index]->setChecked(true);
}

void TForm1::AutoIndent1Click() {
    Brenvik1->SetAutoIndent(AutoIndent1->isChecked());
}

void TForm1::Font1Click() {
    bool chosen = false;
    const QFont font =
        QFontDialog::getFont(&chosen, editorFont.font, this, QString(), QFontDialog::DontUseNativeDialog);
    if (!chosen)
        return;
    editorFont.font = font;
    editorFont.pitch = font.fixedPitch() ? 2 : 0;
    applyEditorFont();
}

void TForm1::applyEditorFont() {
    Brenvik1->SetFont(zoomedEditorFont(), editorFont.textColour());
}

QFont TForm1::zoomedEditorFont() const {
    QFont shown = editorFont.font;
    if (shown.pointSize() > 0)
        shown.setPointSize(shown.pointSize() + zoomSteps);
    return shown;
}
