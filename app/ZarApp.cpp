#include "ZarApp.h"

#include "MainFrame.h"
#include "RegisteredMessages.h"
#include "ZarDoc.h"
#include "com/ComError.h"
#include "com/ComRegistry.h"
#include "core/Log.h"
#include "core/MessageBox.h"
#include "core/Paths.h"
#include "document/ChildProcess.h"
#include "document/Settings.h"
#include "fileio/VXCore.h"
#include "gui/Shell.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QVBoxLayout>

namespace zar {
namespace {
CZarApp* gApp = nullptr;
}

CZarApp::CZarApp() {
    gApp = this;
    ProgramMessages();  // the child programs' messages are known before anything runs
}

CZarApp::~CZarApp() {
    frame_.reset();
    doc_.reset();
    if (gApp == this) gApp = nullptr;
}

CZarApp* CZarApp::Instance() { return gApp; }

bool CZarApp::InitInstance(const QStringList& arguments) {
    CZarCommandLineInfo info;
    info.arguments = arguments;
    if (!ProcessCommandLine(info)) {
        frame_.reset();
        doc_.reset();
        return false;
    }
    frame_->show();
    QString data;
    if (GetVeltrixCoreDataPath(data)) QDir::setCurrent(data);
    return true;
}

bool CZarApp::ProcessCommandLine(CZarCommandLineInfo& info) {
    info.Parse();
    if (info.unregisterFlag) {
        Unregister();
        return false;
    }
    // Another user, or another settings folder, may not know the plotting server yet.
    EnsurePlotServerRegistered(PlotServerPath());
    if (info.valid && info.action == 0) OnFileNew();
    if (!frame_) {
        if (info.verboseFlag) ZarMessageBox(QStringLiteral("CmdLine: the File | New operation failed."));
        return false;
    }
    return !(info.pFlag || info.qFlag);
}

QString PlotServerPath() { return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("ZAR_Plot.so")); }

bool EnsurePlotServerRegistered(const QString& library) {
    const QString wanted = QFileInfo(library).canonicalFilePath();
    if (wanted.isEmpty()) return false;  // no server beside the program
    bool current = true;
    for (const ZAR_PLOTLib::CoclassInfo& c : ZAR_PLOTLib::kCoclasses) {
        CLSID clsid;
        if (FAILED(CLSIDFromProgID(QString::fromUtf16(c.progId), &clsid)) ||
            QFileInfo(InprocServerPath(clsid)).canonicalFilePath() != wanted) {
            current = false;
            break;
        }
    }
    if (current) return true;
    const HRESULT hr = RegisterServerLibrary(wanted, false);
    if (FAILED(hr)) LogLine(QStringLiteral("registering the plotting server failed: ") + HResultText(hr));
    return SUCCEEDED(hr);
}

bool CZarApp::Unregister() { return SUCCEEDED(RegisterServerLibrary(PlotServerPath(), true)); }

void CZarApp::OnFileNew() {
    if (!doc_) doc_ = std::make_unique<CZarDoc>();
    if (!frame_) frame_ = std::make_unique<CMainFrame>(doc_.get());
    doc_->OnNewDocument();
}

void CZarApp::OnFileOpen() {
    QString folder;
    GetVeltrixCoreDataPath(folder);
    const QString path = QFileDialog::getOpenFileName(
        frame_.get(), QString(), folder,
        QStringLiteral("Run Files (*.mzML *.mzml *.mzXML *.mzxml *.mgf *.MGF);;All Files (*)"));
    if (path.isEmpty() || !frame_) return;
    frame_->OpenRun(path);
    frame_->UpdateCommandUI();
}

QPrinter* CZarApp::GetPrinter() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageMargins(QMarginsF(margins_[0] / 1000.0, margins_[1] / 1000.0, margins_[2] / 1000.0,
                                           margins_[3] / 1000.0),
                                 QPageLayout::Inch);
    }
    return printer_.get();
}

QPrinter& ProgramPrinter() {
    if (CZarApp* app = CZarApp::Instance()) return *app->GetPrinter();
    static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
    return *printer;
}

void CZarApp::OnFilePageSetup() {
    QPageSetupDialog dialog(GetPrinter(), frame_.get());
    if (dialog.exec() != QDialog::Accepted) return;
    const QMarginsF m = GetPrinter()->pageLayout().margins(QPageLayout::Inch);
    margins_[0] = static_cast<int>(m.left() * 1000 + 0.5);
    margins_[1] = static_cast<int>(m.top() * 1000 + 0.5);
    margins_[2] = static_cast<int>(m.right() * 1000 + 0.5);
    margins_[3] = static_cast<int>(m.bottom() * 1000 + 0.5);
}

void CZarApp::OnAppAbout() {
    QDialog about(frame_.get());
    about.setWindowTitle(QStringLiteral("About Zarvik Browser"));
    auto* box = new QVBoxLayout(&about);
    auto* name = new QLabel(QStringLiteral("ZarvikBrowser ") + GetVersionString(), &about);
    name->setObjectName(QStringLiteral("AboutVersion"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* notice = new QLabel(GetAboutNoticeText(), &about);
    notice->setObjectName(QStringLiteral("AboutNotice"));
    notice->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
    box->addWidget(name);
    box->addWidget(notice);
    box->addWidget(buttons);
    about.exec();
}

QString HelpFolder() {
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help"));
    if (QFileInfo::exists(beside)) return beside;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/zarvikbrowser/help"));
}

QString HelpPagePath(int id) {
    // The program's own help command opens the contents; every other id has a page of its number.
    const QString name = id == kHelpContentsId ? QStringLiteral("index.html")
                                               : QStringLiteral("%1.html").arg(id);
    const QString page = QDir(HelpFolder()).filePath(name);
    return QFileInfo(page).isFile() ? page : QString();
}

bool ShowContextHelp(QWidget* window, int id) {
    const QString page = HelpPagePath(id);
    if (page.isEmpty()) {
        ZarMessageBox(QStringLiteral("There is no help page for this item (help id %1).").arg(id),
                      MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return OpenWithShell(page, window);
}

bool ShowHelpContents(QWidget* window) {
    const QString page = HelpPagePath(kHelpContentsId);
    if (page.isEmpty()) {
        ZarMessageBox(QStringLiteral("The help pages are not installed."), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return OpenWithShell(page, window);
}

bool StartDetachedProgram(const QString& path) { return StartProcess(QStringLiteral("\"%1\"").arg(path), false); }

}  // namespace zar
