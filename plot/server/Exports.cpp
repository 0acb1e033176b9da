// The library's exported entry points; everything else stays inside (see the version script).

#include "PlotModule.h"

#include <mutex>

using zar::CLSID;
using zar::HRESULT;
using zar::IID;

extern "C" {

// The process-wide locale lock that other modules of the data system share. The server's own
// settings code never switches the process locale, so it needs no lock itself.
__attribute__((visibility("default"))) std::recursive_mutex gVXLocaleCritSection;

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return zar::plot::CanUnloadNow();
}

__attribute__((visibility("default"))) HRESULT DllGetClassObject(const CLSID* clsid, const IID* iid,
                                                                 void** object) {
    if (!object) return zar::E_POINTER;
    *object = nullptr;
    if (!clsid || !iid) return zar::E_INVALIDARG;
    return zar::plot::GetClassObject(*clsid, *iid, object);
}

__attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    return zar::plot::RegisterServer();
}

__attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return zar::plot::UnregisterServer();
}

}  // extern "C"

namespace {
// Library end: the class factories go before the library does.
struct ModuleLifetime {
    ~ModuleLifetime() { zar::plot::TerminateModule(); }
} gModuleLifetime;
}  // namespace
