#pragma once

// Live Run: the program of the editor's text run through after each assembly
// without errors, its figures beside the lines and its output, ending and
// time in the Live pane; edited text drops a run under way at once. The keys
// typed to the program are kept per file, the budget and the choice itself
// with the options.

#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

struct MachineDescription;

class QAction;
class QMainWindow;
class QMenu;
class QSettings;
class TBrenvik;
class TLivePane;
class TLiveRunner;

class TLiveSession : public QObject {
    Q_OBJECT
  public:
    // The pane docks in `window`, hidden until Live Run is first turned on.
    TLiveSession(QMainWindow& window, TBrenvik& editor, QSettings& settings);

    // Live Run in the Run menu; the pane in the View menu.
    void BuildMenus(QMenu* run, QMenu* view);

    bool IsOn() const;
    void SetOn(bool on);
    std::uint64_t GetBudget() const;
    void SetBudget(std::uint64_t states);

    // `path` is the document now (empty for an untitled one): its own keys take the pane.
    void OpenDocument(const QString& path);
    // The document was saved as `path`: the keys typed go with it.
    void SavedAs(const QString& path);
    // The machine the document's program runs on, and its ROM image.
    void SetMachine(const MachineDescription& description, const std::vector<std::uint8_t>& image);

    TLivePane* Pane() const { return pane; }
    TLiveRunner& Runner() const { return *runner; }
    QAction* LiveRun1 = nullptr;

  Q_SIGNALS:
    // New figures beside the lines, or none any more.
    void OnFigures();

  private:
    void start();
    void edited();
    void inputEdited();

    TBrenvik& editor;
    QSettings& settings;
    TLiveRunner* runner;
    TLivePane* pane;
    QString document;
    const MachineDescription* machine;
    std::vector<std::uint8_t> rom;
};
