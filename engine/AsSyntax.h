#pragma once

// Sources written for the Macroassembler AS, which most public 8008 code is:
// a text whose first statement is AS's CPU directive is read by AS's rules.

#include "Assembly.h"
#include "TextArea.h"

#include <string>

// How `text` is read: in AS's syntax when CPU 8008 or CPU 8008NEW (in any case)
// comes before its first statement that needs a processor: only comments,
// PAGE, TITLE, INCLUDE, RADIX, EQU, SET and conditions may come before it.
Syntax syntaxOf(const TextArea& text);

// Assembles `text` by AS's rules into `assembly`, whose records and diagnostics
// it replaces: a label in column 1 with or without a colon, AS's numbers,
// operators and strings, passes until every forward reference holds.
// `path` is the file the text is, for INCLUDE; empty for a text that is no file.
void assembleAsSyntax(const TextArea& text, Syntax syntax, const std::string& path, Assembly& assembly);
