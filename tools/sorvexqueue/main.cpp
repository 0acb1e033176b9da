// SorvexQueue: runs the searches handed to the queue, one at a time, and shows them. A second
// start shows the queue that runs already.

#include "SorvexQueue.h"
#include "SorvexQueueWindow.h"

#include "core/Numbers.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("SorvexQueue"));
    QApplication::setOrganizationName(QStringLiteral("Korvath"));
    zar::UseCNumericLocale();
    zar::CSorvexQueue queue;
    if (!queue.Start()) return 0;
    zar::CSorvexQueueWindow window(queue);
    window.show();
    return QApplication::exec();
}
