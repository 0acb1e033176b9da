#include "ResizableSheet.h"

#include "InfoBarBitmaps.h"
#include "SheetPage.h"

#include <QBitmap>
#include <QTabBar>

#include <algorithm>

namespace zar {
namespace {

// A tab bar whose tabs all take the sheet's fixed tab size.
class FixedTabBar : public QTabBar {
  public:
    explicit FixedTabBar(const CResizableSheet* sheet) : sheet_(sheet) {}

  protected:
    QSize tabSizeHint(int index) const override {
        const QSize natural = QTabBar::tabSizeHint(index);
        if (!sheet_->FixedWidthTabs()) return natural;
        // Every tab the same size; the style may need more room than the image for its frame.
        return sheet_->FixedTabSize().expandedTo(natural);
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

  private:
    const CResizableSheet* sheet_;
};

}  // namespace

CResizableSheet::CResizableSheet(const QString& caption, QWidget* parent, int selectPage)
    : QTabWidget(parent), selectPage_(selectPage) {
    setObjectName(caption);
    setTabBar(new FixedTabBar(this));
    // One row of tabs that scrolls when the bar is narrow.
    setUsesScrollButtons(true);
    setDocumentMode(false);
    setIconSize(imageSize_);
    connect(this, &QTabWidget::currentChanged, this, &CResizableSheet::activated);
}

QSize CResizableSheet::FixedTabSize() const {
    return QSize(imageSize_.width() + 6, imageSize_.width() + 2);
}

void CResizableSheet::SetImageList(const std::vector<int>& bitmapIds, int cx, int cy, QColor mask) {
    images_.clear();
    for (int id : bitmapIds) {
        QPixmap pixmap = LoadInfoBarBitmap(id, QSize(cx, cy));
        if (!pixmap.isNull()) pixmap.setMask(pixmap.createMaskFromColor(mask, Qt::MaskInColor));
        images_.push_back(pixmap.isNull() ? QIcon() : QIcon(pixmap));
    }
    imageSize_ = QSize(cx, cy);
    setIconSize(imageSize_);
    ApplyTabImages();
    tabBar()->updateGeometry();
}

int CResizableSheet::AddPage(CSheetPage* page, unsigned image) {
    if (!page) return -1;
    const int existing = GetPageIndex(page);
    if (existing >= 0) return existing;
    pageImages_.push_back(image);
    const int index = addTab(page, QString());
    setTabToolTip(index, page->windowTitle());
    if (image != kNoImage && image < images_.size()) setTabIcon(index, images_[image]);
    if (index == selectPage_) setCurrentIndex(index);
    return index;
}

void CResizableSheet::RemovePage(int index) {
    if (index < 0 || index >= count()) return;
    removeTab(index);
    pageImages_.erase(pageImages_.begin() + index);
}

void CResizableSheet::ApplyTabImages() {
    for (int i = 0; i < count(); ++i) {
        const unsigned image = pageImages_[static_cast<size_t>(i)];
        if (image != kNoImage && image < images_.size()) setTabIcon(i, images_[image]);
    }
}

void CResizableSheet::SetActivePage(int index) {
    if (index < 0 || index >= count()) return;
    if (index != currentIndex()) setCurrentIndex(index);
}

CSheetPage* CResizableSheet::GetPage(int index) const { return qobject_cast<CSheetPage*>(widget(index)); }

int CResizableSheet::GetPageIndex(const CSheetPage* page) const {
    for (int i = 0; i < count(); ++i)
        if (widget(i) == page) return i;
    return -1;
}

unsigned CResizableSheet::ImageOfPage(int index) const {
    if (index < 0 || index >= static_cast<int>(pageImages_.size())) return kNoImage;
    return pageImages_[static_cast<size_t>(index)];
}

void CResizableSheet::activated(int index) {
    CSheetPage* page = GetPage(index);
    if (!page) return;
    page->CreatePageWindow();
    page->OnSetActive();
}

}  // namespace zar
