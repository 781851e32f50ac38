#pragma once

// The choices of a binary image: the byte that fills the gaps, and whether the
// image runs from the program's lowest byte to its highest or over a fixed
// range, such as a whole EPROM. Addresses and the byte in octal. The image is
// made before the dialog closes, so that a range the program does not fit is
// said in it, with the choices still there to mend.

#include "BinaryImage.h"
#include "ImageChoices.h"

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QRadioButton;

class TBinaryImageDialog : public QDialog {
    Q_OBJECT
  public:
    TBinaryImageDialog(QWidget* parent, const Assembly& program, const BinaryImageChoices& choices);

    // After Accepted: the choices taken and the image made of them.
    const BinaryImageChoices& Choices() const { return taken; }
    const std::string& Image() const { return image; }

    QLineEdit *FillField, *FirstField, *LastField;
    QRadioButton *WholeProgram, *FixedRange;

    void accept() override;

  private:
    // Says why the choices cannot be taken and puts the focus on `field`.
    void refuse(const QString& why, QLineEdit* field);

    const Assembly& program;
    QLabel* problem;
    BinaryImageChoices taken;
    std::string image;
};
