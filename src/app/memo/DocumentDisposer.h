#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

class QTextDocument;
class QThread;

namespace trevolo {

// Deletes the documents a memo lets go on one worker thread of its own, in
// the order they come: a long document takes a while to delete, which the
// window should not wait for. The worker starts with the first document and
// is joined when the disposer goes, after it has deleted every document
// handed over, so nothing is still being deleted once the memo is gone.
class DocumentDisposer
{
public:
    DocumentDisposer();
    ~DocumentDisposer();
    DocumentDisposer(const DocumentDisposer &) = delete;
    DocumentDisposer &operator=(const DocumentDisposer &) = delete;

    // Takes over `document`, which has no parent and lives in this thread.
    void Dispose(QTextDocument *document);

private:
    void Work();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<QTextDocument *> m_queue;
    bool m_stopping = false;
    std::unique_ptr<QThread> m_worker;
};

} // namespace trevolo
