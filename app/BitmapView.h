#pragma once
// The start-up view: the program's picture, centred.

#include "ZarViewWidget.h"

#include <QImage>

namespace zar {

class CBitmapView : public CZarViewWidget {
    Q_OBJECT
public:
    explicit CBitmapView(QWidget* parent = nullptr);
    const char* ViewClassName() const override { return "CBitmapView"; }
    // Path of the picture: the program folder's "ZarvikBrowser.bmp".
    static QString BitmapPath();
    bool HasBitmap() const { return !image_.isNull(); }
    void LoadBitmap(const QString& path);
    // Where the picture goes in a view of the given size.
    static QRect PictureRect(const QSize& view, const QSize& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

}  // namespace zar
