#include "PerFileSettings.h"

#include <QList>
#include <QSettings>

namespace {

constexpr int filesKept = 20;

struct FileValue {
    QString path;
    QString value;
};

QList<FileValue> readAll(QSettings& settings, const PerFileGroup& kept) {
    QList<FileValue> files;
    settings.beginGroup(kept.group);
    for (int n = 1; n <= filesKept; ++n) {
        const QString path = settings.value(QStringLiteral("File%1").arg(n)).toString();
        if (path.isEmpty())
            break;
        files.append({path, settings.value(kept.valueKey + QString::number(n)).toString()});
    }
    settings.endGroup();
    return files;
}

} // namespace

QString rememberedForFile(QSettings& settings, const PerFileGroup& kept, const QString& path) {
    for (const FileValue& file : readAll(settings, kept))
        if (file.path == path)
            return file.value;
    return {};
}

void rememberForFile(QSettings& settings, const PerFileGroup& kept, const QString& path,
                     const QString& value) {
    if (path.isEmpty())
        return;
    QList<FileValue> files = readAll(settings, kept);
    files.removeIf([&](const FileValue& file) { return file.path == path; });
    if (!value.isEmpty())
        files.prepend({path, value});
    settings.remove(kept.group);
    settings.beginGroup(kept.group);
    for (int i = 0; i < std::min<qsizetype>(files.size(), filesKept); ++i) {
        settings.setValue(QStringLiteral("File%1").arg(i + 1), files[i].path);
        settings.setValue(kept.valueKey + QString::number(i + 1), files[i].value);
    }
    settings.endGroup();
}
