#pragma once

// The options kept between runs, group "Options" of QSettings("Talvane",
// "Brenvik"), every value a string.

#include "ImageChoices.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QStringList>

#include <optional>

class QSettings;

// The editor font as stored: a font, and the colour and character set numbers
// it was stored with (the character set means nothing to Qt but is kept).
struct EditorFont {
    QFont font{QStringLiteral("MS Sans Serif"), 8};
    qint32 colour = systemColour + windowTextIndex;
    int charset = 1;
    int pitch = 0; // 0 default, 1 variable, 2 fixed

    // 0x00BBGGRR, or systemColour plus a system colour index.
    static constexpr qint32 systemColour = static_cast<qint32>(0x80000000);
    static constexpr qint32 windowTextIndex = 8;
    QColor textColour() const;
};

struct StoredOptions {
    EditorFont font;
    int autoAssemble = -1; // index of the delay item; negative keeps the designed one
    bool saveHex = true;
    QStringList recentFiles;
    bool autoIndent = true;
    // Beside the designed options: the debugger's speed (0 full, then the
    // real-time clocks in the Run menu's order) and interrupt restart number,
    int runSpeed = 0;
    int interruptRestart = 0;
    // the Binary Image dialog's last choices, whether lines are numbered,
    BinaryImageChoices imageChoices;
    bool lineNumbers = false;
    // whether Live Run is on and its budget of states,
    bool liveRun = false;
    std::uint64_t liveBudget = 10'000'000;
    // the window's place, size and maximised state,
    // and where its panes are; empty until the first close.
    QByteArray windowGeometry;
    QByteArray windowState;
};

// Nothing on the first run, when the group does not exist yet.
std::optional<StoredOptions> readOptions(QSettings& settings);
void writeOptions(QSettings& settings, const StoredOptions& options);

// `path` first, once, and at most nine entries.
QStringList addRecentFile(QStringList recentFiles, const QString& path);
