#include "gui/GuiMessageBox.h"

#include "core/MessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QThread>

#include <vector>

namespace zar {
namespace {

// The window the user last worked in: a box that comes later (a worker's report, a message
// after the web browser took the focus) finds no active window.
QPointer<QWidget>& lastActiveWindow() {
    static QPointer<QWidget> window;
    return window;
}

bool canOwn(const QWidget* w) {
    if (!w || !w->isVisible() || w->isMinimized()) return false;
    const Qt::WindowType type = w->windowType();
    return type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen;
}

// The window that the box belongs to: the active one, else the one last active, else a visible
// main window. An owned box stays in front of its owner under a window manager; one without an
// owner may come up behind it. The box must outlive its owner's window, and a modeless dialog (a
// status dialog that a posted message deletes at the end of its work) may go while the box waits
// for the user: a dialog's box belongs to the window the dialog belongs to.
QWidget* ownerWindow() {
    QWidget* w = QApplication::activeWindow();
    if (!canOwn(w)) w = lastActiveWindow();
    if (!canOwn(w)) {
        w = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (canOwn(top) && top->inherits("QMainWindow") && !top->parentWidget()) {
                w = top;
                break;
            }
    }
    while (qobject_cast<QDialog*>(w) && w->parentWidget()) w = w->parentWidget()->window();
    return w;
}

void followActiveWindow(QApplication& app) {
    static bool following = false;
    if (following) return;
    following = true;
    QObject::connect(&app, &QApplication::focusChanged, &app, [](QWidget*, QWidget* now) {
        if (now && !qobject_cast<QMessageBox*>(now->window())) lastActiveWindow() = now->window();
    });
}

int showBox(const MessageBoxRequest& r) {
    QPointer<QMessageBox> box = new QMessageBox(ownerWindow());
    box->setWindowTitle(r.title.isEmpty() ? QApplication::applicationName() : r.title);
    box->setText(r.text);
    switch (r.style & MB_ICONMASK) {
        case MB_ICONERROR: box->setIcon(QMessageBox::Critical); break;
        case MB_ICONQUESTION: box->setIcon(QMessageBox::Question); break;
        case MB_ICONINFORMATION: box->setIcon(QMessageBox::Information); break;
        default: box->setIcon(QMessageBox::Warning); break;
    }
    struct Button {
        QMessageBox::StandardButton button;
        int answer;
    };
    std::vector<Button> buttons;
    switch (r.style & MB_TYPEMASK) {
        case MB_OKCANCEL: buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
        case MB_ABORTRETRYIGNORE:
            buttons = {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
            break;
        case MB_YESNOCANCEL:
            buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        case MB_YESNO: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
        case MB_RETRYCANCEL: buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}; break;
        default: buttons = {{QMessageBox::Ok, IDOK}}; break;
    }
    QMessageBox::StandardButtons set;
    for (const Button& b : buttons) set |= b.button;
    box->setStandardButtons(set);
    box->setDefaultButton(buttons.front().button);
    // In front of its owner and given the focus, also when the program is not the active one.
    box->show();
    box->raise();
    box->activateWindow();
    const int pressed = box->exec();
    // Its window closed under it (the program is ending): nobody answered.
    if (!box) return DefaultAnswer(r.style);
    delete box.data();
    for (const Button& b : buttons)
        if (b.button == pressed) return b.answer;
    // Closed with Escape or the title bar: Cancel where there is one, else the first button.
    for (const Button& b : buttons)
        if (b.answer == IDCANCEL || b.answer == IDNO) return b.answer;
    return buttons.front().answer;
}

}  // namespace

void InstallGuiMessageBox() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        followActiveWindow(*app);
    SetMessageBoxHandler([](const MessageBoxRequest& r) {
        QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        if (!app) return DefaultAnswer(r.style);
        if (QThread::currentThread() == app->thread()) return showBox(r);
        // A worker that only reports does not wait for the user: a window joining that worker
        // at the same moment would otherwise wait for it forever.
        if ((r.style & MB_TYPEMASK) == MB_OK) {
            QMetaObject::invokeMethod(app, [r] { showBox(r); }, Qt::QueuedConnection);
            return static_cast<int>(IDOK);
        }
        int answer = DefaultAnswer(r.style);
        QMetaObject::invokeMethod(app, [&] { answer = showBox(r); }, Qt::BlockingQueuedConnection);
        return answer;
    });
}

}  // namespace zar
