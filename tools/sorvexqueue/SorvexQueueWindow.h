#pragma once
// The SORVEX Queue's window: the jobs in the order they run, with their state and, for the job
// that runs, how far its search is.

#include <QMainWindow>

class QLabel;
class QTableWidget;

namespace zar {

class CSorvexQueue;

class CSorvexQueueWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit CSorvexQueueWindow(CSorvexQueue& queue, QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }
    void Refresh();

  private:
    CSorvexQueue& queue_;
    QTableWidget* table_;
    QLabel* status_;
};

}  // namespace zar
