#pragma once
// The segment display of the display-ions page: the peptide's residues as boxes along the mass
// range shown above it, each box spanning the residue's mass step and carrying its letter.

#include <QString>
#include <QWidget>

#include <vector>

namespace zar {

class CSegmentCtrl : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kId = 8936;

    struct Segment {
        int number = 0;
        double start = 0.0;
        double end = 0.0;
        QString text;
    };

    explicit CSegmentCtrl(QWidget* parent = nullptr);
    // The settings the page gives once: colours of the background and the boxes, and the
    // height share of the boxes.
    void Initialize(QColor background, QColor boxes, double boxHeightPercent);
    void SetSegmentCount(int count);
    void SetRange(double low, double high);
    void SetSegment(int number, int reserved, double start, double end, const QString& text);

    int SegmentCount() const { return static_cast<int>(segments_.size()); }
    const std::vector<Segment>& Segments() const { return segments_; }
    double RangeLow() const { return low_; }
    double RangeHigh() const { return high_; }
    QSize sizeHint() const override { return QSize(200, 24); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<Segment> segments_;
    double low_ = 0.0;
    double high_ = 0.0;
    QColor background_;
    QColor boxes_;
    double boxHeight_ = 100.0;
};

}  // namespace zar
