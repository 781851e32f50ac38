#include "RememberedBreakpoints.h"

#include <QSettings>
#include <QStringList>

#include <utility>

namespace {

const QString group = QStringLiteral("Breakpoints");
constexpr int filesKept = 20;

struct FileBreakpoints {
    QString path;
    QString lines; // 1-based, separated by blanks, as the settings hold them
};

QList<FileBreakpoints> readAll(QSettings& settings) {
    QList<FileBreakpoints> files;
    settings.beginGroup(group);
    for (int n = 1; n <= filesKept; ++n) {
        const QString path = settings.value(QStringLiteral("File%1").arg(n)).toString();
        if (path.isEmpty())
            break;
        files.append({path, settings.value(QStringLiteral("Lines%1").arg(n)).toString()});
    }
    settings.endGroup();
    return files;
}

} // namespace

std::vector<int> rememberedBreakpoints(QSettings& settings, const QString& path) {
    std::vector<int> lines;
    for (const FileBreakpoints& file : readAll(settings)) {
        if (file.path != path)
            continue;
        for (const QString& number : file.lines.split(u' ', Qt::SkipEmptyParts)) {
            bool valid = false;
            const int line = number.toInt(&valid);
            if (valid && line >= 1)
                lines.push_back(line - 1);
        }
    }
    return lines;
}

void rememberBreakpoints(QSettings& settings, const QString& path, const std::vector<int>& lines) {
    if (path.isEmpty())
        return;
    QList<FileBreakpoints> files = readAll(settings);
    files.removeIf([&](const FileBreakpoints& file) { return file.path == path; });
    if (!lines.empty()) {
        QStringList numbers;
        for (const int line : lines)
            numbers.append(QString::number(line + 1));
        files.prepend({path, numbers.join(u' ')});
    }
    settings.remove(group);
    settings.beginGroup(group);
    for (int i = 0; i < std::min<qsizetype>(files.size(), filesKept); ++i) {
        settings.setValue(QStringLiteral("File%1").arg(i + 1), files[i].path);
        settings.setValue(QStringLiteral("Lines%1").arg(i + 1), files[i].lines);
    }
    settings.endGroup();
}
