#include "Settings.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QSettings>

namespace {

const QString group = QStringLiteral("Options");
constexpr int maxRecentFiles = 9;
constexpr int maxFontSize = 1638;

int readInt(const QSettings& settings, const QString& name, int fallback) {
    bool valid = false;
    const int value = settings.value(name).toString().toInt(&valid);
    return valid ? value : fallback;
}

bool readSwitch(const QSettings& settings, const QString& name, bool fallback) {
    return readInt(settings, name, fallback ? 1 : 0) != 0;
}

void write(QSettings& settings, const QString& name, const QString& value) {
    settings.setValue(name, value);
}
void write(QSettings& settings, const QString& name, int value) {
    write(settings, name, QString::number(value));
}

} // namespace

QColor EditorFont::textColour() const {
    if ((colour & systemColour) == 0)
        return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    // The system colours a font might name, as the palette has them.
    switch (colour & 0xFF) {
    case 5:
        return QApplication::palette().color(QPalette::Base);
    case 15:
        return QApplication::palette().color(QPalette::Button);
    case 17:
        return QApplication::palette().color(QPalette::ToolTipText);
    case 20:
        return QApplication::palette().color(QPalette::Light);
    default:
        return QApplication::palette().color(QPalette::Text);
    }
}

std::optional<StoredOptions> readOptions(QSettings& settings) {
    // A store that cannot be read or parsed counts as none: the designed options hold.
    if (!settings.childGroups().contains(group) || settings.status() != QSettings::NoError)
        return std::nullopt;
    settings.beginGroup(group);
    StoredOptions options;
    EditorFont& font = options.font;
    font.charset = readInt(settings, "Charset", font.charset);
    font.colour = readInt(settings, "Color", font.colour);
    font.font.setFamily(settings.value("Name", font.font.family()).toString());
    font.pitch = readInt(settings, "Pitch", font.pitch);
    font.font.setFixedPitch(font.pitch == 2);
    // A size no font dialog offers is damage; it would stall every repaint.
    const int size = readInt(settings, "Size", 8);
    font.font.setPointSize(size > maxFontSize ? 8 : std::max(size, 1));
    font.font.setBold(readSwitch(settings, "Bold", false));
    font.font.setItalic(readSwitch(settings, "Italic", false));
    font.font.setUnderline(readSwitch(settings, "Underline", false));
    font.font.setStrikeOut(readSwitch(settings, "StrikeOut", false));
    options.autoAssemble = readInt(settings, "AutoAssemble", -1);
    options.saveHex = readSwitch(settings, "SaveHex", true);
    for (int n = 1;; ++n) {
        const QString path = settings.value(QStringLiteral("Recent%1").arg(n)).toString();
        if (path.isEmpty())
            break;
        options.recentFiles.append(path);
    }
    options.autoIndent = readSwitch(settings, "AutoIndent", true);
    options.runSpeed = readInt(settings, "RunSpeed", 0);
    options.interruptRestart = readInt(settings, "InterruptRestart", 0);
    BinaryImageChoices& image = options.imageChoices;
    image.fill = settings.value("ImageFill", image.fill).toString();
    image.first = settings.value("ImageFirst", image.first).toString();
    image.last = settings.value("ImageLast", image.last).toString();
    image.fixedRange = readSwitch(settings, "ImageFixedRange", image.fixedRange);
    options.lineNumbers = readSwitch(settings, "LineNumbers", false);
    options.liveRun = readSwitch(settings, "LiveRun", false);
    options.liveBudget = settings.value("LiveBudget", QVariant::fromValue(options.liveBudget)).toULongLong();
    options.windowGeometry = QByteArray::fromBase64(settings.value("WindowGeometry").toString().toLatin1());
    options.windowState = QByteArray::fromBase64(settings.value("WindowState").toString().toLatin1());
    settings.endGroup();
    return options;
}

namespace {

void writeGroup(QSettings& settings, const StoredOptions& options) {
    settings.beginGroup(group);
    const EditorFont& font = options.font;
    write(settings, "Charset", font.charset);
    write(settings, "Color", font.colour);
    write(settings, "Name", font.font.family());
    write(settings, "Pitch", font.pitch);
    write(settings, "Size", font.font.pointSize());
    write(settings, "Bold", font.font.bold() ? 1 : 0);
    write(settings, "Italic", font.font.italic() ? 1 : 0);
    write(settings, "Underline", font.font.underline() ? 1 : 0);
    write(settings, "StrikeOut", font.font.strikeOut() ? 1 : 0);
    write(settings, "AutoAssemble", options.autoAssemble);
    write(settings, "SaveHex", options.saveHex ? 1 : 0);
    for (int i = 0; i < options.recentFiles.size(); ++i)
        write(settings, QStringLiteral("Recent%1").arg(i + 1), options.recentFiles[i]);
    write(settings, "AutoIndent", options.autoIndent ? 1 : 0);
    write(settings, "RunSpeed", options.runSpeed);
    write(settings, "InterruptRestart", options.interruptRestart);
    write(settings, "ImageFill", options.imageChoices.fill);
    write(settings, "ImageFirst", options.imageChoices.first);
    write(settings, "ImageLast", options.imageChoices.last);
    write(settings, "ImageFixedRange", options.imageChoices.fixedRange ? 1 : 0);
    write(settings, "LineNumbers", options.lineNumbers ? 1 : 0);
    write(settings, "LiveRun", options.liveRun ? 1 : 0);
    write(settings, "LiveBudget", QString::number(options.liveBudget));
    write(settings, "WindowGeometry", QString::fromLatin1(options.windowGeometry.toBase64()));
    write(settings, "WindowState", QString::fromLatin1(options.windowState.toBase64()));
    settings.endGroup();
    settings.sync();
}

} // namespace

void writeOptions(QSettings& settings, const StoredOptions& options) {
    writeGroup(settings, options);
    if (settings.status() == QSettings::NoError)
        return;
    // QSettings will not write over a store it could not read or parse; a sound
    // one takes its place.
    QFile::remove(settings.fileName());
    QSettings fresh(settings.fileName(), settings.format());
    writeGroup(fresh, options);
}

QStringList addRecentFile(QStringList recentFiles, const QString& path) {
    // Names are compared as the file system compares them: case matters.
    recentFiles.removeOne(path);
    recentFiles.prepend(path);
    while (recentFiles.size() > maxRecentFiles)
        recentFiles.removeAt(maxRecentFiles);
    return recentFiles;
}
