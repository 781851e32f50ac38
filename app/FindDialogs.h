#pragma once

// The modeless find and replace dialogs: what to find, whole word, match case;
// for replacing, the replacement and the Replace and Replace All buttons.
// Searches always run downward.

#include <QDialog>

#include <initializer_list>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

class TFindDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TFindDialog(QWidget* parent, bool replacing = false);

    QString FindText() const;
    // TBrenvik's search options.
    int Options() const;

    QLineEdit* findText;
    QCheckBox* wholeWord;
    QCheckBox* matchCase;
    QPushButton* findNext;
    QPushButton* closeButton;

  Q_SIGNALS:
    void OnFind();
    void OnClose();

  protected:
    void hideEvent(QHideEvent* event) override;
    void setTabOrder(std::initializer_list<QWidget*> order);

    QGridLayout* grid;
};

class TReplaceDialog : public TFindDialog {
    Q_OBJECT
  public:
    explicit TReplaceDialog(QWidget* parent);

    QString ReplaceText() const;

    QLineEdit* replaceText;
    QPushButton* replace;
    QPushButton* replaceAll;

  Q_SIGNALS:
    void OnReplace(bool all);
};
