#pragma once

#include <QObject>

class QSocketNotifier;

namespace trevolo {

// SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, Ctrl+C, kill)
// turned into a Qt signal on the thread that made the object. The handler
// only writes the signal's number to a pipe, which is all a handler may
// safely do; the event loop reads it from there. While the object lives it
// owns those three signals; afterwards they are as before.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

    // False when the pipe or a handler could not be set up: the signals
    // then end the program as they would without this object.
    bool Installed() const { return m_installed; }

Q_SIGNALS:
    // One of the three arrived (its number); as often as they arrive.
    void received(int signalNumber);

private:
    void ReadPipe();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
    bool m_installed = false;
};

} // namespace trevolo
