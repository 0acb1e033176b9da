#include "com/ComObject.h"

namespace zar {

HRESULT ClassFactory::QueryInterface(const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) return ProvideInterface(this, object);
    return E_NOINTERFACE;
}

ULONG ClassFactory::Release() {
    const ULONG left = refs_.decrement();
    if (left == 0) delete this;
    return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return creator_(iid, object);
}

HRESULT ClassFactory::LockServer(std::int32_t lock) {
    if (lock)
        module_.Lock();
    else
        module_.Unlock();
    return S_OK;
}

ComPtr<ClassFactory> ClassFactory::Make(ComModule& module, Creator creator) {
    return ComPtr<ClassFactory>(new ClassFactory(module, std::move(creator)));
}

}  // namespace zar
