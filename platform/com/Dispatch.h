#pragma once
// Late binding: an object answers IDispatch::Invoke by dispatch id through a table of its
// interface's members, and the program receives events through a sink whose Invoke calls
// handlers by dispatch id. Arguments arrive last one first, as COM passes them; both sides see
// them here in declaration order.

#include "com/ComObject.h"

#include <QString>

#include <functional>
#include <map>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace zar {

// The arguments of one Invoke call, in declaration order.
class DispArgs {
  public:
    explicit DispArgs(const DISPPARAMS* params) : params_(params) {}
    std::uint32_t count() const { return params_ ? params_->cArgs : 0; }
    const VARIANT& at(std::uint32_t i) const { return params_->rgvarg[count() - 1 - i]; }

    // Typed reads; a missing or mismatched argument reads as 0 / empty.
    std::int32_t longAt(std::uint32_t i) const;
    double doubleAt(std::uint32_t i) const;
    QString stringAt(std::uint32_t i) const;
    VARIANT* variantRefAt(std::uint32_t i) const;

  private:
    const DISPPARAMS* params_;
};

HRESULT FromVariant(const VARIANT& v, std::int32_t& out);
HRESULT FromVariant(const VARIANT& v, std::int16_t& out);
HRESULT FromVariant(const VARIANT& v, double& out);
HRESULT FromVariant(const VARIANT& v, BSTR& out);
HRESULT FromVariant(const VARIANT& v, LPCWSTR& out);

template <class E>
requires std::is_enum_v<E> HRESULT FromVariant(const VARIANT& v, E& out) {
    std::int32_t value = 0;
    const HRESULT hr = FromVariant(v, value);
    if (SUCCEEDED(hr)) out = static_cast<E>(value);
    return hr;
}

// Pointers to caller memory travel by reference; an empty variant is a null pointer.
template <class T>
HRESULT FromVariant(const VARIANT& v, T*& out) {
    if (v.vt == VT_EMPTY) {
        out = nullptr;
        return S_OK;
    }
    if (!(v.vt & VT_BYREF)) return DISP_E_TYPEMISMATCH;
    out = static_cast<T*>(v.byref);
    return S_OK;
}

inline void ToVariant(std::int32_t value, VARIANT& v) {
    v = VariantLong(value);
}
inline void ToVariant(double value, VARIANT& v) {
    v = VariantDouble(value);
}
// The receiver of a BSTR result frees it.
inline void ToVariant(BSTR value, VARIANT& v) {
    v = VariantBstr(value);
}

// The members of interface I by dispatch id and kind.
template <class I>
class DispatchTable {
  public:
    using Invoker = std::function<HRESULT(I&, const DispArgs&, VARIANT*)>;

    template <class... A>
    DispatchTable& method(DISPID id, const char* name, HRESULT (I::*fn)(A...)) {
        return add(id, DISPATCH_METHOD, name, bind(fn));
    }
    template <class... A>
    DispatchTable& put(DISPID id, const char* name, HRESULT (I::*fn)(A...)) {
        return add(id, DISPATCH_PROPERTYPUT, name, bind(fn));
    }
    template <class R>
    DispatchTable& get(DISPID id, const char* name, HRESULT (I::*fn)(R*)) {
        return add(id, DISPATCH_PROPERTYGET, name,
                   [fn](I& obj, const DispArgs& args, VARIANT* result) -> HRESULT {
                       if (args.count() != 0) return DISP_E_BADPARAMCOUNT;
                       R value{};
                       const HRESULT hr = (obj.*fn)(&value);
                       if (SUCCEEDED(hr) && result) ToVariant(value, *result);
                       return hr;
                   });
    }

    HRESULT invoke(I& obj, DISPID id, std::uint16_t flags, const DISPPARAMS* params,
                   VARIANT* result) const {
        for (std::uint16_t kind : {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT}) {
            if (!(flags & kind)) continue;
            auto it = entries_.find({id, kind});
            if (it != entries_.end()) return it->second(obj, DispArgs(params), result);
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    HRESULT idOfName(LPCWSTR name, DISPID* id) const {
        const QString text = FromWide(name);
        auto it = ids_.find(text.toLower());
        if (it == ids_.end()) return DISP_E_UNKNOWNNAME;
        *id = it->second;
        return S_OK;
    }

  private:
    DispatchTable& add(DISPID id, std::uint16_t kind, const char* name, Invoker invoker) {
        entries_[{id, kind}] = std::move(invoker);
        ids_[QString::fromLatin1(name).toLower()] = id;
        return *this;
    }

    template <class... A>
    static Invoker bind(HRESULT (I::*fn)(A...)) {
        return [fn](I& obj, const DispArgs& args, VARIANT*) -> HRESULT {
            if (args.count() != sizeof...(A)) return DISP_E_BADPARAMCOUNT;
            return call(obj, fn, args, std::index_sequence_for<A...>{});
        };
    }

    template <class... A, std::size_t... K>
    static HRESULT call(I& obj, HRESULT (I::*fn)(A...), const DispArgs& args,
                        std::index_sequence<K...>) {
        std::tuple<std::decay_t<A>...> values{};
        HRESULT hr = S_OK;
        ((hr = SUCCEEDED(hr) ? FromVariant(args.at(K), std::get<K>(values)) : hr), ...);
        if (FAILED(hr)) return hr;
        return (obj.*fn)(std::get<K>(values)...);
    }

    std::map<std::pair<DISPID, std::uint16_t>, Invoker> entries_;
    std::map<QString, DISPID> ids_;
};

// An event sink: a dispatch object whose Invoke calls the handler of the event's dispatch id.
// Events without a handler are accepted and ignored.
class EventSink final : public IDispatch {
  public:
    using Handler = std::function<void(const DispArgs&)>;

    static ComPtr<EventSink> Create(const IID& eventInterface);
    void on(DISPID id, Handler handler) { handlers_[id] = std::move(handler); }

    HRESULT QueryInterface(const IID& iid, void** object) override;
    ULONG AddRef() override { return refs_.increment(); }
    ULONG Release() override;
    HRESULT GetTypeInfoCount(std::uint32_t* count) override;
    HRESULT GetTypeInfo(std::uint32_t, LCID, void**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(const IID&, LPCWSTR*, std::uint32_t, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT Invoke(DISPID id, const IID& iid, LCID lcid, std::uint16_t flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, std::uint32_t* argError) override;

  private:
    explicit EventSink(const IID& eventInterface) : iid_(eventInterface) {}
    ~EventSink() = default;
    IID iid_;
    RefCount refs_;
    std::map<DISPID, Handler> handlers_;
};

// Keeps a sink connected to a source's connection point for its own life.
class EventConnection {
  public:
    EventConnection() = default;
    ~EventConnection() { disconnect(); }
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;

    HRESULT connect(IUnknown* source, const IID& eventInterface, IUnknown* sink);
    void disconnect();
    bool isConnected() const { return static_cast<bool>(point_); }

  private:
    ComPtr<IConnectionPoint> point_;
    std::uint32_t cookie_ = 0;
};

}  // namespace zar
