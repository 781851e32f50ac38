#pragma once

// The choices of a binary image: the byte that fills the gaps, and whether the
// image runs from the program's lowest byte to its highest or over a fixed
// range, such as a whole EPROM. Addresses and the byte in octal.

#include "BinaryImage.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QRadioButton;

class TBinaryImageDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TBinaryImageDialog(QWidget* parent);

    std::uint8_t Fill() const { return fill; }
    std::optional<AddressRange> Range() const { return range; }

    QLineEdit *FillField, *FirstField, *LastField;
    QRadioButton *WholeProgram, *FixedRange;

    void accept() override;

  private:
    QLabel* problem; // why the choices cannot be taken
    std::uint8_t fill = erasedByte;
    std::optional<AddressRange> range;
};
