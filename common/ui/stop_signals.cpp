#include "common/ui/stop_signals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};
bool g_stopped = false;

// Only what is safe in a signal handler: one byte into the pipe.
void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
}

}  // namespace

namespace common {

bool stopSignalReceived() { return g_stopped; }

void closeOnStopSignals(QWidget& window) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char bytes[16];
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
        }
        g_stopped = true;
        // A message box or dialog still open (an error shown by a close
        // that came before) would keep the program waiting for ever: each
        // closes as cancelled.
        for (int i = 0; i < 8; ++i) {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == &window) break;
            modal->close();
            if (QApplication::activeModalWidget() == modal) break;
        }
        window.close();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

}  // namespace common
