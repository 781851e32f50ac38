#pragma once

// A text kept per file between sessions, in a group of the settings: the files
// most recently given one, each as FileN with its text under a key of the
// group's own naming (Lines1, Lines2, ... for the breakpoints).

#include <QString>

class QSettings;

struct PerFileGroup {
    QString group;
    QString valueKey;
};

// What `path` was last left with; empty when nothing.
QString rememberedForFile(QSettings& settings, const PerFileGroup& kept, const QString& path);
// Keeps `value` for `path`, the newest first; an empty value forgets the file.
void rememberForFile(QSettings& settings, const PerFileGroup& kept, const QString& path,
                     const QString& value);
