#include "SpecToolBar.h"

#include <QAction>
#include <QStyle>

namespace zar {

CSpecToolBar::CSpecToolBar(QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("CSpecToolBar"));
    setIconSize(QSize(16, 15));
    setMovable(false);
    previous_ =
        addAction(style()->standardIcon(QStyle::SP_ArrowLeft), QStringLiteral("Previous Scan"));
    previous_->setToolTip(QStringLiteral("Show previous scan"));
    previous_->setStatusTip(QStringLiteral("Show previous scan"));
    next_ = addAction(style()->standardIcon(QStyle::SP_ArrowRight), QStringLiteral("Next Scan"));
    next_->setToolTip(QStringLiteral("Show next scan"));
    next_->setStatusTip(QStringLiteral("Show next scan"));
    connect(previous_, &QAction::triggered, this, [this] { emit commandTriggered(kPreviousScan); });
    connect(next_, &QAction::triggered, this, [this] { emit commandTriggered(kNextScan); });
}

QAction* CSpecToolBar::Button(int command) const {
    if (command == kPreviousScan) return previous_;
    if (command == kNextScan) return next_;
    return nullptr;
}

bool CSpecToolBar::OnIdleUpdateCmdUI(const std::function<bool(int)>& enabled) {
    if (!isVisible() || !parentWidget() || !enabled) return false;
    previous_->setEnabled(enabled(kPreviousScan));
    next_->setEnabled(enabled(kNextScan));
    return true;
}

}  // namespace zar
