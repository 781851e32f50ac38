#pragma once

// The documents the killed-save test writes: version n is 50,000 lines that all
// name n, so that a file mixing two versions or cut short is told apart.

#include <QString>

inline QString versionText(int version) {
    const QString line = QStringLiteral("\tDB\t%1\n").arg(version);
    return line.repeated(50000);
}
