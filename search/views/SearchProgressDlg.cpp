#include "SearchProgressDlg.h"

#include "core/Numbers.h"
#include "document/ZarMessages.h"
#include "messages/Messages.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace zar {

namespace {

// Minutes and seconds of a time, each shown as 0 unless the time is above 0.
QString MinutesSeconds(const char* format, double seconds) {
    const long long whole = static_cast<long long>(seconds);
    const int minutes = seconds > 0.0 ? static_cast<int>(seconds / 60.0) : 0;
    const int rest = seconds > 0.0 ? static_cast<int>(whole % 60) : 0;
    return QCFormat(format, minutes, rest);
}

}  // namespace

CSearchProgressDlg::CSearchProgressDlg(QWidget* owner, bool peptideMapping)
    : QDialog(owner),
      owner_(owner),
      peptideMapping_(peptideMapping),
      dtaText_(new QLabel(QStringLiteral("Create Dta"), this)),
      searchText_(new QLabel(QStringLiteral("Search time"), this)),
      totalText_(new QLabel(QStringLiteral("Total time"), this)),
      remainingText_(new QLabel(QStringLiteral("Remaining time:  0"), this)),
      dtaBar_(new QProgressBar(this)),
      databaseBar_(new QProgressBar(this)),
      filesBar_(new QProgressBar(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setObjectName(QStringLiteral("SearchProgressDlg"));
    auto* layout = new QGridLayout(this);
    int row = 0;
    for (auto [label, bar] : {std::pair<QLabel*, QProgressBar*>{dtaText_, dtaBar_},
                              {searchText_, databaseBar_},
                              {totalText_, filesBar_}}) {
        bar->setTextVisible(false);
        bar->setMinimumWidth(320);
        layout->addWidget(label, row++, 0);
        layout->addWidget(bar, row++, 0);
    }
    layout->addWidget(remainingText_, row++, 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSearchProgressDlg::OnCancel);
    layout->addWidget(buttons, row, 0, Qt::AlignCenter);
    for (QProgressBar* bar : {dtaBar_, databaseBar_, filesBar_}) bar->setRange(0, 100);
}

bool CSearchProgressDlg::Create() {
    setWindowTitle(peptideMapping_ ? QStringLiteral("Peptide Mapping Progress")
                                   : QStringLiteral("TurboSORVEX Progress"));
    databaseBar_->setRange(0, databaseRange_ & 0xFFFF);
    filesBar_->setRange(0, filesRange_ & 0xFFFF);
    SetText(kRemainingTextId, QCFormat("Time remaining: %d m %d s", 0, 0));
    adjustSize();
    // Centred on the window the user works in.
    if (const QWindow* window = QGuiApplication::focusWindow())
        move(window->geometry().center() - rect().center());
    else if (owner_)
        move(owner_->window()->geometry().center() - rect().center());
    return true;
}

void CSearchProgressDlg::SetText(int id, const QString& text) {
    QLabel* label = id == kDtaTextId         ? dtaText_
                    : id == kSearchTextId    ? searchText_
                    : id == kTotalTextId     ? totalText_
                    : id == kRemainingTextId ? remainingText_
                                             : nullptr;
    if (label) label->setText(text);
}

QString CSearchProgressDlg::Text(int id) const {
    const QLabel* label = id == kDtaTextId         ? dtaText_
                          : id == kSearchTextId    ? searchText_
                          : id == kTotalTextId     ? totalText_
                          : id == kRemainingTextId ? remainingText_
                                                   : nullptr;
    return label ? label->text() : QString();
}

QProgressBar* CSearchProgressDlg::Bar(int id) const {
    return id == kDtaBarId        ? dtaBar_
           : id == kDatabaseBarId ? databaseBar_
           : id == kFilesBarId    ? filesBar_
                                  : nullptr;
}

int CSearchProgressDlg::BarValue(int id) const {
    const QProgressBar* bar = Bar(id);
    return bar ? bar->value() : 0;
}

int CSearchProgressDlg::BarMaximum(int id) const {
    const QProgressBar* bar = Bar(id);
    return bar ? bar->maximum() : 0;
}

void CSearchProgressDlg::SetDtaName(QString& name) {
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot < 0) return;
    if (name.size() > 3) name.chop(3);
    SetText(kDtaTextId, QStringLiteral("Create dta - %1").arg(name.mid(dot)));
    ++fileCount_;
}

void CSearchProgressDlg::SetDtaRange(int n) {
    if (n < 1) return;
    dtaRange_ = n;
    dtaBar_->setRange(0, n);
}

void CSearchProgressDlg::SetDtaProgress(int position) {
    dtaBar_->setValue(position == -1 ? dtaRange_ : position);
}

void CSearchProgressDlg::SetFileCount(int n) {
    fileCount_ = n;
    averageSeconds_ = 0.0;
    totalSeconds_ = 0.0;
    searchClock_.invalidate();
}

void CSearchProgressDlg::SetSearchFile(int index) {
    if (filesStarted_ == 0) SetText(kDtaTextId, QStringLiteral("Create dta - Done!"));
    if (!searchClock_.isValid()) searchClock_.start();
    filesStarted_ = index + 1;
    SetText(kSearchTextId, QCFormat("Searching database (%d of %d)", index + 1, fileCount_));
}

void CSearchProgressDlg::SetDatabaseProgress(int n) {
    databasePosition_ = n;
    // Nothing to scale by until the launcher has set the scale.
    if (databaseScale_ == 0) return;
    const double position = static_cast<double>(n) / databaseScale_ * 100.0;
    databaseBar_->setValue(static_cast<std::int16_t>(static_cast<int>(position)));
}

double CSearchProgressDlg::searchSeconds() const {
    // The clock counts once a whole second has passed: before that the reported times stand.
    const double measured = searchClock_.isValid() ? searchClock_.elapsed() / 1000.0 : 0.0;
    return measured >= 1.0 ? std::max(totalSeconds_, measured) : totalSeconds_;
}

void CSearchProgressDlg::FileDone(double seconds) {
    if (seconds == -1.0) {
        filesBar_->setValue(filesRange_);
        SetText(kRemainingTextId, MinutesSeconds("Total time: %d m %d s", searchSeconds()));
        return;
    }
    if (fileCount_ > 0)
        filesBar_->setValue(
            static_cast<int>(static_cast<double>(filesStarted_) / fileCount_ * 100.0));
    totalSeconds_ += seconds;
    if (filesStarted_ < 1) return;
    averageSeconds_ = searchSeconds() / filesStarted_;
    const int left = fileCount_ - filesStarted_;
    const double remaining = averageSeconds_ == 0.0 ? 2.0 * left : averageSeconds_ * left;
    if (remaining < 100.0)
        SetText(kRemainingTextId, QCFormat("Time remaining: %.0lf s", remaining));
    else
        SetText(kRemainingTextId, MinutesSeconds("Time remaining: %d m %d s", remaining));
}

void CSearchProgressDlg::OnCancel() {
    if (owner_)
        PostMessage(owner_, peptideMapping_ ? kMsgMassmapReshowSheet : kMsgSorvexReshowSheet, 0, 0);
    QDialog::reject();
}

}  // namespace zar
