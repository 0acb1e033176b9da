#pragma once
// A bar docked at the main window's left edge whose width the user changes by dragging a thin
// splitter strip on its inner edge. Its sizes are its own (not its contents'), bounded by a
// minimum and a maximum, and kept in a section of the program's profile between runs.
//
// The bar never floats: the floating size is only kept with the docked one.

#include <QDockWidget>
#include <QRect>
#include <QSize>
#include <QString>

class QMainWindow;
class QRubberBand;

namespace zar {

class CResizeDlgBar : public QDockWidget {
    Q_OBJECT
  public:
    static constexpr int kDefaultMinimum = 10;
    static constexpr int kDefaultMaximum = 32767;
    // The strip is 5 pixels across, one pixel in from the bar's inner edge.
    static constexpr int kSplitterWidth = 5;
    static constexpr int kSplitterInset = 6;

    enum DragState { kIdle = 0, kOverSplitter = 1, kDraggingHeight = 2, kDraggingWidth = 3 };

    explicit CResizeDlgBar(QWidget* parent = nullptr);
    ~CResizeDlgBar() override;

    // Docks the bar at the frame's left edge with the given default size and loads the stored
    // sizes. The change flag makes a floating resize change the docked size too.
    bool Create(QMainWindow* frame, QSize defaultSize, bool changeFlag);

    // Profile section of the sizes; empty: the sizes are neither loaded nor saved.
    void SetSection(const QString& section) { section_ = section; }
    QString Section() const { return section_; }
    // "FloatSizeCX", "FloatSizeCY", "DockSizeCX", "DockSizeCY" of the section. A stored size
    // outside the bar's absolute limits (a damaged profile) is brought back within them.
    void LoadSizes();
    void SaveSizes() const;

    void SetMinimumSize(int cx, int cy) { minimum_ = QSize(cx, cy); }
    void SetMaximumSize(int cx, int cy) { maximum_ = QSize(cx, cy); }
    QSize MinimumSize() const { return minimum_; }
    QSize MaximumSize() const { return maximum_; }
    QSize DockedSize() const { return docked_; }
    QSize FloatingSize() const { return floating_; }

    // The area the contents may fill (bar coordinates): the bar less the splitter side, deflated
    // by 2; false when there is no frame.
    bool GetInsideRect(QRect& rect) const;
    // The splitter strip in bar coordinates.
    QRect GetSplitterRect() const;
    int GetDragState() const { return dragState_; }
    // The tracker shown while dragging (bar coordinates), null while idle.
    QRect TrackerRect() const { return dragState_ >= kDraggingHeight ? splitter_ : QRect(); }
    // The width a tracker position stands for, and whether a drag may end there: strictly
    // between the minimum and the maximum.
    int SizeForTracker(const QRect& tracker) const;
    bool IsSplitterPosValid(const QRect& tracker) const;

    // Fits the bar's contents to it.
    virtual void ResizeContents() = 0;

  protected:
    QWidget* Client() const { return client_; }
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void applyDockedWidth();
    void paintSplitter();
    void mouseMove(const QPoint& pos);
    void buttonDown(const QPoint& pos);
    void buttonUp(const QPoint& pos);
    void showTracker();

    QMainWindow* frame_ = nullptr;
    QWidget* client_;
    QRubberBand* tracker_ = nullptr;
    QString section_;
    QSize docked_;
    QSize floating_;
    bool changeFlag_ = false;
    QSize minimum_{kDefaultMinimum, kDefaultMinimum};
    QSize maximum_{kDefaultMaximum, kDefaultMaximum};
    int dragState_ = kIdle;
    QRect splitter_;
    QPoint buttonDown_;
    int dragOffset_ = 0;
};

}  // namespace zar
