#include "ResultsFormView.h"

#include "ResultsWindow.h"
#include "gui/PrintJob.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPrintDialog>
#include <QPrinter>
#include <QThread>

#include <map>

namespace zar {
namespace {

std::map<int, ResultsFormViewMaker>& Makers() {
    static std::map<int, ResultsFormViewMaker> makers;
    return makers;
}

}  // namespace

CResultsFormView::CResultsFormView(CResultsWindow* owner, QWidget* parent)
    : QWidget(parent), owner_(owner) {}

void CResultsFormView::SetTitle(const QString& title) {
    title_ = title;
    if (owner_) owner_->UpdateTitle();
}

bool ProcessEventsWhile(const std::function<bool()>& busy, int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (busy()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

bool ChooseReportPrinter(QPrinter& printer, QWidget* parent, const QString& documentName) {
    printer.setDocName(documentName);
    PrepareOutputFile(printer, documentName);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    return dialog.exec() == QDialog::Accepted;
}

void RegisterResultsFormView(int viewType, ResultsFormViewMaker maker) {
    Makers()[viewType] = std::move(maker);
}

ResultsFormViewMaker FindResultsFormView(int viewType) {
    const auto it = Makers().find(viewType);
    return it == Makers().end() ? ResultsFormViewMaker() : it->second;
}

}  // namespace zar
