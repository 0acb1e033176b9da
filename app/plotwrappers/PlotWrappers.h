#pragma once
// The window classes of the three plotting controls the panes host.

#include "PlotControlWnd.h"
#include "plot/typelib/ZarPlotTypes.h"

namespace zar {

inline constexpr char16_t kChroProgId[] = u"Zar_Plot.Chro.1";
inline constexpr char16_t kSpecProgId[] = u"Zar_Plot.Spec.1";
inline constexpr char16_t kDenovoPlotProgId[] = u"Zar_Plot.DenovoPlot.1";

// The chromatogram control.
class CChro : public CPlotControl<ZAR_PLOTLib::IChro> {
    Q_OBJECT
  public:
    using CPlotControl::CPlotControl;
    bool Create(QWidget* parent, const QRect& rect, int id, bool visible = true) {
        return CPlotControl::Create(QString::fromUtf16(kChroProgId), parent, rect, id, visible);
    }
    // The focus rectangle, a property set late-bound (dispatch id 2); raises CComError.
    void SetShowFocusRect(bool show);

  protected:
    IID EventInterface() const override { return ZAR_PLOTLib::ChroEvents::kIID; }
};

// The spectrum control.
class CSpec : public CPlotControl<ZAR_PLOTLib::ISpec> {
    Q_OBJECT
  public:
    using CPlotControl::CPlotControl;
    bool Create(QWidget* parent, const QRect& rect, int id, bool visible = true) {
        return CPlotControl::Create(QString::fromUtf16(kSpecProgId), parent, rect, id, visible);
    }

  protected:
    IID EventInterface() const override { return ZAR_PLOTLib::SpecEvents::kIID; }
};

// The de novo dot-map control.
class CDenovoPlot : public CPlotControl<ZAR_PLOTLib::IDenovoPlot> {
    Q_OBJECT
  public:
    using CPlotControl::CPlotControl;
    bool Create(QWidget* parent, const QRect& rect, int id, bool visible = true) {
        return CPlotControl::Create(QString::fromUtf16(kDenovoPlotProgId), parent, rect, id,
                                    visible);
    }

  protected:
    IID EventInterface() const override { return ZAR_PLOTLib::DenovoPlotEvents::kIID; }
};

}  // namespace zar
