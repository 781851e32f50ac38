#include "Values.h"

#include "CodeFormat.h"

namespace {

constexpr char firstPrintable = ' ';
constexpr char lastPrintable = '~';
constexpr std::uint8_t asciiMask = 0177;

} // namespace

QString octalString(std::uint32_t value, int width) {
    return QString::fromStdString(octalText(value, width));
}

std::optional<std::uint32_t> parseOctal(const QString& text, std::uint32_t largest) {
    const QString digits = text.trimmed();
    if (digits.isEmpty())
        return std::nullopt;
    std::uint32_t value = 0;
    for (const QChar digit : digits) {
        if (digit < u'0' || digit > u'7')
            return std::nullopt;
        value = value * 8 + static_cast<std::uint32_t>(digit.unicode() - u'0');
        if (value > largest)
            return std::nullopt;
    }
    return value;
}

QString byteToolTip(std::uint8_t value) {
    const QString hexadecimal = QString::number(value, 16).toUpper().rightJustified(2, u'0');
    QString tip = QStringLiteral("Decimal %1, hexadecimal %2").arg(value).arg(hexadecimal);
    // Bit 7 is left out, as terminals of the day ignored it.
    const char character = static_cast<char>(value & asciiMask);
    if (character >= firstPrintable && character <= lastPrintable)
        tip += QStringLiteral(", character '%1'").arg(QLatin1Char(character));
    return tip;
}
