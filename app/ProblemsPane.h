#pragma once

// The problems list: every error and warning of the last run with its line,
// column and message; activating one puts the caret there, or opens the
// included file it was found in at its line. A dock at the
// bottom of the window, hidden until there is something to show; once the
// user closes it, it stays closed until it is opened again.

#include "Assembly.h"
#include "LinesPane.h"

class TProblemsPane : public TLinesPane {
    Q_OBJECT
  public:
    explicit TProblemsPane(QWidget* parent);

    void showProblems(const Assembly& assembly);
    // Opened by the user, who will close it when done with it.
    void open();

    // At most this many rows are listed; the pane's title gives the whole count.
    static constexpr int maxRows = 5000;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    bool closedByUser = false;
    bool shownForProblems = false; // shown by a run, not by the user
};

// The problem after (or before) column `column` of line `line`, both 0-based,
// going round the ends of the list; null when there is none.
const Diagnostic* nextProblem(const std::vector<Diagnostic>& problems, std::uint32_t line,
                              std::uint32_t column, bool forward);
