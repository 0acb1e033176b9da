#include "com/ConnectionPoint.h"

#include <algorithm>

namespace zar {

HRESULT ConnectionPoint::QueryInterface(const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint) return ProvideInterface(this, object);
    return E_NOINTERFACE;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = &owner_;
    owner_.AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, std::uint32_t* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(iid_, dispatch.put())) &&
        FAILED(sink->QueryInterface(IID_IDispatch, dispatch.put())))
        return CONNECT_E_ADVISELIMIT;
    *cookie = nextCookie_++;
    sinks_.push_back({*cookie, std::move(dispatch)});
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(std::uint32_t cookie) {
    auto it = std::find_if(sinks_.begin(), sinks_.end(),
                           [cookie](const Sink& s) { return s.cookie == cookie; });
    if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
    // Release outside the list, so a sink that unadvises others when it dies sees a whole list.
    ComPtr<IDispatch> released = std::move(it->dispatch);
    sinks_.erase(it);
    return S_OK;
}

void ConnectionPoint::Fire(DISPID id, std::vector<VARIANT> arguments) {
    std::reverse(arguments.begin(), arguments.end());
    DISPPARAMS params;
    params.rgvarg = arguments.empty() ? nullptr : arguments.data();
    params.cArgs = static_cast<std::uint32_t>(arguments.size());
    // A snapshot keeps each sink alive through its call, whatever the handlers change.
    const std::vector<Sink> snapshot = sinks_;
    for (const Sink& sink : snapshot) {
        const bool stillConnected = std::any_of(
            sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.cookie == sink.cookie; });
        if (!stillConnected || !sink.dispatch) continue;
        sink.dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                              nullptr, nullptr);
    }
}

void ConnectionPoint::UnadviseAll() {
    std::vector<Sink> old;
    old.swap(sinks_);
}

}  // namespace zar
