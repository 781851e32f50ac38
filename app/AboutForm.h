#pragma once

// The About dialog: name, version, a link to the update page, and the quick
// syntax summary.

#include <QDialog>

class QLabel;
class QPlainTextEdit;

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* parent = nullptr);

    static const QUrl updatePage;

    QLabel* Label1;        // "Check for update"
    QPlainTextEdit* Edit1; // the syntax summary

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void FormActivate();
    void Label1Click();
};
