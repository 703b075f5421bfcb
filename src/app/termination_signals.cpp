#include "app/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>

namespace quendra {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

int wakeUp[2] = {-1, -1}; // the pipe: [0] read by the event loop, [1] written by the handler

void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // Non-blocking: with the pipe full, the event loop has been told already.
    [[maybe_unused]] const ssize_t written = ::write(wakeUp[1], &byte, 1);
    errno = saved;
}

} // namespace

void closeOnTerminationSignals(QWidget* window) {
    if (wakeUp[0] >= 0 || ::pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window,
                     [window = QPointer<QWidget>(window)] {
                         char bytes[16];
                         while (::read(wakeUp[0], bytes, sizeof bytes) > 0) {
                         }
                         if (window)
                             window->close();
                     });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // Handled once: a second signal while the window has not closed yet ends the program.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace quendra
