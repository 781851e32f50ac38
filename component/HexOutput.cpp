#include "HexOutput.h"

#include "Files.h"
#include "IntelHex.h"

#include <QFile>

EFCreateError::EFCreateError(const QString& path, const QString& reason)
    : std::runtime_error(QStringLiteral("Cannot create file %1").arg(path).toStdString()), reason(reason) {}

void writeOutputFile(const QString& path, const std::string& contents) {
    std::string reason;
    if (!replaceFile(QFile::encodeName(path).toStdString(), contents, reason))
        throw EFCreateError(path, QString::fromLocal8Bit(reason));
}

void writeHexFile(const Assembly& program, const QString& path) {
    writeOutputFile(path, intelHexOf(program));
}
