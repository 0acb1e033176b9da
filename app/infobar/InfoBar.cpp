#include "InfoBar.h"

#include "InfoBarBitmaps.h"
#include "MainFrame.h"
#include "ResizableSheet.h"

#include <QApplication>
#include <QFontMetrics>

namespace zar {
namespace {

const QColor kMaskColour(255, 0, 255);

}  // namespace

CInfoBar::CInfoBar(QWidget* parent) : CSheetDlgBar(parent) {
    setObjectName(QStringLiteral("InfoBar"));
}

CInfoBar::~CInfoBar() { DestroySheet(); }

QSize CInfoBar::TemplateSize() {
    // A dialog unit is a quarter of the font's average character width across and an eighth
    // of its height down.
    const QFontMetrics metrics(QApplication::font());
    return QSize(kTemplateWidth * metrics.averageCharWidth() / 4, kTemplateHeight * metrics.height() / 8);
}

bool CInfoBar::Create(CMainFrame& frame) {
    SetSection(QStringLiteral("InfoBarSize"));
    if (!CSheetDlgBar::Create(&frame, TemplateSize(), false)) return false;
    setWindowTitle(QStringLiteral("Info Bar"));
    // After the sizes were loaded: a stored size below the minimum stands.
    SetMinimumSize(kMinimumSize, kMinimumSize);
    // The frame owns the bar from here on: the bar lives as long as the frame.
    frame.SetInfoBar(this);
    return true;
}

void CInfoBar::AddPages(CResizableSheet& sheet) {
    const int active = sheet.GetActiveIndex();
    for (int i = sheet.GetPageCount() - 1; i >= 0; --i) sheet.RemovePage(i);
    sheet.SetImageList({kBitmapDtaFiles, kBitmapMSnBrowser, kBitmapZarmassResults}, 16, 16, kMaskColour);
    sheet.AddPage(&dta_, 0);
    sheet.AddPage(&msn_, 1);
    sheet.AddPage(&zarmass_, 2);
    sheet.SetActivePage(active >= 0 && active < sheet.GetPageCount() ? active : 0);
}

void CInfoBar::ShowPage(int page) {
    if (CResizableSheet* sheet = GetSheet(); sheet && page >= kDtaFilesPage && page <= kZarmassResultsPage)
        sheet->SetActivePage(page - kDtaFilesPage);
}

void CInfoBar::SetDtaCount(int count) { dta_.SetCount(count); }
void CInfoBar::ClearDtaListPage() { dta_.ClearList(); }
void CInfoBar::SetDtaList(int row, const QString& name) { dta_.SetEntry(row, name); }
void CInfoBar::SetDtaInfo(int row, double time) { dta_.SetTime(row, time); }
void CInfoBar::SetZarmassInfo(int row, double mz) { zarmass_.SetMz(row, mz); }
void CInfoBar::SetZarmassResults(int row, int charge) { zarmass_.SetCharge(row, charge); }
void CInfoBar::ClearZarmassPage() { zarmass_.ClearList(); }
QLabel* CInfoBar::ZarmassAverageMwText() { return zarmass_.AverageMwText(); }

void CInfoBar::RefreshDtaListPage() { dta_.Refresh(); }
void CInfoBar::RefreshZarmassPage() { zarmass_.Refresh(); }
void CInfoBar::UpdateMSnListPage() { msn_.Refresh(); }
void CInfoBar::UpdateMSnTimeRange(double start, double end) { msn_.Update(start, end); }
void CInfoBar::ParseScanList() { msn_.ParseScanList(); }

void CInfoBar::Reset() {
    RefreshZarmassPage();
    RefreshDtaListPage();
    UpdateMSnListPage();
}

CInfoBar* CreateInfoBar(CMainFrame& frame) {
    auto* bar = new CInfoBar(&frame);
    if (!bar->Create(frame)) {
        delete bar;
        return nullptr;
    }
    return bar;
}

}  // namespace zar
