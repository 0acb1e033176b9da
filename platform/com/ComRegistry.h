#pragma once
// Class registration and creation: ProgID -> class id -> in-process server library, all kept in
// the classes root of the registry layer, and CoCreateInstance-like creation that loads the
// library with QLibrary and asks its DllGetClassObject for a class factory.

#include "com/ComTypes.h"

#include <QString>

namespace zar {

// The registry entries of one creatable class (what a registration script writes).
struct ClassRegistration {
    CLSID clsid;
    QString description;               // default value of the ProgID and CLSID keys
    QString progId;                    // "Server.Class.1"
    QString versionIndependentProgId;  // "Server.Class"
    QString modulePath;                // absolute path of the server library
    QString threadingModel = QStringLiteral("Apartment");
    bool control = false;   // writes Control, Insertable, ToolboxBitmap32, MiscStatus
    QString toolboxBitmap;  // e.g. "<module>, 102"
    QString miscStatus = QStringLiteral("0");
    QString miscStatusAspect1;  // value of MiscStatus\1
    GUID typeLib;
    QString version = QStringLiteral("1.0");
};

struct TypeLibRegistration {
    GUID libid;
    QString version = QStringLiteral("1.0");
    QString helpString;
    QString modulePath;
};

// The name of a key's default value in the registry layer.
inline QString DefaultValueName() {
    return QString();
}

HRESULT RegisterClassEntries(const ClassRegistration& entry);
// Removes the two ProgID keys and the class's CLSID key whole; the CLSID root stays.
HRESULT UnregisterClassEntries(const ClassRegistration& entry);
HRESULT RegisterTypeLibEntries(const TypeLibRegistration& entry);
HRESULT UnregisterTypeLibEntries(const TypeLibRegistration& entry);

// CO_E_CLASSSTRING when the ProgID is not registered.
HRESULT CLSIDFromProgID(const QString& progId, CLSID* clsid);
// The InprocServer32 path of a class, or an empty text.
QString InprocServerPath(const CLSID& clsid);

// REGDB_E_CLASSNOTREG when the class is not registered; CO_E_DLLNOTFOUND when its library
// cannot be loaded; CO_E_ERRORINDLL when the library lacks DllGetClassObject.
HRESULT CoGetClassObject(const CLSID& clsid, std::uint32_t context, const IID& iid, void** object);
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, std::uint32_t context, const IID& iid,
                         void** object);
HRESULT CreateInstanceByProgID(const QString& progId, const IID& iid, void** object);

// Unloads every loaded server library whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();

// Loads a server library and calls its DllRegisterServer (or DllUnregisterServer).
HRESULT RegisterServerLibrary(const QString& path, bool unregister);

}  // namespace zar
