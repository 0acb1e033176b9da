#include "PlotWrappers.h"

namespace zar {

void CChro::SetShowFocusRect(bool show) {
    ZAR_PLOTLib::IChro* chro = Interface();
    if (!chro) throw CComError(E_POINTER);
    VARIANT value = VariantLong(show ? 1 : 0);
    DISPPARAMS params;
    params.rgvarg = &value;
    params.cArgs = 1;
    constexpr DISPID kShowFocusRect = 2;
    CheckHr(chro->Invoke(kShowFocusRect, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                         &params, nullptr, nullptr, nullptr));
}

}  // namespace zar
