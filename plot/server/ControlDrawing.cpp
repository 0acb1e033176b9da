#include "ControlDrawing.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPaintDevice>
#include <QSvgGenerator>

namespace zar::plot {

QPainter* PainterFromHandle(const std::uintptr_t* phDC) {
    if (!phDC || *phDC == 0) return nullptr;
    return reinterpret_cast<QPainter*>(*phDC);
}

PlotDC::Target DrawTarget(QPainter& painter, bool printing, bool metafile) {
    PlotDC::Target t;
    t.printing = printing;
    t.metafile = metafile;
    t.hasAttributeDevice = true;
    if (const QPaintDevice* device = painter.device()) {
        t.logPixelsX = device->logicalDpiX() > 0 ? device->logicalDpiX() : 96;
        t.logPixelsY = device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
    }
    return t;
}

QRect RectFrom(const ZAR_PLOTLib::tagRECT& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

ElementRect Shrunk(const QRect& r, int pixels) {
    return {r.left() + pixels, r.top() + pixels, r.right() + 1 - pixels, r.bottom() + 1 - pixels};
}

void DrawControlFrame(PlotDC& dc, const QRect& rect, int width, COLORREF color) {
    const int w = std::max(width, 1);
    const int l = rect.left(), t = rect.top(), r = rect.right() + 1, b = rect.bottom() + 1;
    dc.FillRect(l, t, r, t + w, color);
    dc.FillRect(l, b - w, r, b, color);
    dc.FillRect(l, t, l + w, b, color);
    dc.FillRect(r - w, t, r, b, color);
}

void DrawCentredText(PlotDC& dc, const QRect& rect, const QString& text) {
    if (text.isEmpty()) return;
    dc.SetTextAlign(TA_CENTER | TA_BASELINE);
    dc.SetTextColor(0);
    dc.TextOut(rect.center().x(), rect.center().y(), text);
}

HitTestDC::HitTestDC()
    : image_(1, 1, QImage::Format_RGB32),
      painter_(&image_),
      dc_(painter_, DrawTarget(painter_, false, false)) {}

MappedPoint MapPoint(const PlotRegionList& regions, QPoint point, bool scale) {
    MappedPoint m;
    const PlotRegion* region = regions.Find(point.x(), point.y());
    if (!region) return m;
    PlotRegionList::Values v;
    if (!regions.PointsToValues(point, point, v, false, scale, true, true)) return m;
    const ElementRect& d = region->dataRect();
    m.found = true;
    m.inside =
        point.x() >= d.left && point.x() <= d.right && point.y() >= d.top && point.y() <= d.bottom;
    m.x = v.xStart;
    m.y = v.yStart;
    return m;
}

bool MapBox(const PlotRegionList& regions, QPoint start, QPoint end,
            PlotRegionList::Values& out) {
    return regions.PointsToValues(start, end, out, true, false, false, false);
}

HRESULT CopyDrawingToClipboard(const std::function<void(QPainter&, const QRect&, bool)>& draw) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return E_FAIL;
    const QRect rect(0, 0, kClipboardWidth, kClipboardHeight);

    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize(rect.size());
    generator.setViewBox(rect);
    generator.setDescription(QString::fromLatin1(kClipboardDescription));
    {
        QPainter painter;
        if (!painter.begin(&generator)) return E_FAIL;
        painter.fillRect(rect, Qt::white);
        draw(painter, rect, true);
        if (!painter.end()) return E_FAIL;
    }
    if (svg.data().isEmpty()) return E_FAIL;

    QImage image(rect.size(), QImage::Format_RGB32);
    if (image.isNull()) return E_FAIL;
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        draw(painter, rect, true);
    }
    auto mime = std::make_unique<QMimeData>();
    mime->setData(QStringLiteral("image/svg+xml"), svg.data());
    mime->setImageData(image);
    clipboard->setMimeData(mime.release());
    return S_OK;
}

namespace {

// Freezes the regions and sets the frame flag for one drawing.
class OffWindowDrawing {
  public:
    OffWindowDrawing(PlotRegionList* regions, std::int32_t& showBorder, bool border)
        : regions_(regions), showBorder_(showBorder), saved_(showBorder) {
        if (regions_) regions_->SetLocked(true);
        if (!border) showBorder_ = 0;
    }
    ~OffWindowDrawing() {
        showBorder_ = saved_;
        if (regions_) regions_->SetLocked(false);
    }
    OffWindowDrawing(const OffWindowDrawing&) = delete;
    OffWindowDrawing& operator=(const OffWindowDrawing&) = delete;

  private:
    PlotRegionList* regions_;
    std::int32_t& showBorder_;
    std::int32_t saved_;
};

}  // namespace

HRESULT DrawForHost(const std::uintptr_t* phDC, bool printing, const ZAR_PLOTLib::tagRECT* rect,
                    bool border, PlotRegionList* regions, std::int32_t& showBorder,
                    const ControlDrawFn& draw) {
    QPainter* painter = PainterFromHandle(phDC);
    if (!painter || !rect) return E_POINTER;
    PlotDC dc(*painter, DrawTarget(*painter, printing, false));
    OffWindowDrawing scope(regions, showBorder, border);
    draw(dc, RectFrom(*rect));
    return S_OK;
}

void PaintControlWindow(QPainter& painter, const QRect& rect, PlotRegionList* regions,
                        const ControlDrawFn& draw) {
    painter.fillRect(rect, Qt::white);
    const QPaintDevice* device = painter.device();
    PlotDC dc(painter,
              DrawTarget(painter, device && device->devType() == QInternal::Printer, false));
    if (regions) regions->FreeAll();
    draw(dc, rect);
}

HRESULT CopyForHost(PlotRegionList* regions, std::int32_t& showBorder, const ControlDrawFn& draw) {
    OffWindowDrawing scope(regions, showBorder, false);
    return CopyDrawingToClipboard([&draw](QPainter& p, const QRect& r, bool metafile) {
        PlotDC dc(p, DrawTarget(p, false, metafile));
        draw(dc, r);
    });
}

std::unique_ptr<FeedbackImage::Scope> FeedbackImage::Begin(QSize size) {
    if (image_.size() != size) {
        image_ = QImage(size, QImage::Format_RGB32);
        image_.fill(Qt::black);
    }
    return std::make_unique<Scope>(image_);
}

void FeedbackImage::Clear() {
    if (!image_.isNull()) image_.fill(Qt::black);
}

bool FeedbackImage::IsBlank() const {
    if (image_.isNull()) return true;
    for (int y = 0; y < image_.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        for (int x = 0; x < image_.width(); ++x)
            if ((line[x] & 0xFFFFFFu) != 0) return false;
    }
    return true;
}

void FeedbackImage::Composite(QPainter& painter) const {
    if (image_.isNull() || IsBlank()) return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.drawImage(0, 0, image_);
    painter.restore();
}

}  // namespace zar::plot
