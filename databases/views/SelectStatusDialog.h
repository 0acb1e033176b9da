#pragma once
// The "Select Status" dialog: runs one FASTA selection on a worker while it shows the progress
// line and the worker's list of messages. Cancel stops the worker between entries and waits for
// it (the target then stays as it was); once the run has ended the button reads Close.

#include "databases/DatabaseToolWorker.h"
#include "databases/FastaSelection.h"

#include "messages/Messages.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace zar {

class CSelectStatusDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8839;
    static constexpr int kProgressId = 8840;
    static constexpr int kListId = 8827;

    CSelectStatusDialog(const SelectRequest& request, QWidget* parent = nullptr);
    ~CSelectStatusDialog() override;

    // Starts the selection (once); DoModal does it before showing the window.
    void Start();
    int DoModal();
    bool IsRunning() const { return worker_.isBusy() || running_; }
    // Waits for the worker and delivers what it posted.
    void WaitForSelection();
    // The run's result once it has ended.
    SelectResult Result() const { return result_; }

    QLabel* ProgressText() const { return progress_; }
    QListWidget* MessageList() const { return list_; }
    QPushButton* Button() const { return button_; }

  public slots:
    void reject() override;

  protected:
    bool event(QEvent* e) override;

  private:
    SelectRequest request_;
    bool started_ = false;
    bool running_ = false;
    SelectResult result_ = SelectResult::Failed;
    QLabel* progress_;
    QListWidget* list_;
    QPushButton* button_;
    MessageMap messages_;
    CDatabaseToolWorker worker_;
};

}  // namespace zar
