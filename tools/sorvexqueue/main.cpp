// SorvexQueue: runs the searches handed to the queue, one at a time, and shows them. A second
// start shows the queue that runs already.

#include "SorvexQueue.h"
#include "SorvexQueueWindow.h"

#include "core/Numbers.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace {

// The end of a pair of sockets that a signal writes to: the queue then ends as from its window,
// ending its running search with it.
int gSignalWriter = -1;

void OnEndSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSignalWriter, &byte, 1);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("SorvexQueue"));
    QApplication::setOrganizationName(QStringLiteral("Korvath"));
    zar::UseCNumericLocale();
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) return 1;
    gSignalWriter = pair[0];
    QSocketNotifier ending(pair[1], QSocketNotifier::Read);
    QObject::connect(&ending, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);

    zar::CSorvexQueue queue;
    if (!queue.Start()) return 0;
    zar::CSorvexQueueWindow window(queue);
    window.show();
    return QApplication::exec();
}
