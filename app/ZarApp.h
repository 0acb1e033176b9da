#pragma once
// The application: start-up in its order, the command line, File New and Open, page setup,
// About and help.

#include "ZarCommandLine.h"

#include <QPageLayout>
#include <QString>

#include <memory>

class QWidget;
class QPrinter;

namespace zar {

class CZarDoc;
class CMainFrame;

class CZarApp {
public:
    CZarApp();
    ~CZarApp();
    static CZarApp* Instance();

    // Start-up; false ends the program before the window is shown (command-line switches
    // that end it, a failed File New).
    bool InitInstance(const QStringList& arguments);
    bool ProcessCommandLine(CZarCommandLineInfo& info);
    // Removes the plotting server's registration.
    bool Unregister();

    void OnFileNew();
    void OnFileOpen();
    void OnFilePageSetup();
    void OnAppAbout();

    CZarDoc* GetDocument() const { return doc_.get(); }
    CMainFrame* GetMainFrame() const { return frame_.get(); }
    QPrinter* GetPrinter();
    // Page margins in thousandths of an inch: left, top, right, bottom.
    const int* Margins() const { return margins_; }

private:
    std::unique_ptr<CZarDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<QPrinter> printer_;
    int margins_[4] = {500, 750, 250, 500};
};

// The help context of the program's own help (its contents page).
constexpr int kHelpContentsId = 9201;
// The help page of a context id (a dialog's id is its help context); empty when there is none.
QString HelpPagePath(int id);
// Opens the program's help page for a context id when there is one, and says so when not.
bool ShowContextHelp(QWidget* window, int id);
bool ShowHelpContents(QWidget* window);
// The folder of the program's help pages.
QString HelpFolder();
// Starts a program of the program folder without waiting.
bool StartDetachedProgram(const QString& path);
// The path of the plotting server beside the program.
QString PlotServerPath();
// Registers the plotting server library for this user (what its DllRegisterServer writes) when a
// class of it is not registered or names another library. False when it is not registered now.
bool EnsurePlotServerRegistered(const QString& library);
// The printer every print job and page set-up of the program uses (the application's; one of
// the process when no application runs).
QPrinter& ProgramPrinter();

}  // namespace zar
