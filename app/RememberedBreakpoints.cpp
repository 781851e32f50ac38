#include "RememberedBreakpoints.h"

#include "PerFileSettings.h"

#include <QStringList>

namespace {

// The lines are 1-based, separated by blanks.
const PerFileGroup breakpointsKept{QStringLiteral("Breakpoints"), QStringLiteral("Lines")};

} // namespace

std::vector<int> rememberedBreakpoints(QSettings& settings, const QString& path) {
    std::vector<int> lines;
    for (const QString& number :
         rememberedForFile(settings, breakpointsKept, path).split(u' ', Qt::SkipEmptyParts)) {
        bool valid = false;
        const int line = number.toInt(&valid);
        if (valid && line >= 1)
            lines.push_back(line - 1);
    }
    return lines;
}

void rememberBreakpoints(QSettings& settings, const QString& path, const std::vector<int>& lines) {
    QStringList numbers;
    for (const int line : lines)
        numbers.append(QString::number(line + 1));
    rememberForFile(settings, breakpointsKept, path, numbers.join(u' '));
}
