#pragma once

// The live run in the editor: the program run through after a clean assembly,
// in slices between the window's events, so that typing never waits for it
// and a new edit can drop it at once. It has a runner of its own: the
// debugger's session never sees it.

#include "LiveRun.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

class TLiveRunner : public QObject {
    Q_OBJECT
  public:
    explicit TLiveRunner(QObject* parent = nullptr);

    // Drops a run under way and starts `program` afresh, on `machine` with its ROM image.
    void Start(const Program& program, std::uint64_t budget, const std::string& keys,
               const MachineDescription& machine, const std::vector<std::uint8_t>& rom);
    // Drops a run under way; nothing of it is told.
    void Abandon();
    bool IsRunning() const { return run.has_value(); }

  Q_SIGNALS:
    void OnFinished(std::shared_ptr<const LiveResult> result);

  private:
    void slice();

    std::optional<LiveRun> run;
    QTimer sliceTimer;
};
