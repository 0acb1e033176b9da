#pragma once
// What the pane tests share: the plotting server registered into a temporary registry for the
// whole run, a document with a generated run open, and grabbing a widget to a PNG.

#include "com/ComRegistry.h"
#include "document/hub/ZarDoc.h"
#include "registry/RegKey.h"

#include "SpectrumTestRuns.h"
#include "TestSupport.h"

#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace viewstest {

inline QString PlotLibrary() {
    return QFileInfo(QStringLiteral(ZAR_PLOT_LIBRARY)).absoluteFilePath();
}

// Registers the server once per suite in a settings folder of its own.
class RegisteredPlotServer {
  public:
    RegisteredPlotServer() {
        config_ = std::make_unique<zartest::ScopedConfigDir>();
        zar::ResetRegistryCache();
        ok_ = zar::RegisterServerLibrary(PlotLibrary(), false) == zar::S_OK;
    }
    ~RegisteredPlotServer() {
        config_.reset();
        zar::ResetRegistryCache();
    }
    bool ok() const { return ok_; }

  private:
    std::unique_ptr<zartest::ScopedConfigDir> config_;
    bool ok_ = false;
};

// Full scans at odd numbers, MS/MS scans at even numbers; the base peak of full scan n lies at
// 400 + n so each scan is recognisable by its spectrum.
inline bool WriteSmallRun(const QString& path, int scans) {
    return spectrumtest::WriteRun(
        path, scans, [](int n) { return n % 2 == 1; },
        [](int n) {
            spectrumtest::Peaks p;
            if (n % 2 == 1) {
                p.push_back({400.0 + n, 1000.0 + 100.0 * n});
                p.push_back({350.0, 200.0});
                p.push_back({900.0, 300.0});
            } else {
                p.push_back({150.0 + n, 500.0});
                p.push_back({450.0, 250.0});
            }
            return p;
        });
}

inline bool Grab(QWidget& w, const QString& path) {
    return w.grab().save(path);
}

// Pixels of one colour that the screen shows over a part of a window: what the user sees, not
// what a fresh paint would draw. The screen picture goes to `path`.
inline int ScreenPixelsOver(QWidget& window, const QWidget& part, const QColor& colour,
                            const QString& path) {
    const QRect area(part.mapTo(&window, QPoint(0, 0)), part.size());
    const QImage screen = window.screen()->grabWindow(window.winId()).toImage();
    screen.save(path);
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (screen.pixelColor(x, y) == colour) ++count;
    return count;
}

}  // namespace viewstest
