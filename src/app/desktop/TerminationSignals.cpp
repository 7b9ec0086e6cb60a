#include "app/desktop/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace trevolo {

namespace {

constexpr int Handled[] = {SIGTERM, SIGHUP, SIGINT};

// The write end of the pipe of the object alive, for the handler.
volatile sig_atomic_t g_writeEnd = -1;

struct sigaction g_before[std::size(Handled)];

extern "C" void OnTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    // A full pipe holds enough of them already.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &number, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (g_writeEnd >= 0 || ::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_writeEnd = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::ReadPipe);

    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    m_installed = true;
    for (size_t i = 0; i < std::size(Handled); ++i)
        m_installed = ::sigaction(Handled[i], &action, &g_before[i]) == 0 && m_installed;
}

TerminationSignals::~TerminationSignals()
{
    if (m_pipe[1] < 0)
        return;
    for (size_t i = 0; i < std::size(Handled); ++i)
        ::sigaction(Handled[i], &g_before[i], nullptr);
    g_writeEnd = -1;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void TerminationSignals::ReadPipe()
{
    unsigned char numbers[16];
    for (;;) {
        const ssize_t got = ::read(m_pipe[0], numbers, sizeof numbers);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return;
        for (ssize_t i = 0; i < got; ++i)
            Q_EMIT received(numbers[i]);
    }
}

} // namespace trevolo
