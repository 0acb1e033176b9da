#pragma once
// The Info Bar: the bar docked at the main window's left edge with its three pages, "Dta
// files", "MSn Browser" and "ZARMASS Results". The main frame hands it what its messages carry;
// the bar passes each to its page.

#include "DtaListPage.h"
#include "InfoBarTarget.h"
#include "MSnListPage.h"
#include "SheetDlgBar.h"
#include "ZarmassPage.h"

namespace zar {

class CMainFrame;

class CInfoBar : public CSheetDlgBar, public CInfoBarTarget {
    Q_OBJECT
  public:
    // Page ids of ShowPage.
    static constexpr int kDtaFilesPage = 100;
    static constexpr int kMSnBrowserPage = 101;
    static constexpr int kZarmassResultsPage = 102;
    static constexpr int kTemplateId = 8502;
    static constexpr int kControlId = 9206;
    // The empty dialog the bar is made from on a first run: 146 x 196 dialog units.
    static constexpr int kTemplateWidth = 146;
    static constexpr int kTemplateHeight = 196;
    static constexpr int kMinimumSize = 140;

    explicit CInfoBar(QWidget* parent = nullptr);
    ~CInfoBar() override;

    // Docks the bar in the frame (sizes from the profile section "InfoBarSize") and makes it the
    // frame's Info Bar; false when the bar cannot be made.
    bool Create(CMainFrame& frame);
    // The template's size in pixels for the program's font.
    static QSize TemplateSize();

    // CInfoBarTarget
    void ShowPage(int page) override;
    void SetDtaCount(int count) override;
    void ClearDtaListPage() override;
    void SetDtaList(int row, const QString& name) override;
    void SetDtaInfo(int row, double time) override;
    void SetZarmassInfo(int row, double mz) override;
    void SetZarmassResults(int row, int charge) override;
    void ClearZarmassPage() override;
    QLabel* ZarmassAverageMwText() override;
    void Reset() override;
    void UpdateMSnListPage() override;
    void UpdateMSnTimeRange(double start, double end) override;
    void ParseScanList() override;

    void RefreshDtaListPage();
    void RefreshZarmassPage();

    CDtaListPage& DtaListPage() { return dta_; }
    CMSnListPage& MSnListPage() { return msn_; }
    CZarmassPage& ZarmassPage() { return zarmass_; }

  protected:
    void AddPages(CResizableSheet& sheet) override;

  private:
    CDtaListPage dta_;
    CMSnListPage msn_;
    CZarmassPage zarmass_;
};

// Makes the main frame's Info Bar (the frame owns it); null when it cannot be made.
CInfoBar* CreateInfoBar(CMainFrame& frame);

}  // namespace zar
