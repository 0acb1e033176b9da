#pragma once
// The source side of events: one connection point of an object, holding the connected sinks and
// firing an event to each of them through IDispatch::Invoke.

#include "com/ComObject.h"

#include <vector>

namespace zar {

// Lives inside the object that offers it and shares that object's reference count.
class ConnectionPoint final : public IConnectionPoint {
  public:
    // owner: the object's IConnectionPointContainer (not owned; it owns this).
    ConnectionPoint(IConnectionPointContainer& owner, const IID& eventInterface)
        : owner_(owner), iid_(eventInterface) {}
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;
    ~ConnectionPoint() = default;

    HRESULT QueryInterface(const IID& iid, void** object) override;
    ULONG AddRef() override { return owner_.AddRef(); }
    ULONG Release() override { return owner_.Release(); }
    HRESULT GetConnectionInterface(IID* iid) override;
    HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) override;
    // The sink must answer the event interface or IDispatch.
    HRESULT Advise(IUnknown* sink, std::uint32_t* cookie) override;
    HRESULT Unadvise(std::uint32_t cookie) override;

    const IID& eventInterface() const { return iid_; }
    std::size_t sinkCount() const { return sinks_.size(); }

    // Calls the event on every connected sink: DISPATCH_METHOD, the user-default locale and the
    // arguments (given here in declaration order) passed last one first. Sinks may unadvise, and
    // others advise, from inside a handler: each sink connected when the firing started and
    // still connected when its turn comes is called once. Results are ignored.
    void Fire(DISPID id, std::vector<VARIANT> arguments);
    // Drops every sink (the owner is going away).
    void UnadviseAll();

  private:
    struct Sink {
        std::uint32_t cookie;
        ComPtr<IDispatch> dispatch;
    };
    IConnectionPointContainer& owner_;
    IID iid_;
    std::vector<Sink> sinks_;
    std::uint32_t nextCookie_ = 1;
};

}  // namespace zar
