#include "analysis/SimulationRunner.h"

#include <QThread>
#include <utility>

namespace trevolo {

SimulationRunner::SimulationRunner(QObject *parent) : QObject(parent) {}

SimulationRunner::~SimulationRunner()
{
    if (m_thread) {
        m_stop = true;
        m_thread->wait();
        delete m_thread;
    }
}

void SimulationRunner::Ask()
{
    if (HasWanted())
        return;
    if (m_thread) {
        if (!RunsWanted())
            m_stop = true;
        return;
    }
    Start();
}

void SimulationRunner::Start()
{
    m_stop = false;
    m_output.reset();
    m_thread = QThread::create([this, run = StartWanted()] {
        // Nothing may leave the thread: a failed run leaves no output.
        try {
            m_output = run(m_stop);
        } catch (...) {
            m_output.reset();
        }
    });
    connect(m_thread, &QThread::finished, this, &SimulationRunner::OnThreadFinished);
    m_thread->start(QThread::LowPriority);
}

void SimulationRunner::OnThreadFinished()
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    const bool stopped = m_stop;
    if (m_output.has_value())
        Keep(std::exchange(m_output, {}));
    if (HasWanted())
        Q_EMIT Finished();
    else if (stopped) // a run that failed on its own is not tried again
        Start();
}

} // namespace trevolo
