#include "HexOutput.h"

#include "IntelHex.h"

#include <QSaveFile>

EFCreateError::EFCreateError(const QString& path)
    : std::runtime_error(QStringLiteral("Cannot create file %1").arg(path).toStdString()) {}

void writeHexFile(const Assembly& program, const QString& path) {
    const std::string text = intelHexOf(program);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit())
        throw EFCreateError(path);
}
