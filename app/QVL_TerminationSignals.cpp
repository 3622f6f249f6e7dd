#include "app/QVL_TerminationSignals.h"

#include "core/QVL_Error.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> handled = {SIGTERM, SIGINT, SIGHUP};
// Written by the handler; only async-signal-safe calls may touch it there.
volatile sig_atomic_t writeEnd = -1;
std::array<struct sigaction, handled.size()> previous{};

extern "C" void onTerminationSignal(int signal)
{
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    if (writeEnd >= 0) {
        const ssize_t written = ::write(writeEnd, &number, 1);
        static_cast<void>(written); // a full pipe already holds a request to end
    }
    errno = savedErrno;
}

} // namespace

TQVL_TerminationSignals::TQVL_TerminationSignals(std::function<void(int signal)> onSignal)
    : OnSignal(std::move(onSignal))
{
    if (writeEnd >= 0)
        throw TQVL_Error(QStringLiteral("termination signals already handled"));
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw TQVL_Error(QStringLiteral("cannot create the signal pipe"));
    writeEnd = pipeEnds[1];
    notifier = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(), [this] { readPipe(); });
    struct sigaction action
    {
    };
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < handled.size(); ++i)
        ::sigaction(handled[i], &action, &previous[i]);
}

TQVL_TerminationSignals::~TQVL_TerminationSignals()
{
    for (std::size_t i = 0; i < handled.size(); ++i)
        ::sigaction(handled[i], &previous[i], nullptr);
    writeEnd = -1;
    notifier.reset();
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
}

void TQVL_TerminationSignals::readPipe()
{
    unsigned char numbers[16];
    for (;;) {
        const ssize_t got = ::read(pipeEnds[0], numbers, sizeof numbers);
        if (got <= 0)
            break;
        for (ssize_t i = 0; i < got; ++i)
            if (OnSignal)
                OnSignal(numbers[i]);
    }
}
