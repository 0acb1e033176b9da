#pragma once
// The main window's side of searching: it makes the Sorvex and the Massmap launchers on demand
// and ends them, shows the Dta dialog, hands the registered messages of the outside programs
// and the launchers' private messages to the launcher they belong to, and opens the results of
// a search that ended. One lives with the main window.

#include "DtaCreateDialog.h"

#include "messages/Messages.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace zar {

class CMainFrame;
class CMassmapLauncher;
class CSorvexLauncher;

inline constexpr const char* kSearchRunningOnExitText =
    "A search is running.\nEnd the search and exit?";

class CSearchLaunchers : public QObject {
    Q_OBJECT
  public:
    explicit CSearchLaunchers(CMainFrame& frame);
    ~CSearchLaunchers() override;

    // The one of the main window, when there is one.
    static CSearchLaunchers* Of(const CMainFrame& frame);

    void StartSorvexSearch();
    void StartPeptideMapping();
    void ShowSorvexDta();
    void EndSorvexLauncher();
    void EndMassmapLauncher();

    CSorvexLauncher* SorvexLauncher() const { return sorvex_.get(); }
    CMassmapLauncher* MassmapLauncher() const { return massmap_.get(); }
    CDtaCreateDialog* DtaDialog() const { return dta_.data(); }

    // A sheet or the Dta dialog is shown: no second search is set up meanwhile.
    bool IsSearchBusy() const;
    // The Sorvex launcher exists and can hand searches to the queue.
    bool IsQueueUsable() const;
    // An extraction or a search of either launcher is running.
    bool IsSearchRunning() const;

  protected:
    // Asks before the main window closes during a search: Yes ends the search, No keeps both.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void MapMessages();
    QObject* DtaListWindow() const;
    // The trace view's or the spectrum's time, as the starters take it.
    template <class One, class Range>
    void ApplyScanRule(One one, Range range) const;

    CMainFrame& frame_;
    std::unique_ptr<CSorvexLauncher> sorvex_;
    std::unique_ptr<CMassmapLauncher> massmap_;
    QPointer<CDtaCreateDialog> dta_;
};

// Registers the search commands (Actions > TurboSORVEX Search, TurboSORVEX Dta, Peptide
// Mapping, Tools > SORVEX Queue) and the messages with the main window; call once after the
// main window is made.
void RegisterSearchLaunchers(CMainFrame& frame);

}  // namespace zar
