#include "XAxisControl.h"

namespace zar::plot {

using namespace ZAR_PLOTLib;

CXAxisControl::CXAxisControl() : CComControl(kCoclasses[3]) {}

CXAxisControl::~CXAxisControl() = default;

HRESULT CXAxisControl::SetClientRange(std::int32_t nLeft, std::int32_t nRight) {
    (void)nLeft;
    (void)nRight;
    return NotYetAvailable();
}

HRESULT CXAxisControl::Initialize() {
    m_bInitialized = true;
    Invalidate();
    return S_OK;
}

HRESULT CXAxisControl::SetRange(double dStartTime, double dEndTime) {
    if (!m_bInitialized) return E_FAIL;
    if (!FiniteValues({dStartTime, dEndTime})) return E_INVALIDARG;
    m_dStartTime = dStartTime;
    m_dEndTime = dEndTime;
    Invalidate();
    return S_OK;
}

}  // namespace zar::plot
