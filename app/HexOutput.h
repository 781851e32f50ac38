#pragma once

#include "Assembly.h"

#include <QString>

#include <stdexcept>

// A HEX file that could not be created or written whole.
class EFCreateError : public std::runtime_error {
public:
    explicit EFCreateError(const QString& path);
    static constexpr const char* typeName = "EFCreateError";
};

// Writes the program's Intel HEX file at `path`, whole or not at all: it is
// written beside and renamed into place. Throws EFCreateError.
void writeHexFile(const Assembly& program, const QString& path);
