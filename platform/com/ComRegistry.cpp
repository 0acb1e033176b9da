#include "com/ComRegistry.h"

#include "registry/RegKey.h"

#include <QFileInfo>
#include <QLibrary>

#include <map>
#include <memory>
#include <mutex>

namespace zar {
namespace {

constexpr RegRoot kClassesRoot = RegRoot::ClassesRoot;
const QString kDefault = DefaultValueName();

using DllGetClassObjectFn = HRESULT (*)(const CLSID*, const IID*, void**);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterFn = HRESULT (*)();

QString clsidKeyPath(const CLSID& clsid) {
    return QStringLiteral("CLSID\\") + GuidToString(clsid);
}

bool writeKeyDefault(const QString& path, const QString& value) {
    RegKey key(kClassesRoot, path, true);
    return key.isValid() && key.writeString(kDefault, value);
}

bool makeKey(const QString& path) {
    return RegKey(kClassesRoot, path, true).isValid();
}

// Server libraries stay loaded until CoFreeUnusedLibraries finds them idle.
struct LoadedLibraries {
    std::mutex mutex;
    std::map<QString, std::unique_ptr<QLibrary>> byPath;
};

LoadedLibraries& loaded() {
    static LoadedLibraries libraries;
    return libraries;
}

QLibrary* loadLibrary(const QString& path) {
    LoadedLibraries& libs = loaded();
    std::lock_guard lock(libs.mutex);
    const QString key = QFileInfo(path).absoluteFilePath();
    auto it = libs.byPath.find(key);
    if (it != libs.byPath.end()) return it->second.get();
    auto lib = std::make_unique<QLibrary>(key);
    if (!lib->load()) return nullptr;
    QLibrary* raw = lib.get();
    libs.byPath.emplace(key, std::move(lib));
    return raw;
}

}  // namespace

HRESULT RegisterClassEntries(const ClassRegistration& e) {
    const QString clsid = GuidToString(e.clsid);
    bool ok = writeKeyDefault(e.progId, e.description) &&
              writeKeyDefault(e.progId + QStringLiteral("\\CLSID"), clsid);
    ok = ok && writeKeyDefault(e.versionIndependentProgId, e.description) &&
         writeKeyDefault(e.versionIndependentProgId + QStringLiteral("\\CLSID"), clsid) &&
         writeKeyDefault(e.versionIndependentProgId + QStringLiteral("\\CurVer"), e.progId);
    const QString key = clsidKeyPath(e.clsid);
    ok = ok && writeKeyDefault(key, e.description) &&
         writeKeyDefault(key + QStringLiteral("\\ProgID"), e.progId) &&
         writeKeyDefault(key + QStringLiteral("\\VersionIndependentProgID"),
                         e.versionIndependentProgId) &&
         makeKey(key + QStringLiteral("\\Programmable")) &&
         writeKeyDefault(key + QStringLiteral("\\InprocServer32"), e.modulePath);
    if (ok) {
        RegKey server(kClassesRoot, key + QStringLiteral("\\InprocServer32"), false);
        ok = server.writeString(QStringLiteral("ThreadingModel"), e.threadingModel);
    }
    if (ok && e.control) {
        ok = makeKey(key + QStringLiteral("\\Control")) &&
             makeKey(key + QStringLiteral("\\Insertable")) &&
             writeKeyDefault(key + QStringLiteral("\\ToolboxBitmap32"), e.toolboxBitmap) &&
             writeKeyDefault(key + QStringLiteral("\\MiscStatus"), e.miscStatus) &&
             writeKeyDefault(key + QStringLiteral("\\MiscStatus\\1"), e.miscStatusAspect1);
    }
    ok = ok && writeKeyDefault(key + QStringLiteral("\\TypeLib"), GuidToString(e.typeLib)) &&
         writeKeyDefault(key + QStringLiteral("\\Version"), e.version);
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterClassEntries(const ClassRegistration& e) {
    bool ok = RegKey::deleteKey(kClassesRoot, e.progId);
    ok = RegKey::deleteKey(kClassesRoot, e.versionIndependentProgId) && ok;
    ok = RegKey::deleteKey(kClassesRoot, clsidKeyPath(e.clsid)) && ok;
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT RegisterTypeLibEntries(const TypeLibRegistration& e) {
    const QString key =
        QStringLiteral("TypeLib\\") + GuidToString(e.libid) + QLatin1Char('\\') + e.version;
    const bool ok = writeKeyDefault(key, e.helpString) &&
                    writeKeyDefault(key + QStringLiteral("\\0\\linux"), e.modulePath) &&
                    writeKeyDefault(key + QStringLiteral("\\FLAGS"), QStringLiteral("0"));
    return ok ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT UnregisterTypeLibEntries(const TypeLibRegistration& e) {
    const QString lib = QStringLiteral("TypeLib\\") + GuidToString(e.libid);
    bool ok = RegKey::deleteKey(kClassesRoot, lib + QLatin1Char('\\') + e.version);
    // The library's key goes with its last version.
    RegKey libKey(kClassesRoot, lib, false);
    if (libKey.isValid() && libKey.subKeyNames().isEmpty() && libKey.valueNames().isEmpty())
        ok = RegKey::deleteKey(kClassesRoot, lib) && ok;
    return ok ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT CLSIDFromProgID(const QString& progId, CLSID* clsid) {
    if (!clsid) return E_POINTER;
    if (progId.isEmpty()) return CO_E_CLASSSTRING;
    RegKey key(kClassesRoot, progId + QStringLiteral("\\CLSID"), false);
    QString text;
    if (!key.isValid() || !key.readString(kDefault, text)) return CO_E_CLASSSTRING;
    return GuidFromString(text, *clsid) ? S_OK : CO_E_CLASSSTRING;
}

QString InprocServerPath(const CLSID& clsid) {
    RegKey key(kClassesRoot, clsidKeyPath(clsid) + QStringLiteral("\\InprocServer32"), false);
    QString path;
    if (!key.isValid() || !key.readString(kDefault, path)) return QString();
    return path;
}

HRESULT CoGetClassObject(const CLSID& clsid, std::uint32_t context, const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!(context & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
    const QString path = InprocServerPath(clsid);
    if (path.isEmpty()) return REGDB_E_CLASSNOTREG;
    QLibrary* lib = loadLibrary(path);
    if (!lib) return CO_E_DLLNOTFOUND;
    auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(lib->resolve("DllGetClassObject"));
    if (!getClassObject) return CO_E_ERRORINDLL;
    return getClassObject(&clsid, &iid, object);
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, std::uint32_t context, const IID& iid,
                         void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    ComPtr<IClassFactory> factory;
    const HRESULT hr = CoGetClassObject(clsid, context, IID_IClassFactory, factory.put());
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(outer, iid, object);
}

HRESULT CreateInstanceByProgID(const QString& progId, const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    CLSID clsid;
    const HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) return hr;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object);
}

void CoFreeUnusedLibraries() {
    LoadedLibraries& libs = loaded();
    std::lock_guard lock(libs.mutex);
    for (auto it = libs.byPath.begin(); it != libs.byPath.end();) {
        auto canUnload =
            reinterpret_cast<DllCanUnloadNowFn>(it->second->resolve("DllCanUnloadNow"));
        if (canUnload && canUnload() == S_OK) {
            it->second->unload();
            it = libs.byPath.erase(it);
        } else {
            ++it;
        }
    }
}

HRESULT RegisterServerLibrary(const QString& path, bool unregister) {
    QLibrary* lib = loadLibrary(path);
    if (!lib) return CO_E_DLLNOTFOUND;
    auto fn = reinterpret_cast<DllRegisterFn>(
        lib->resolve(unregister ? "DllUnregisterServer" : "DllRegisterServer"));
    if (!fn) return CO_E_ERRORINDLL;
    return fn();
}

}  // namespace zar
