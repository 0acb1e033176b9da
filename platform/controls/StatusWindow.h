#pragma once
// The window of a long job: a status line, a progress bar over 0..100 and a Cancel button under
// them that rejects the dialog. The dialog is modeless.

#include <QString>

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;

namespace zar {

struct StatusWindowParts {
    QLabel* status = nullptr;
    QProgressBar* progress = nullptr;
    QPushButton* cancel = nullptr;
};

// Lays the parts out in the dialog, which owns them.
StatusWindowParts BuildStatusWindow(QDialog& dialog, const QString& title);

}  // namespace zar
