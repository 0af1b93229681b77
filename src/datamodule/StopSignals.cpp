#include "StopSignals.h"

#include <QCoreApplication>

#include <utility>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler only writes a byte; the notifier reads it in the event loop.
int g_pipe[2] = {-1, -1};
std::function<void()> g_closeWindows;

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &byte, 1);
}

void installHandlers()
{
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &action, nullptr);
}

// QCoreApplication::quit does nothing before the main loop runs, so the
// windows are closed first: a box shown at start-up returns, and the start
// ends as it does when the user closes the box.
void stop()
{
    char byte;
    [[maybe_unused]] ssize_t n = ::read(g_pipe[0], &byte, 1);
    if (g_closeWindows)
        g_closeWindows();
    QCoreApplication::quit();
}

} // namespace

void quitOnStopSignals(std::function<void()> closeWindows)
{
    g_closeWindows = std::move(closeWindows);
    if (g_pipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { stop(); });
    installHandlers();
}

void reclaimStopSignals()
{
    if (g_pipe[0] >= 0)
        installHandlers();
}
#else
void quitOnStopSignals(std::function<void()>) {}
void reclaimStopSignals() {}
#endif
