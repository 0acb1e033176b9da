#pragma once
// The basic COM types: result codes, GUIDs, strings, variants and the root interfaces.
//
// Interfaces are abstract classes without virtual destructors, so that their virtual tables hold
// exactly the members in declaration order (IUnknown in slots 0-2, IDispatch in slots 3-6).
// `long` of the type library is 32-bit everywhere, so it is std::int32_t here.

#include <QString>

#include <cstdint>
#include <string>

class QWidget;

namespace zar {

using HRESULT = std::int32_t;
using DISPID = std::int32_t;
using LCID = std::uint32_t;
using ULONG = std::uint32_t;
using VARTYPE = std::uint16_t;
using LPCWSTR = const char16_t*;

constexpr HRESULT HResult(std::uint32_t code) {
    return static_cast<HRESULT>(code);
}
constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = HResult(0x80004001);
constexpr HRESULT E_NOINTERFACE = HResult(0x80004002);
constexpr HRESULT E_POINTER = HResult(0x80004003);
constexpr HRESULT E_FAIL = HResult(0x80004005);
constexpr HRESULT E_UNEXPECTED = HResult(0x8000FFFF);
constexpr HRESULT E_OUTOFMEMORY = HResult(0x8007000E);
constexpr HRESULT E_INVALIDARG = HResult(0x80070057);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = HResult(0x80020003);
constexpr HRESULT DISP_E_TYPEMISMATCH = HResult(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = HResult(0x80020006);
constexpr HRESULT DISP_E_BADPARAMCOUNT = HResult(0x8002000E);
constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = HResult(0x8002000F);
constexpr HRESULT CLASS_E_NOAGGREGATION = HResult(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = HResult(0x80040111);
constexpr HRESULT REGDB_E_CLASSNOTREG = HResult(0x80040154);
constexpr HRESULT CONNECT_E_NOCONNECTION = HResult(0x80040200);
constexpr HRESULT CONNECT_E_ADVISELIMIT = HResult(0x80040201);
constexpr HRESULT SELFREG_E_CLASS = HResult(0x80040201);
constexpr HRESULT SELFREG_E_TYPELIB = HResult(0x80040200);
constexpr HRESULT CO_E_CLASSSTRING = HResult(0x800401F3);
constexpr HRESULT CO_E_DLLNOTFOUND = HResult(0x800401F8);
constexpr HRESULT CO_E_ERRORINDLL = HResult(0x800401F9);

constexpr LCID LOCALE_USER_DEFAULT = 0x0400;

constexpr std::uint16_t DISPATCH_METHOD = 0x1;
constexpr std::uint16_t DISPATCH_PROPERTYGET = 0x2;
constexpr std::uint16_t DISPATCH_PROPERTYPUT = 0x4;

constexpr std::uint32_t CLSCTX_INPROC_SERVER = 0x1;

struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::uint8_t Data4[8] = {};

    friend constexpr bool operator==(const GUID& a, const GUID& b) {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
        for (int i = 0; i < 8; ++i)
            if (a.Data4[i] != b.Data4[i]) return false;
        return true;
    }
};
using IID = GUID;
using CLSID = GUID;
constexpr GUID IID_NULL{};

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, as the registry keys spell it.
QString GuidToString(const GUID& guid);
// Accepts the braced form above in either case; false (guid untouched) for anything else.
bool GuidFromString(const QString& text, GUID& guid);

// BSTR: a length-prefixed, null-terminated UTF-16 string owned by whoever the call says.
using BSTR = char16_t*;
BSTR SysAllocString(LPCWSTR text);
BSTR SysAllocStringLen(LPCWSTR text, std::uint32_t length);
BSTR SysAllocQString(const QString& text);
void SysFreeString(BSTR text);
std::uint32_t SysStringLen(BSTR text);
// Text of a wide string that may be null (null reads as empty).
QString FromWide(LPCWSTR text);
QString FromBstr(BSTR text);

// Owns one BSTR.
class BStr {
  public:
    BStr() = default;
    explicit BStr(const QString& text) : text_(SysAllocQString(text)) {}
    ~BStr() { SysFreeString(text_); }
    BStr(const BStr&) = delete;
    BStr& operator=(const BStr&) = delete;
    BSTR get() const { return text_; }
    BSTR* put() {
        SysFreeString(text_);
        text_ = nullptr;
        return &text_;
    }
    QString toQString() const { return FromBstr(text_); }

  private:
    BSTR text_ = nullptr;
};

enum VarEnum : VARTYPE {
    VT_EMPTY = 0,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_UI4 = 19,
    VT_INT = 22,
    VT_PTR = 26,
    VT_BYREF = 0x4000,
};

class IUnknown;
class IDispatch;

// A variant holds a value by type, or a pointer to caller memory when VT_BYREF is set. It never
// owns what it points at: the caller keeps BSTRs and interfaces alive for the call.
struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    union {
        std::int32_t lVal;
        std::int16_t iVal;
        float fltVal;
        double dblVal;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        void* byref;
        VARIANT* pvarVal;
        std::int32_t* plVal;
        double* pdblVal;
    };
    VARIANT() : dblVal(0) {}
};

VARIANT VariantLong(std::int32_t value);
VARIANT VariantDouble(double value);
VARIANT VariantBstr(BSTR value);
VARIANT VariantByRef(VARIANT* value);
VARIANT VariantPointer(void* value);

struct DISPPARAMS {
    VARIANT* rgvarg = nullptr;  // the arguments, last one first
    DISPID* rgdispidNamedArgs = nullptr;
    std::uint32_t cArgs = 0;
    std::uint32_t cNamedArgs = 0;
};

struct EXCEPINFO {
    std::uint16_t wCode = 0;
    HRESULT scode = S_OK;
};

class IUnknown {
  public:
    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

  protected:
    ~IUnknown() = default;
};

class IDispatch : public IUnknown {
  public:
    virtual HRESULT GetTypeInfoCount(std::uint32_t* count) = 0;
    virtual HRESULT GetTypeInfo(std::uint32_t index, LCID lcid, void** typeInfo) = 0;
    virtual HRESULT GetIDsOfNames(const IID& iid, LPCWSTR* names, std::uint32_t count, LCID lcid,
                                  DISPID* ids) = 0;
    virtual HRESULT Invoke(DISPID id, const IID& iid, LCID lcid, std::uint16_t flags,
                           DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                           std::uint32_t* argError) = 0;

  protected:
    ~IDispatch() = default;
};

class IClassFactory : public IUnknown {
  public:
    virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;
    virtual HRESULT LockServer(std::int32_t lock) = 0;

  protected:
    ~IClassFactory() = default;
};

class IConnectionPointContainer;

class IConnectionPoint : public IUnknown {
  public:
    virtual HRESULT GetConnectionInterface(IID* iid) = 0;
    virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) = 0;
    virtual HRESULT Advise(IUnknown* sink, std::uint32_t* cookie) = 0;
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;

  protected:
    ~IConnectionPoint() = default;
};

class IConnectionPointContainer : public IUnknown {
  public:
    virtual HRESULT FindConnectionPoint(const IID& iid, IConnectionPoint** point) = 0;

  protected:
    ~IConnectionPointContainer() = default;
};

// Control containment in our layer: the host asks the control for its window as a child of a
// widget of its own, and persists the control's extent (HIMETRIC) as "_cx" and "_cy".
struct SIZEL {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
};

class IControlWindow : public IUnknown {
  public:
    // Creates the control's window on first call (later calls return the same window, moved to
    // the new parent). The parent owns the window; the control forgets it when it is destroyed.
    virtual HRESULT CreateControlWindow(QWidget* parent, QWidget** window) = 0;
    virtual HRESULT GetExtent(SIZEL* extent) = 0;
    virtual HRESULT SetExtent(const SIZEL* extent) = 0;
    // The persisted property set ("_cx", "_cy") as "name=value" lines.
    virtual HRESULT Save(BSTR* state) = 0;
    virtual HRESULT Load(LPCWSTR state) = 0;

  protected:
    ~IControlWindow() = default;
};

// Interface ids of the layer's own interfaces (the standard values where COM has them).
constexpr IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IClassFactory{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IConnectionPoint{
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
constexpr IID IID_IConnectionPointContainer{
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
constexpr IID IID_IControlWindow{
    0x5E0C1A62, 0x3F7D, 0x4B8E, {0x9A, 0x41, 0x6C, 0x2D, 0x8B, 0x17, 0xE0, 0x93}};

// Holds one reference to an interface.
template <class T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a reference of its own.
    explicit ComPtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    void reset() {
        if (p_) {
            T* p = p_;
            p_ = nullptr;
            p->Release();
        }
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out parameters: releases what is held and gives the slot.
    void** put() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    T** putTyped() {
        reset();
        return &p_;
    }
    // Gives up the reference without releasing it.
    T* detach() {
        T* p = p_;
        p_ = nullptr;
        return p;
    }

    template <class U>
    HRESULT queryInterface(const IID& iid, ComPtr<U>& out) const {
        if (!p_) return E_POINTER;
        return p_->QueryInterface(iid, out.put());
    }

  private:
    T* p_ = nullptr;
};

}  // namespace zar
