#pragma once

#include "Assembly.h"

#include <QString>

#include <stdexcept>
#include <string>

// A HEX file, or another file made of a program, that could not be created or
// written whole; what() is the designed text, Reason() the system's reason.
class EFCreateError : public std::runtime_error {
  public:
    EFCreateError(const QString& path, const QString& reason);
    static constexpr const char* typeName = "EFCreateError";
    const QString& Reason() const { return reason; }

  private:
    QString reason;
};

// Writes `contents` at `path`, whole or not at all: it is written beside and
// renamed into place. Throws EFCreateError.
void writeOutputFile(const QString& path, const std::string& contents);

// The program's Intel HEX file at `path`, as writeOutputFile writes it.
void writeHexFile(const Assembly& program, const QString& path);
