#pragma once
// The controls as the program reaches them: registered into a temporary registry once per suite
// and created by ProgID, drawn through Draw into images, driven by mouse and keys on their
// offscreen windows, with their events collected from a sink.

#include "com/ComRegistry.h"
#include "com/Dispatch.h"
#include "plot/typelib/ZarPlotTypes.h"

#include "TestSupport.h"
#include "registry/RegKey.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace plottest {

using namespace zar;
using namespace ZAR_PLOTLib;

inline const QString& PlotLibrary() {
    static const QString path = QFileInfo(QStringLiteral(ZAR_PLOT_LIBRARY)).absoluteFilePath();
    return path;
}

class ControlTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        config_ = std::make_unique<zartest::ScopedConfigDir>();
        ResetRegistryCache();
        ASSERT_EQ(RegisterServerLibrary(PlotLibrary(), false), S_OK);
    }
    static void TearDownTestSuite() {
        config_.reset();
        ResetRegistryCache();
    }

    template <class I>
    static ComPtr<I> Create(const char16_t* progId) {
        ComPtr<I> p;
        EXPECT_EQ(CreateInstanceByProgID(QString::fromUtf16(progId), I::kIID, p.put()), S_OK);
        return p;
    }

    // The control's window, shown offscreen in a host of the given size.
    template <class I>
    QWidget* Show(I* control, int width, int height) {
        host_ = std::make_unique<QWidget>();
        host_->resize(width, height);
        ComPtr<IControlWindow> site;
        EXPECT_EQ(control->QueryInterface(IID_IControlWindow, site.put()), S_OK);
        QWidget* window = nullptr;
        EXPECT_EQ(site->CreateControlWindow(host_.get(), &window), S_OK);
        window->setGeometry(0, 0, width, height);
        host_->show();
        window->show();
        return window;
    }

    std::unique_ptr<QWidget> host_;
    static inline std::unique_ptr<zartest::ScopedConfigDir> config_;
};

// Draws a control through its Draw member into a white image.
template <class I>
QImage DrawToImage(I* control, int width, int height, HRESULT* result = nullptr,
                   bool border = true) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    std::uintptr_t handle = reinterpret_cast<std::uintptr_t>(&painter);
    tagRECT rect{0, 0, width, height};
    const HRESULT hr = control->Draw(&handle, &handle, 0, &rect, border ? 1 : 0);
    if (result) *result = hr;
    painter.end();
    return image;
}

// Keeps a picture for a look: /tmp/zar_plot_<name>.png.
inline void SavePicture(const QImage& image, const QString& name) {
    image.save(QStringLiteral("/tmp/zar_plot_") + name + QStringLiteral(".png"));
}

inline int CountPixels(const QImage& image, QRgb color) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == color;
    return n;
}

// Pixels darker than mid grey (text is smoothed, so it is rarely pure black).
inline int CountDark(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 100;
    return n;
}
// Pixels that are mostly blue.
inline int CountBluish(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            n += qBlue(c) > 100 && qRed(c) < 90 && qGreen(c) < 90;
        }
    return n;
}

// One event as a sink saw it.
struct SeenEvent {
    DISPID id;
    std::vector<double> args;  // longs and doubles alike
};

class EventLog {
  public:
    EventLog(IUnknown* source, const IID& events, std::initializer_list<DISPID> ids) {
        sink_ = EventSink::Create(events);
        for (DISPID id : ids)
            sink_->on(id, [this, id](const DispArgs& a) {
                SeenEvent e{id, {}};
                for (std::uint32_t i = 0; i < a.count(); ++i) {
                    const VARIANT& v = a.at(i);
                    e.args.push_back(v.vt == VT_R8 ? a.doubleAt(i) : a.longAt(i));
                }
                seen.push_back(e);
            });
        EXPECT_EQ(connection_.connect(source, events, sink_.get()), S_OK);
    }
    std::vector<DISPID> ids() const {
        std::vector<DISPID> out;
        for (const SeenEvent& e : seen) out.push_back(e.id);
        return out;
    }
    const SeenEvent* find(DISPID id) const {
        for (const SeenEvent& e : seen)
            if (e.id == id) return &e;
        return nullptr;
    }
    std::vector<SeenEvent> seen;

  private:
    ComPtr<EventSink> sink_;
    EventConnection connection_;
};

// A press, moves and a release, as a user drags.
inline void Drag(QWidget* w, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(w, button, Qt::NoModifier, from);
    QTest::mouseMove(w, (from + to) / 2);
    QTest::mouseMove(w, to);
    QTest::mouseRelease(w, button, Qt::NoModifier, to);
}

inline std::uint32_t Seeded(std::uint32_t& seed) {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
}
inline double Random(std::uint32_t& seed) {
    return Seeded(seed) / double(1u << 24);
}

}  // namespace plottest
