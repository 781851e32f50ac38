#include "ExportDialog.h"

#include "Values.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <optional>

namespace {

constexpr std::uint32_t largestByte = 0377;

} // namespace

TBinaryImageDialog::TBinaryImageDialog(QWidget* parent, const Assembly& program,
                                       const BinaryImageChoices& choices)
    : QDialog(parent), FillField(new QLineEdit(choices.fill, this)),
      FirstField(new QLineEdit(choices.first, this)), LastField(new QLineEdit(choices.last, this)),
      WholeProgram(
          new QRadioButton(QStringLiteral("From the program's &lowest address to its highest"), this)),
      FixedRange(new QRadioButton(QStringLiteral("Over a fixed &range"), this)), program(program),
      problem(new QLabel(this)), taken(choices) {
    setWindowTitle(QStringLiteral("Binary Image"));
    (choices.fixedRange ? FixedRange : WholeProgram)->setChecked(true);
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
    // Tab goes in reading order, the range's fields before the buttons.
    setTabOrder(FillField, WholeProgram);
    setTabOrder(WholeProgram, FixedRange);
    setTabOrder(FixedRange, FirstField);
    setTabOrder(FirstField, LastField);
    setTabOrder(LastField, buttons);
}

void TBinaryImageDialog::refuse(const QString& why, QLineEdit* field) {
    problem->setText(why);
    field->setFocus();
    field->selectAll();
}

void TBinaryImageDialog::accept() {
    const std::optional<std::uint32_t> byte = parseOctal(FillField->text(), largestByte);
    if (!byte)
        return refuse(QStringLiteral("The fill byte is octal, 0 to 377."), FillField);
    std::optional<AddressRange> range;
    if (FixedRange->isChecked()) {
        const std::optional<std::uint32_t> first = parseOctal(FirstField->text(), highestImageAddress);
        const std::optional<std::uint32_t> last = parseOctal(LastField->text(), highestImageAddress);
        if (!first || !last || *first > *last)
            return refuse(QStringLiteral("The range is two octal addresses, the first at most the second."),
                          FirstField);
        range = AddressRange{*first, *last};
    }
    std::string reason;
    if (!binaryImage(program, static_cast<std::uint8_t>(*byte), range, image, reason)) {
        // The program does not fit the range: the range is what to mend.
        QString why = QString::fromStdString(reason);
        why[0] = why[0].toUpper();
        return refuse(why + '.', FirstField);
    }
    taken = {FillField->text(), FirstField->text(), LastField->text(), FixedRange->isChecked()};
    QDialog::accept();
}
