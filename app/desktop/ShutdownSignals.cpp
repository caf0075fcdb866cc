#include "ShutdownSignals.h"

#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace {

constexpr int EndingSignals[] = {SIGTERM, SIGHUP, SIGINT};
int Ends[2] = {-1, -1};  // [0] read by the event loop, [1] written by the handler

void WriteSignalNumber(int signalNumber)
{
    const int savedErrno = errno;
    const char number = static_cast<char>(signalNumber);
    // A full socket already holds a request to end; one more adds nothing.
    [[maybe_unused]] const ssize_t written = ::write(Ends[1], &number, 1);
    errno = savedErrno;
}

}  // namespace

TShutdownSignals::TShutdownSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, Ends) != 0)
        return;  // without the socket the signals keep ending the program at once
    struct sigaction action { };
    action.sa_handler = WriteSignalNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : EndingSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

TShutdownSignals::~TShutdownSignals()
{
    if (Ends[0] < 0)
        return;
    for (const int signalNumber : EndingSignals)
        std::signal(signalNumber, SIG_DFL);
    FNotifier.reset();
    ::close(Ends[0]);
    ::close(Ends[1]);
    Ends[0] = Ends[1] = -1;
}

void TShutdownSignals::OnSignal(std::function<void(int)> handler)
{
    FHandler = std::move(handler);
    if (Ends[0] < 0 || FNotifier)
        return;
    FNotifier = std::make_unique<QSocketNotifier>(Ends[0], QSocketNotifier::Read);
    QObject::connect(FNotifier.get(), &QSocketNotifier::activated, FNotifier.get(), [this] { Deliver(); });
}

void TShutdownSignals::Deliver()
{
    // Several signals in a row ask for one end.
    char first = 0, number = 0;
    while (::read(Ends[0], &number, 1) == 1)
        if (first == 0)
            first = number;
    if (first != 0 && FHandler)
        FHandler(first);
}
