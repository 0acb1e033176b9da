#pragma once
// A tabbed sheet that lives as a child window: one scrolling row of tabs, each with a small
// image; with fixed-width tabs every tab is as wide as its image (the page's caption is its tab's
// tool tip). The pages follow the sheet's size.

#include <QColor>
#include <QIcon>
#include <QTabWidget>

#include <vector>

namespace zar {

class CSheetPage;

class CResizableSheet : public QTabWidget {
    Q_OBJECT
  public:
    static constexpr unsigned kNoImage = 0xFFFFFFFF;

    CResizableSheet(const QString& caption, QWidget* parent, int selectPage = 0);

    // Loads the images of the tabs from the program's bitmaps (an id that does not load leaves
    // its image empty), magenta pixels transparent.
    void SetImageList(const std::vector<int>& bitmapIds, int cx, int cy, QColor mask);
    // Adds a page with the index of its image; a page already in the sheet keeps its place and
    // image. Returns the page's index.
    int AddPage(CSheetPage* page, unsigned image);
    void RemovePage(int index);
    void ApplyTabImages();
    // Makes a page the active one (its window is made on its first activation).
    void SetActivePage(int index);
    int GetActiveIndex() const { return currentIndex(); }
    int GetPageCount() const { return count(); }
    CSheetPage* GetPage(int index) const;
    int GetPageIndex(const CSheetPage* page) const;
    unsigned ImageOfPage(int index) const;
    QSize ImageSize() const { return imageSize_; }
    bool FixedWidthTabs() const { return fixedWidth_; }
    // The size a tab takes with fixed-width tabs: image width + 6 across, image width + 2 down,
    // or what the style needs around the image when that is more.
    QSize FixedTabSize() const;

  private:
    void activated(int index);

    bool fixedWidth_ = true;
    QSize imageSize_{16, 16};
    std::vector<QIcon> images_;
    std::vector<unsigned> pageImages_;
    int selectPage_;
};

}  // namespace zar
