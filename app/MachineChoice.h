#pragma once

// The machine the document's program runs on: chosen in Run > Machine, with
// the ROM image of a machine that has one and the RAM of one whose memory can
// be chosen, and kept per file. The debugger and
// Live Run run on it, and a panel of the status bar names it.

#include <QObject>
#include <QString>

#include <vector>

class QAction;
class QLabel;
class QMenu;
class QSettings;
class QWidget;
class TDebugSession;
class TLiveSession;
struct MachineDescription;

class TMachineChoice : public QObject {
    Q_OBJECT
  public:
    // Messages go to `messages`; the file dialog opens over `window`.
    TMachineChoice(QWidget& window, TDebugSession& debugging, TLiveSession& live, QSettings& settings,
                   QLabel& messages);

    // Run > Machine: a choice of each machine, then the ROM image's commands.
    void BuildMenu(QMenu* run);
    // The status bar's panel that names the machine.
    QLabel* Panel() const { return panel; }

    // `path` is the document now (empty for an untitled one): its own machine and ROM image.
    void OpenDocument(const QString& path);
    // The document was saved as `path`: its machine goes with it.
    void SavedAs(const QString& path);

    // Runs the document's program on `machine` from now on, with the ROM image
    // at `romPath` (none when empty); false, with the reason said, when that
    // image cannot be read or does not fit: the machine is then without one.
    bool Choose(const MachineDescription& machine, const QString& romPath);
    const MachineDescription& Machine() const { return *machine; }

  private:
    void chooseRomImage();
    bool readRom(const QString& path, std::vector<std::uint8_t>& image, QString& reason);
    void remember();
    void showChoice();

    QWidget& window;
    TDebugSession& debugging;
    TLiveSession& live;
    QSettings& settings;
    QLabel& messages;
    QLabel* panel;
    QList<QAction*> machineItems;
    QAction* RomImage1 = nullptr;
    QAction* NoRomImage1 = nullptr;
    QMenu* Memory1 = nullptr;
    QList<QAction*> memoryItems;
    QString document;
    const MachineDescription* machine;
    QString romPath;
};
