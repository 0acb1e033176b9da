#include "SelectStatusDialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zar {

CSelectStatusDialog::CSelectStatusDialog(const SelectRequest& request, QWidget* parent)
    : QDialog(parent),
      request_(request),
      progress_(new QLabel(QStringLiteral("Progress"), this)),
      list_(new QListWidget(this)),
      button_(new QPushButton(QStringLiteral("&Cancel"), this)),
      worker_(this) {
    setWindowTitle(QStringLiteral("Select Status"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(progress_);
    list_->setMinimumSize(460, 220);
    layout->addWidget(list_, 1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(button_);
    row->addStretch();
    layout->addLayout(row);
    connect(button_, &QPushButton::clicked, this, &CSelectStatusDialog::reject);

    messages_.on(dbmsg::StatusTextMessage(), [this](const Message& m) {
        if (const QString* text = m.payloadAs<QString>()) progress_->setText(*text);
        return 0;
    });
    messages_.on(dbmsg::ListLineMessage(), [this](const Message& m) {
        if (const QString* text = m.payloadAs<QString>()) {
            list_->addItem(*text);
            list_->scrollToBottom();
        }
        return 0;
    });
    messages_.on(dbmsg::WorkDoneMessage(), [this](const Message& m) {
        if (const SelectResult* result = m.payloadAs<SelectResult>()) result_ = *result;
        worker_.wait();
        running_ = false;
        button_->setText(QStringLiteral("&Close"));
        return 0;
    });
}

CSelectStatusDialog::~CSelectStatusDialog() {
    worker_.cancel();
    worker_.wait();
}

void CSelectStatusDialog::Start() {
    if (started_) return;
    started_ = true;
    button_->setText(QStringLiteral("&Cancel"));
    list_->clear();
    running_ = worker_.startSelection(request_);
}

int CSelectStatusDialog::DoModal() {
    Start();
    return exec();
}

void CSelectStatusDialog::WaitForSelection() {
    worker_.wait();
    QCoreApplication::sendPostedEvents(this);
}

void CSelectStatusDialog::reject() {
    // The worker reads the request and posts to this window: it ends before the window does.
    if (IsRunning()) {
        worker_.cancel();
        WaitForSelection();
    }
    QDialog::reject();
}

bool CSelectStatusDialog::event(QEvent* e) {
    if (messages_.handleEvent(e)) return true;
    return QDialog::event(e);
}

}  // namespace zar
