// Go to Line, and how the text is shown: its zoom, which the code column
// follows, and the line numbers beside it.

#include "MainForm.h"

#include "BrenvikControl.h"
#include "RichEdit2.h"

#include <QInputDialog>
#include <QMenu>

namespace {

// The zoomed sizes stay readable and within what a repaint can bear.
constexpr int smallestZoomedPoints = 4;
constexpr int largestZoomedPoints = 96;

} // namespace

// The View menu's last part, after the panes: how the text is shown.
void TForm1::buildTextViewMenu() {
    View1->addSeparator();
    LineNumbers1 = View1->addAction(QStringLiteral("Line &Numbers"));
    LineNumbers1->setCheckable(true);
    connect(LineNumbers1, &QAction::toggled, Brenvik1->GetTextArea(), &TRichEdit2::SetLineNumbers);
    ZoomIn1 = View1->addAction(QStringLiteral("Zoom &In"), this, [this] { zoom(1); });
    ZoomIn1->setShortcuts({QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    ZoomOut1 = View1->addAction(QStringLiteral("Zoom &Out"), this, [this] { zoom(-1); });
    ZoomOut1->setShortcut(QKeySequence(QKeySequence::ZoomOut));
    ActualSize1 = View1->addAction(QStringLiteral("&Actual Size"), this, [this] { zoom(-zoomSteps); });
    ActualSize1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
}

void TForm1::goToLine() {
    const int lines = Brenvik1->GetTextArea()->blockCount();
    bool chosen = false;
    const int line = QInputDialog::getInt(this, QStringLiteral("Go to Line"),
                                          QStringLiteral("&Line (1 to %1):").arg(lines), Brenvik1->GetLine(),
                                          1, lines, 1, &chosen);
    if (chosen)
        Brenvik1->GoTo(line - 1, 1);
}

void TForm1::zoom(int steps) {
    const int base = editorFont.font.pointSize();
    if (base <= 0)
        return; // a font sized in pixels is not zoomed
    const int size = std::clamp(base + zoomSteps + steps, std::min(base, smallestZoomedPoints),
                                std::max(base, largestZoomedPoints));
    if (size == base + zoomSteps)
        return;
    zoomSteps = size - base;
    Brenvik1->SetZoomedFont(zoomedEditorFont());
}
