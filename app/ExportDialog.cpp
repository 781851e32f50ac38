#include "ExportDialog.h"

#include "Values.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

constexpr std::uint32_t largestByte = 0377;
constexpr std::uint32_t largestAddress = 0177777;
constexpr std::uint32_t wholeEpromEnd = 017777; // the last address of an 8 KiB EPROM, a 2764

} // namespace

TBinaryImageDialog::TBinaryImageDialog(QWidget* parent)
    : QDialog(parent), FillField(new QLineEdit(octalString(erasedByte, 3), this)),
      FirstField(new QLineEdit(octalString(0, 6), this)),
      LastField(new QLineEdit(octalString(wholeEpromEnd, 6), this)),
      WholeProgram(
          new QRadioButton(QStringLiteral("From the program's &lowest address to its highest"), this)),
      FixedRange(new QRadioButton(QStringLiteral("Over a fixed &range"), this)), problem(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Binary Image"));
    WholeProgram->setChecked(true);
    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(FixedRange);
    rangeRow->addWidget(FirstField);
    rangeRow->addWidget(new QLabel(QStringLiteral("to"), this));
    rangeRow->addWidget(LastField);
    const auto enableRange = [this] {
        FirstField->setEnabled(FixedRange->isChecked());
        LastField->setEnabled(FixedRange->isChecked());
    };
    connect(FixedRange, &QRadioButton::toggled, this, enableRange);
    enableRange();

    problem->setObjectName(QStringLiteral("Problem"));
    problem->setWordWrap(true);
    QPalette warning = problem->palette();
    warning.setColor(QPalette::WindowText, Qt::red);
    problem->setPalette(warning);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Fill gaps with (octal):"), FillField);
    form->addRow(WholeProgram);
    form->addRow(rangeRow);
    form->addRow(problem);
    form->addRow(buttons);
}

void TBinaryImageDialog::accept() {
    const std::optional<std::uint32_t> byte = parseOctal(FillField->text(), largestByte);
    if (!byte) {
        problem->setText(QStringLiteral("The fill byte is octal, 0 to 377."));
        FillField->setFocus();
        return;
    }
    std::optional<AddressRange> chosen;
    if (FixedRange->isChecked()) {
        const std::optional<std::uint32_t> first = parseOctal(FirstField->text(), largestAddress);
        const std::optional<std::uint32_t> last = parseOctal(LastField->text(), largestAddress);
        if (!first || !last || *first > *last) {
            problem->setText(
                QStringLiteral("The range is two octal addresses, the first at most the second."));
            FirstField->setFocus();
            return;
        }
        chosen = AddressRange{*first, *last};
    }
    fill = static_cast<std::uint8_t>(*byte);
    range = chosen;
    QDialog::accept();
}
