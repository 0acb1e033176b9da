#include "PlotModule.h"

#include "com/ComRegistry.h"
#include "plot/controls/CaliCurveControl.h"
#include "plot/controls/ChroControl.h"
#include "plot/controls/DenovoPlotControl.h"
#include "plot/controls/SpecControl.h"
#include "plot/controls/XAxisControl.h"

#include <QFileInfo>

#include <dlfcn.h>

#include <map>
#include <mutex>

namespace zar::plot {

using namespace ZAR_PLOTLib;

namespace {

// Class factories are made on first request and kept until the library ends.
struct FactoryCache {
    std::mutex mutex;
    std::vector<std::pair<CLSID, ComPtr<ClassFactory>>> factories;
};

FactoryCache& factoryCache() {
    static FactoryCache* cache = new FactoryCache;  // outlives every static destructor
    return *cache;
}

template <class T>
HRESULT createControl(const IID& iid, void** object) {
    return CreateComObject<T>(iid, object);
}

ClassRegistration registrationOf(const CoclassInfo& info, const QString& module) {
    ClassRegistration r;
    r.clsid = info.clsid;
    r.description = QString::fromLatin1(info.description);
    r.progId = QString::fromUtf16(info.progId);
    r.versionIndependentProgId = QString::fromUtf16(info.versionIndependentProgId);
    r.modulePath = module;
    r.threadingModel = QStringLiteral("Apartment");
    r.control = true;
    r.toolboxBitmap = QStringLiteral("%1, %2").arg(module).arg(info.toolboxBitmap);
    r.miscStatus = QStringLiteral("0");
    r.miscStatusAspect1 = QStringLiteral("131473");
    r.typeLib = LIBID_ZAR_PLOTLib;
    r.version = QString::fromLatin1(kLibraryVersion);
    return r;
}

TypeLibRegistration typeLibRegistration(const QString& module) {
    TypeLibRegistration r;
    r.libid = LIBID_ZAR_PLOTLib;
    r.version = QString::fromLatin1(kLibraryVersion);
    r.helpString = QString::fromLatin1(kLibraryHelpString);
    r.modulePath = module;
    return r;
}

}  // namespace

ComModule& PlotModule() {
    static ComModule module;
    return module;
}

const std::vector<ObjectMapEntry>& ObjectMap() {
    static const std::vector<ObjectMapEntry> map = {
        {kCoclasses[0], &createControl<CChroControl>},
        {kCoclasses[1], &createControl<CSpecControl>},
        {kCoclasses[2], &createControl<CCaliCurveControl>},
        {kCoclasses[3], &createControl<CXAxisControl>},
        {kCoclasses[4], &createControl<CDenovoPlotControl>},
    };
    return map;
}

QString ModulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModulePath), &info) == 0 || !info.dli_fname)
        return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

HRESULT GetClassObject(const CLSID& clsid, const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    for (const ObjectMapEntry& entry : ObjectMap()) {
        if (!(entry.info.clsid == clsid)) continue;
        FactoryCache& cache = factoryCache();
        std::lock_guard lock(cache.mutex);
        for (auto& [id, factory] : cache.factories) {
            if (id == clsid) return factory->QueryInterface(iid, object);
        }
        ComPtr<ClassFactory> factory = ClassFactory::Make(PlotModule(), entry.create);
        cache.factories.emplace_back(clsid, factory);
        return factory->QueryInterface(iid, object);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadNow() {
    return PlotModule().GetLockCount() == 0 ? S_OK : S_FALSE;
}

HRESULT RegisterServer() {
    const QString module = ModulePath();
    if (module.isEmpty()) return E_UNEXPECTED;
    for (const ObjectMapEntry& entry : ObjectMap()) {
        const HRESULT hr = RegisterClassEntries(registrationOf(entry.info, module));
        if (FAILED(hr)) return hr;
    }
    return RegisterTypeLibEntries(typeLibRegistration(module));
}

HRESULT UnregisterServer() {
    const QString module = ModulePath();
    HRESULT result = S_OK;
    for (const ObjectMapEntry& entry : ObjectMap()) {
        const HRESULT hr = UnregisterClassEntries(registrationOf(entry.info, module));
        if (FAILED(hr)) result = hr;
    }
    const HRESULT hr = UnregisterTypeLibEntries(typeLibRegistration(module));
    return FAILED(hr) ? hr : result;
}

void TerminateModule() {
    FactoryCache& cache = factoryCache();
    std::vector<std::pair<CLSID, ComPtr<ClassFactory>>> released;
    {
        std::lock_guard lock(cache.mutex);
        released.swap(cache.factories);
    }
}

}  // namespace zar::plot
