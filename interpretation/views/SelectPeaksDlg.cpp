#include "SelectPeaksDlg.h"

#include "ZarmassPropertySheet.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace zar {

CSelectPeaksDlg::CSelectPeaksDlg(CZarmassPropertySheet* sheet)
    : CDialogBase(kTemplateId, sheet), sheet_(sheet) {
    setWindowTitle(QStringLiteral("Select Peak(s)"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Choose the true peak(s) and then press OK"), this));
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    close_ = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    connect(ok_, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::hide);
    layout->addWidget(buttons);
    AddControl(1, ok_);
    AddControl(2, close_);
    ok_->setEnabled(false);
}

bool CSelectPeaksDlg::OnInitDialog() {
    ok_->setEnabled(false);
    return true;
}

void CSelectPeaksDlg::EnableOK(bool enable) {
    ok_->setEnabled(enable);
}

void CSelectPeaksDlg::OnOK() {
    hide();
    if (sheet_) sheet_->RunSelectedTransform();
}

void CSelectPeaksDlg::showEvent(QShowEvent* event) {
    CDialogBase::showEvent(event);
    if (placementPending_) {
        placementPending_ = false;
        place();
    }
}

void CSelectPeaksDlg::place() {
    auto* owner = sheet_ ? qobject_cast<QWidget*>(sheet_->OwnerWindow()) : nullptr;
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (!owner || !screen) return;
    const QSize size = frameGeometry().size();
    const QRect desktop = screen->availableGeometry();
    const int x = owner->frameGeometry().left() + size.width() / 2;
    const int y = std::min(desktop.bottom() + 1 - size.height(), owner->frameGeometry().top());
    move(x, std::max(desktop.top(), y));
}

}  // namespace zar
