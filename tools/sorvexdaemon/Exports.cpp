// The library's exported entry points; everything else stays inside (see the version script).

#include "SorvexDaemonObject.h"

#include "com/ComRegistry.h"
#include "search/SorvexDaemon.h"

#include <QFileInfo>

#include <dlfcn.h>

#include <mutex>

using zar::CLSID;
using zar::HRESULT;
using zar::IID;

namespace {

QString ModulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModulePath), &info) == 0 || !info.dli_fname)
        return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

zar::ClassRegistration Registration() {
    zar::ClassRegistration r;
    r.clsid = zar::CLSID_SorvexDaemon;
    r.description = QStringLiteral("SorvexDaemon Class");
    r.progId = QString::fromLatin1(zar::kSorvexDaemonProgId);
    r.versionIndependentProgId = QString::fromLatin1(zar::kSorvexDaemonIndependentProgId);
    r.modulePath = ModulePath();
    r.threadingModel = QStringLiteral("Apartment");
    return r;
}

// The one class factory, made on first request and kept until the library ends.
std::mutex gFactoryMutex;
zar::ComPtr<zar::ClassFactory> gFactory;

}  // namespace

extern "C" {

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return zar::SorvexDaemonModule().GetLockCount() == 0 ? zar::S_OK : zar::S_FALSE;
}

__attribute__((visibility("default"))) HRESULT DllGetClassObject(const CLSID* clsid, const IID* iid,
                                                                 void** object) {
    if (!object) return zar::E_POINTER;
    *object = nullptr;
    if (!clsid || !iid) return zar::E_INVALIDARG;
    if (!(*clsid == zar::CLSID_SorvexDaemon)) return zar::CLASS_E_CLASSNOTAVAILABLE;
    std::lock_guard lock(gFactoryMutex);
    if (!gFactory)
        gFactory =
            zar::ClassFactory::Make(zar::SorvexDaemonModule(), &zar::CSorvexDaemonObject::Create);
    return gFactory->QueryInterface(*iid, object);
}

__attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    const zar::ClassRegistration r = Registration();
    if (r.modulePath.isEmpty()) return zar::E_UNEXPECTED;
    return zar::RegisterClassEntries(r);
}

__attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return zar::UnregisterClassEntries(Registration());
}

}  // extern "C"
