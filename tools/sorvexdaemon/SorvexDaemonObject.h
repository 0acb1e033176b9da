#pragma once
// The search daemon's automation object: Submit (dispatch id 1) with the seven texts of a
// search copies the list and the parameters and hands the job to the SORVEX Queue; its result
// is the job's id, or why it could not be handed over.

#include "com/ComObject.h"

namespace zar {

class CSorvexDaemonObject final : public IDispatch {
  public:
    static HRESULT Create(const IID& iid, void** object);

    HRESULT QueryInterface(const IID& iid, void** object) override;
    ULONG AddRef() override { return refs_.increment(); }
    ULONG Release() override;
    HRESULT GetTypeInfoCount(std::uint32_t* count) override;
    HRESULT GetTypeInfo(std::uint32_t, LCID, void**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(const IID&, LPCWSTR* names, std::uint32_t count, LCID,
                          DISPID* ids) override;
    HRESULT Invoke(DISPID id, const IID& iid, LCID lcid, std::uint16_t flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, std::uint32_t* argError) override;

    // Made through Create; the reference count starts at 0.
    CSorvexDaemonObject();

  private:
    ~CSorvexDaemonObject() = default;
    RefCount refs_;
    ModuleLock lock_;
};

ComModule& SorvexDaemonModule();

}  // namespace zar
