#include "SorvexDaemonObject.h"

#include "com/Dispatch.h"
#include "search/SorvexDaemon.h"
#include "search/SorvexQueueClient.h"

namespace zar {

namespace {

constexpr std::uint32_t kSubmitArguments = 7;
// How long Submit waits for a queue that is still starting.
constexpr int kQueueWaitMilliseconds = 15000;

}  // namespace

ComModule& SorvexDaemonModule() {
    static ComModule module;
    return module;
}

CSorvexDaemonObject::CSorvexDaemonObject() : lock_(SorvexDaemonModule()) {}

HRESULT CSorvexDaemonObject::Create(const IID& iid, void** object) {
    return CreateComObject<CSorvexDaemonObject>(iid, object);
}

HRESULT CSorvexDaemonObject::QueryInterface(const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch) return ProvideInterface(this, object);
    return E_NOINTERFACE;
}

ULONG CSorvexDaemonObject::Release() {
    const ULONG left = refs_.decrement();
    if (left == 0) delete this;
    return left;
}

HRESULT CSorvexDaemonObject::GetTypeInfoCount(std::uint32_t* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CSorvexDaemonObject::GetIDsOfNames(const IID&, LPCWSTR* names, std::uint32_t count, LCID,
                                           DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return S_OK;
    if (FromWide(names[0]).compare(QLatin1String("Submit"), Qt::CaseInsensitive) != 0)
        return DISP_E_UNKNOWNNAME;
    ids[0] = kDispidSubmit;
    return S_OK;
}

HRESULT CSorvexDaemonObject::Invoke(DISPID id, const IID&, LCID, std::uint16_t flags,
                                    DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                    std::uint32_t*) {
    if (id != kDispidSubmit || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    const DispArgs args(params);
    if (args.count() != kSubmitArguments) return DISP_E_BADPARAMCOUNT;
    ComPtr<CSorvexDaemonObject> self(this);
    QString text;
    std::optional<SorvexQueueJob> job =
        MakeSorvexQueueJob(args.stringAt(0), args.stringAt(1), args.stringAt(2), args.stringAt(3),
                           args.stringAt(4), args.stringAt(5), args.stringAt(6), &text);
    const bool sent = job && SendToSorvexQueue(*job, kQueueWaitMilliseconds, &text);
    if (result) *result = VariantBstr(SysAllocQString(text));
    return sent ? S_OK : E_FAIL;
}

}  // namespace zar
