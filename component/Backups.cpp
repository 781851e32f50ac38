#include "Backups.h"

#include "IntelHex.h"

#include <QFile>

namespace {

constexpr int backups = 9;

} // namespace

QString backupPath(const QString& path, int number) {
    return QString::fromStdString(
        replaceExtension(path.toStdString(), QStringLiteral(".%1").arg(number).toStdString()));
}

void rotateBackups(const QString& path) {
    QFile::remove(backupPath(path, backups));
    for (int n = backups - 1; n >= 1; --n)
        QFile::rename(backupPath(path, n), backupPath(path, n + 1));
    QFile::copy(path, backupPath(path, 1));
}
