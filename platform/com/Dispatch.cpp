#include "com/Dispatch.h"

namespace zar {

std::int32_t DispArgs::longAt(std::uint32_t i) const {
    std::int32_t value = 0;
    if (i < count()) FromVariant(at(i), value);
    return value;
}

double DispArgs::doubleAt(std::uint32_t i) const {
    double value = 0;
    if (i < count()) FromVariant(at(i), value);
    return value;
}

QString DispArgs::stringAt(std::uint32_t i) const {
    if (i >= count() || at(i).vt != VT_BSTR) return QString();
    return FromBstr(at(i).bstrVal);
}

VARIANT* DispArgs::variantRefAt(std::uint32_t i) const {
    if (i >= count() || at(i).vt != (VT_BYREF | VT_VARIANT)) return nullptr;
    return at(i).pvarVal;
}

HRESULT FromVariant(const VARIANT& v, std::int32_t& out) {
    switch (v.vt) {
        case VT_I4:
        case VT_INT:
        case VT_UI4:
            out = v.lVal;
            return S_OK;
        case VT_I2:
        case VT_BOOL:
            out = v.iVal;
            return S_OK;
        case VT_BYREF | VT_I4:
            out = v.plVal ? *v.plVal : 0;
            return S_OK;
        default:
            return DISP_E_TYPEMISMATCH;
    }
}

HRESULT FromVariant(const VARIANT& v, std::int16_t& out) {
    std::int32_t value = 0;
    const HRESULT hr = FromVariant(v, value);
    if (SUCCEEDED(hr)) out = static_cast<std::int16_t>(value);
    return hr;
}

HRESULT FromVariant(const VARIANT& v, double& out) {
    switch (v.vt) {
        case VT_R8:
            out = v.dblVal;
            return S_OK;
        case VT_R4:
            out = v.fltVal;
            return S_OK;
        case VT_BYREF | VT_R8:
            out = v.pdblVal ? *v.pdblVal : 0;
            return S_OK;
        default:
            break;
    }
    std::int32_t value = 0;
    const HRESULT hr = FromVariant(v, value);
    if (SUCCEEDED(hr)) out = value;
    return hr;
}

HRESULT FromVariant(const VARIANT& v, BSTR& out) {
    if (v.vt == VT_EMPTY) {
        out = nullptr;
        return S_OK;
    }
    if (v.vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
    out = v.bstrVal;
    return S_OK;
}

HRESULT FromVariant(const VARIANT& v, LPCWSTR& out) {
    BSTR text = nullptr;
    const HRESULT hr = FromVariant(v, text);
    if (SUCCEEDED(hr)) out = text;
    return hr;
}

ComPtr<EventSink> EventSink::Create(const IID& eventInterface) {
    return ComPtr<EventSink>(new EventSink(eventInterface));
}

HRESULT EventSink::QueryInterface(const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == iid_)
        return ProvideInterface(this, object);
    return E_NOINTERFACE;
}

ULONG EventSink::Release() {
    const ULONG left = refs_.decrement();
    if (left == 0) delete this;
    return left;
}

HRESULT EventSink::GetTypeInfoCount(std::uint32_t* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT EventSink::Invoke(DISPID id, const IID&, LCID, std::uint16_t, DISPPARAMS* params, VARIANT*,
                          EXCEPINFO*, std::uint32_t*) {
    auto it = handlers_.find(id);
    if (it == handlers_.end()) return S_OK;
    // A handler may replace the table (or release the sink); keep both alive for the call.
    ComPtr<EventSink> self(this);
    const Handler handler = it->second;
    handler(DispArgs(params));
    return S_OK;
}

HRESULT EventConnection::connect(IUnknown* source, const IID& eventInterface, IUnknown* sink) {
    disconnect();
    if (!source || !sink) return E_POINTER;
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, container.put());
    if (FAILED(hr)) return hr;
    ComPtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(eventInterface, point.putTyped());
    if (FAILED(hr)) return hr;
    hr = point->Advise(sink, &cookie_);
    if (FAILED(hr)) return hr;
    point_ = point;
    return S_OK;
}

void EventConnection::disconnect() {
    if (!point_) return;
    ComPtr<IConnectionPoint> point = std::move(point_);
    point_.reset();
    point->Unadvise(cookie_);
    cookie_ = 0;
}

}  // namespace zar
