#pragma once

// The Binary Image dialog's fields as last taken, kept with the options.

#include <QString>

struct BinaryImageChoices {
    QString fill = QStringLiteral("377");
    QString first = QStringLiteral("000000");
    QString last = QStringLiteral("017777"); // the last address of an 8 KiB EPROM, a 2764
    bool fixedRange = false;
};
