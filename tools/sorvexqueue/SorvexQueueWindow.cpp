#include "SorvexQueueWindow.h"

#include "SorvexQueue.h"

#include "core/Paths.h"

#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>

#include <algorithm>

namespace zar {

namespace {

const char* const kColumns[] = {"Priority",          "State",    "Raw File", "Database",
                                "Results Directory", "Submitted"};

}  // namespace

CSorvexQueueWindow::CSorvexQueueWindow(CSorvexQueue& queue, QWidget* parent)
    : QMainWindow(parent),
      queue_(queue),
      table_(new QTableWidget(this)),
      status_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("SORVEX Queue"));
    setObjectName(QStringLiteral("SorvexQueueWindow"));
    table_->setColumnCount(static_cast<int>(std::size(kColumns)));
    QStringList titles;
    for (const char* title : kColumns) titles << QString::fromLatin1(title);
    table_->setHorizontalHeaderLabels(titles);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    setCentralWidget(table_);
    statusBar()->addWidget(status_, 1);
    resize(860, 320);
    connect(&queue_, &CSorvexQueue::JobsChanged, this, &CSorvexQueueWindow::Refresh);
    connect(&queue_, &CSorvexQueue::ShowRequested, this, [this] {
        show();
        raise();
        activateWindow();
    });
    Refresh();
}

void CSorvexQueueWindow::Refresh() {
    // The running job first, then the waiting ones in the order they will run, then the rest.
    std::vector<const SorvexQueueJob*> jobs;
    for (const SorvexQueueJob& job : queue_.Jobs()) jobs.push_back(&job);
    auto rank = [](const SorvexQueueJob& job) {
        switch (job.state) {
            case SorvexQueueJob::State::Running:
                return 0;
            case SorvexQueueJob::State::Waiting:
                return 1;
            default:
                return 2;
        }
    };
    std::stable_sort(jobs.begin(), jobs.end(),
                     [&](const SorvexQueueJob* a, const SorvexQueueJob* b) {
                         if (rank(*a) != rank(*b)) return rank(*a) < rank(*b);
                         return rank(*a) == 1 && RunsBefore(*a, *b);
                     });
    table_->setRowCount(static_cast<int>(jobs.size()));
    for (int row = 0; row < static_cast<int>(jobs.size()); ++row) {
        const SorvexQueueJob& job = *jobs[static_cast<size_t>(row)];
        QString state = SorvexQueueJob::StateText(job.state);
        if (job.state == SorvexQueueJob::State::Running && queue_.RunningFile() > 0)
            state += QStringLiteral(" (file %1, %2 %)")
                         .arg(queue_.RunningFile())
                         .arg(queue_.RunningPercent());
        if (!job.note.isEmpty()) state += QStringLiteral(": ") + job.note;
        const QString cells[] = {job.priority.isEmpty() ? QStringLiteral("Normal") : job.priority,
                                 state,
                                 FileNameOf(job.rawFile),
                                 FileNameOf(job.databasePath),
                                 job.resultsDirectory,
                                 job.submitted.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))};
        for (int column = 0; column < static_cast<int>(std::size(cells)); ++column)
            table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    table_->resizeColumnsToContents();
    const auto waiting = std::count_if(jobs.begin(), jobs.end(), [](const SorvexQueueJob* j) {
        return j->state == SorvexQueueJob::State::Waiting;
    });
    status_->setText(queue_.RunningJob() ? QStringLiteral("Searching; %1 waiting").arg(waiting)
                                         : QStringLiteral("Idle; %1 waiting").arg(waiting));
}

}  // namespace zar
