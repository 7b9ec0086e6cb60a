#include "app/memo/DocumentDisposer.h"

#include <QTextDocument>
#include <QThread>

namespace trevolo {

DocumentDisposer::DocumentDisposer() = default;

DocumentDisposer::~DocumentDisposer()
{
    if (!m_worker)
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_worker->wait();
}

void DocumentDisposer::Dispose(QTextDocument *document)
{
    if (!m_worker) {
        m_worker.reset(QThread::create([this] { Work(); }));
        m_worker->setObjectName(QStringLiteral("DocumentDisposer"));
        m_worker->start(QThread::LowPriority);
    }
    // Deleted where it lives: on the worker.
    document->moveToThread(m_worker.get());
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(document);
    }
    m_wake.notify_one();
}

void DocumentDisposer::Work()
{
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty())
            return; // stopping, and nothing left
        QTextDocument *document = m_queue.front();
        m_queue.pop_front();
        lock.unlock();
        delete document;
    }
}

} // namespace trevolo
