#include "SourceCodec.h"

#include <QStringDecoder>

namespace {

const QByteArray byteOrderMark("\xEF\xBB\xBF");

QString unifiedLineBreaks(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

DecodedSource decodeSource(const QByteArray& bytes) {
    const bool bom = bytes.startsWith(byteOrderMark);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bom ? bytes.mid(byteOrderMark.size()) : bytes);
    if (!utf8.hasError())
        return {unifiedLineBreaks(text), bom ? SourceEncoding::Utf8WithBom : SourceEncoding::Utf8};
    return {unifiedLineBreaks(QString::fromLatin1(bytes)), SourceEncoding::Latin1};
}

QByteArray encodeSource(const QString& text, SourceEncoding encoding) {
    QString withBreaks = text;
    withBreaks.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (encoding != SourceEncoding::Latin1)
        return (encoding == SourceEncoding::Utf8WithBom ? byteOrderMark : QByteArray()) + withBreaks.toUtf8();
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].unicode() > 0xFF) {
            const qsizetype lineStart = text.lastIndexOf('\n', i) + 1;
            throw UnencodableText(QStringLiteral("the character \"%1\" in line %2, column %3 has no Latin-1 code, "
                                                 "the encoding the file was read in")
                                      .arg(text[i])
                                      .arg(text.left(i).count('\n') + 1)
                                      .arg(i - lineStart + 1)
                                      .toStdString());
        }
    return withBreaks.toLatin1();
}
