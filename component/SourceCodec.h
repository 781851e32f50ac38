#pragma once

// Source files as bytes and as editor text. A file is read as UTF-8 when it is
// valid UTF-8 and as Latin-1 otherwise, and written back the same way, so that
// opening and saving a file changes no byte the user did not edit. Lines may end
// with CR LF, LF or CR; they are written with CR LF.

#include <QByteArray>
#include <QString>

#include <stdexcept>

enum class SourceEncoding { Utf8, Utf8WithBom, Latin1 };

struct DecodedSource {
    QString text; // lines separated by '\n'
    SourceEncoding encoding;
};

DecodedSource decodeSource(const QByteArray& bytes);

// Throws UnencodableText when `encoding` cannot hold a character of `text`.
QByteArray encodeSource(const QString& text, SourceEncoding encoding);

class UnencodableText : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
