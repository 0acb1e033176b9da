#include "StatusWindow.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zar {

StatusWindowParts BuildStatusWindow(QDialog& dialog, const QString& title) {
    dialog.setWindowTitle(title);
    dialog.setModal(false);
    StatusWindowParts parts;
    parts.status = new QLabel(&dialog);
    parts.status->setMinimumWidth(320);
    parts.progress = new QProgressBar(&dialog);
    parts.progress->setRange(0, 100);
    parts.progress->setValue(0);
    parts.cancel = new QPushButton(QStringLiteral("&Cancel"), &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(parts.status);
    layout->addWidget(parts.progress);
    layout->addWidget(parts.cancel, 0, Qt::AlignHCenter);
    QObject::connect(parts.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return parts;
}

}  // namespace zar
