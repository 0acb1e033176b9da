#include "BitmapView.h"

#include "BitmapFile.h"
#include "core/Paths.h"
#include "document/Settings.h"

#include <QPainter>

namespace zar {

CBitmapView::CBitmapView(QWidget* parent) : CZarViewWidget(parent) {
    setAutoFillBackground(true);
    LoadBitmap(BitmapPath());
}

QString CBitmapView::BitmapPath() { return JoinPath(PortablePath(GetProgramDirectory()), QStringLiteral("ZarvikBrowser.bmp")); }

void CBitmapView::LoadBitmap(const QString& path) {
    image_ = QImage();
    if (std::optional<QByteArray> dib = ReadBitmapFile(path)) image_ = BitmapToImage(*dib);
    update();
}

QRect CBitmapView::PictureRect(const QSize& view, const QSize& picture) {
    return QRect((view.width() - picture.width()) / 2, (view.height() - picture.height()) / 2, picture.width(),
                 picture.height());
}

void CBitmapView::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter p(this);
    p.drawImage(PictureRect(size(), image_.size()), image_);
}

}  // namespace zar
