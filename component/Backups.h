#pragma once

#include <QString>

// Keeps the nine previous versions of `path` as path.1 (the newest) to path.9,
// the extension replaced. Run just before `path` is written; a backup that
// cannot be moved leaves a gap, silently. `path` itself stays where it is, so
// a save that fails after the rotation still finds the old file in place.
void rotateBackups(const QString& path);

QString backupPath(const QString& path, int number);
