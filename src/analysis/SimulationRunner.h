#pragma once

#include <QObject>
#include <any>
#include <atomic>
#include <functional>

class QThread;

namespace trevolo {

// Runs a simulation on a thread of its own for the thread that owns the
// runner (the window's): one run at a time, a request for other inputs
// stopping the run in progress, which ends within a few milliseconds, and
// starting once it has. Finished comes through the owner's event loop once
// the result for the latest request is there. A derived runner keeps the
// inputs and the result; the run writes only into the runner's own slot, so
// the destructor can stop it and wait for it.
class SimulationRunner : public QObject
{
    Q_OBJECT

public:
    // Stops the run in progress and waits for it.
    ~SimulationRunner() override;

    bool Running() const noexcept { return m_thread != nullptr; }

Q_SIGNALS:
    void Finished();

protected:
    // A run: its output (empty once stop is seen set), on any thread.
    using Run = std::function<std::any(const std::atomic_bool &stop)>;

    explicit SimulationRunner(QObject *parent);

    // Called once a derived runner has noted the inputs asked for: starts
    // their run unless their result is there or their run is in progress.
    void Ask();

private:
    // Whether the result of the inputs last asked for is there.
    virtual bool HasWanted() const = 0;
    // Whether the run in progress is of the inputs last asked for.
    virtual bool RunsWanted() const = 0;
    // Notes the inputs last asked for as those running and gives their run.
    virtual Run StartWanted() = 0;
    // Takes the output of a run that ended with one.
    virtual void Keep(std::any output) = 0;

    void Start();
    void OnThreadFinished();

    QThread *m_thread = nullptr;
    std::atomic_bool m_stop = false;
    // Written by the run, read once its thread has ended.
    std::any m_output;
};

} // namespace trevolo
