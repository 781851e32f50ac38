#pragma once

// Values as the debugger's panes show and take them: octal, as the listing
// writes them, with the other bases a hover away.

#include <QString>

#include <cstdint>
#include <optional>

QString octalString(std::uint32_t value, int width);
// Octal digits only, at most `largest`; none for anything else.
std::optional<std::uint32_t> parseOctal(const QString& text, std::uint32_t largest);
// A byte in decimal, hexadecimal and, when printable, as a character.
QString byteToolTip(std::uint8_t value);
