#pragma once
// Reference counting, the server's lock count and class factories.

#include "com/ComTypes.h"

#include <atomic>
#include <functional>
#include <new>

namespace zar {

// A server's lock count: live objects plus LockServer(TRUE) calls on its class factories.
class ComModule {
  public:
    ULONG Lock() { return static_cast<ULONG>(++locks_); }
    ULONG Unlock() { return static_cast<ULONG>(--locks_); }
    long GetLockCount() const { return locks_.load(); }

  private:
    std::atomic<long> locks_{0};
};

// The reference count of one object. It starts at 0: whoever creates the object queries it for
// an interface, which takes the first reference.
class RefCount {
  public:
    ULONG increment() { return static_cast<ULONG>(++count_); }
    // Returns the count after the release; 0 means the owner deletes itself.
    ULONG decrement() { return static_cast<ULONG>(--count_); }
    ULONG value() const { return static_cast<ULONG>(count_.load()); }

  private:
    std::atomic<long> count_{0};
};

// Holds a module lock for the life of an object (member of every server object).
class ModuleLock {
  public:
    explicit ModuleLock(ComModule& module) : module_(module) { module_.Lock(); }
    ~ModuleLock() { module_.Unlock(); }
    ModuleLock(const ModuleLock&) = delete;
    ModuleLock& operator=(const ModuleLock&) = delete;

  private:
    ComModule& module_;
};

// Gives *object the interface pointer p with one added reference, or E_NOINTERFACE.
inline HRESULT ProvideInterface(IUnknown* p, void** object) {
    *object = p;
    p->AddRef();
    return S_OK;
}

// The one class-factory kind of a server: creates objects through a function that returns a new
// object with reference count 0 (or null when out of memory). No aggregation.
class ClassFactory final : public IClassFactory {
  public:
    using Creator = std::function<HRESULT(const IID& iid, void** object)>;

    ClassFactory(ComModule& module, Creator creator)
        : module_(module), creator_(std::move(creator)) {}

    HRESULT QueryInterface(const IID& iid, void** object) override;
    ULONG AddRef() override { return refs_.increment(); }
    ULONG Release() override;
    HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override;
    HRESULT LockServer(std::int32_t lock) override;

    // The server keeps one factory per class alive for its own life (not counted as a lock).
    static ComPtr<ClassFactory> Make(ComModule& module, Creator creator);

  private:
    ~ClassFactory() = default;
    ComModule& module_;
    Creator creator_;
    RefCount refs_;
};

// Creates a T with `new (std::nothrow)`, queries iid and drops the object again when the
// interface is not there. T's constructor must leave its reference count at 0.
template <class T, class... Args>
HRESULT CreateComObject(const IID& iid, void** object, Args&&... args) {
    if (!object) return E_POINTER;
    *object = nullptr;
    T* p = new (std::nothrow) T(std::forward<Args>(args)...);
    if (!p) return E_OUTOFMEMORY;
    p->AddRef();
    const HRESULT hr = p->QueryInterface(iid, object);
    p->Release();
    return hr;
}

}  // namespace zar
