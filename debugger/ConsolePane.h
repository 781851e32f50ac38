#pragma once

// The console pane: the screen of the simulated terminal, and its keyboard.
// Output appears as it arrives; keys typed in it go to the program, Enter as CR.
// A header above it says whether the program runs and why it stopped. Its text
// can be selected, copied and cleared.

#include <QDockWidget>
#include <QPlainTextEdit>

#include <string>

class QLabel;

class TConsoleView : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit TConsoleView(QWidget* parent);

    // Text as the console's screen hands it over: '\n' ends a line, '\b' goes back one character.
    void Show(const QString& text);

    // The bytes a key sends to the program; none for keys that are not the terminal's.
    static std::string BytesOf(const QKeyEvent& event);

  Q_SIGNALS:
    void OnKeys(const std::string& keys);

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

class TConsolePane : public QDockWidget {
    Q_OBJECT
  public:
    explicit TConsolePane(QWidget* parent);

    TConsoleView* View() const { return view; }
    // Empty, with the header it starts with.
    void Reset();
    void SetHeader(const QString& text);
    QString Header() const;

  private:
    QLabel* header;
    TConsoleView* view;
};
