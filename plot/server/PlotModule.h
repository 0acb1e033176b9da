#pragma once
// The server's module: its lock count, its object map (the five creatable classes in order),
// its own library path, and registration.

#include "com/ComObject.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <QString>

namespace zar::plot {

ComModule& PlotModule();

// One entry of the object map: the class's type-library description and how to make one.
struct ObjectMapEntry {
    const ZAR_PLOTLib::CoclassInfo& info;
    HRESULT (*create)(const IID& iid, void** object);
};

// In object-map order: Chro, Spec, CaliCurve, XAxis, DenovoPlot.
const std::vector<ObjectMapEntry>& ObjectMap();

// The absolute path of the library this code is in.
QString ModulePath();

HRESULT GetClassObject(const CLSID& clsid, const IID& iid, void** object);
HRESULT CanUnloadNow();
HRESULT RegisterServer();
HRESULT UnregisterServer();
// Releases the class factories (the library is being unloaded).
void TerminateModule();

}  // namespace zar::plot
