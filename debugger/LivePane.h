#pragma once

// The Live pane: what the live run of the document's program printed, how
// the run ended, its states and their time on the chip; and the two choices
// of a live run, the keys typed to the program and the budget of states.

#include "LiveRun.h"

#include <QDockWidget>

#include <cstdint>
#include <string>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class TConsoleView;

class TLivePane : public QDockWidget {
    Q_OBJECT
  public:
    // The budgets offered, in states; the default among them.
    static constexpr std::uint64_t budgets[] = {1'000'000, LiveRun::defaultBudget, 100'000'000,
                                                1'000'000'000};

    explicit TLivePane(QWidget* parent);

    void ShowResult(const LiveResult& result);
    // Why there is no outcome to show; the last output stays, greyed, until the next one.
    void ShowNote(const QString& note);
    QString Ending() const;
    QString Output() const;

    // The keys for the program, as typed in the pane: a line break is Enter.
    QString Input() const;
    void SetInput(const QString& input);
    // The keys as the program reads them: each line break a CR, as the console's Enter.
    static std::string KeysOf(const QString& input);

    std::uint64_t Budget() const;
    // The offered budget nearest `states`.
    void SetBudget(std::uint64_t states);

  Q_SIGNALS:
    void OnInputEdited();
    void OnBudgetChanged();

  private:
    QLabel* ending;
    QLabel* figures;
    TConsoleView* output;
    QPlainTextEdit* input;
    QComboBox* budget;
};
