#include "LiveSession.h"

#include "BrenvikControl.h"
#include "LivePane.h"
#include "LiveRunner.h"
#include "MachineDescription.h"
#include "PaneAction.h"
#include "PerFileSettings.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

namespace {

const PerFileGroup inputKept{QStringLiteral("LiveInput"), QStringLiteral("Keys")};

} // namespace

TLiveSession::TLiveSession(QMainWindow& window, TBrenvik& editor, QSettings& settings)
    : QObject(&window), editor(editor), settings(settings), runner(new TLiveRunner(this)),
      pane(new TLivePane(&window)), machine(&consoleMachine()) {
    window.addDockWidget(Qt::RightDockWidgetArea, pane);
    pane->hide();
    connect(&editor, &TBrenvik::OnChange, this, &TLiveSession::edited);
    connect(&editor, &TBrenvik::OnAssemble, this, &TLiveSession::start);
    connect(runner, &TLiveRunner::OnFinished, this, [this](std::shared_ptr<const LiveResult> result) {
        pane->ShowResult(*result);
        this->editor.SetLiveResult(std::move(result));
        Q_EMIT OnFigures();
    });
    connect(pane, &TLivePane::OnInputEdited, this, &TLiveSession::inputEdited);
    connect(pane, &TLivePane::OnBudgetChanged, this, &TLiveSession::start);
}

void TLiveSession::BuildMenus(QMenu* run, QMenu* view) {
    run->addSeparator();
    LiveRun1 = run->addAction(QStringLiteral("&Live Run"), this, [this] { SetOn(LiveRun1->isChecked()); });
    LiveRun1->setCheckable(true);
    addPaneAction(*view, *pane, QStringLiteral("&Live"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
}

bool TLiveSession::IsOn() const {
    return LiveRun1->isChecked();
}

void TLiveSession::SetOn(bool on) {
    LiveRun1->setChecked(on);
    editor.SetLiveColumn(on);
    if (on) {
        pane->show();
        pane->raise();
        start();
        return;
    }
    runner->Abandon();
    editor.SetLiveResult(nullptr);
    pane->ShowNote(QStringLiteral("Live Run is off: Run > Live Run turns it on."));
    Q_EMIT OnFigures();
}

std::uint64_t TLiveSession::GetBudget() const {
    return pane->Budget();
}

void TLiveSession::SetBudget(std::uint64_t states) {
    pane->SetBudget(states);
}

void TLiveSession::OpenDocument(const QString& path) {
    document = path;
    // Not an edit of the keys: the file's own are not written back.
    const QSignalBlocker quiet(pane);
    pane->SetInput(rememberedForFile(settings, inputKept, path));
}

void TLiveSession::SavedAs(const QString& path) {
    document = path;
    rememberForFile(settings, inputKept, document, pane->Input());
}

void TLiveSession::SetMachine(const MachineDescription& description, const std::vector<std::uint8_t>& image) {
    machine = &description;
    rom = image;
    start();
}

// A run of the text's last assembly, if it is the text's and has no errors.
void TLiveSession::start() {
    runner->Abandon();
    if (!IsOn() || !editor.GetDocument().IsAssemblyCurrent())
        return;
    if (editor.GetErrorCount() > 0) {
        pane->ShowNote(editor.GetErrorCount() == 1
                           ? QStringLiteral("Not run: a line is in error.")
                           : QStringLiteral("Not run: %1 lines are in error.").arg(editor.GetErrorCount()));
        return;
    }
    runner->Start(editor.GetDocument().GetProgram(), pane->Budget(), TLivePane::KeysOf(pane->Input()),
                  *machine, rom);
}

void TLiveSession::edited() {
    runner->Abandon();
    if (IsOn())
        pane->ShowNote(QStringLiteral("The text has changed: its next assembly runs again."));
    Q_EMIT OnFigures();
}

void TLiveSession::inputEdited() {
    rememberForFile(settings, inputKept, document, pane->Input());
    start();
}
