#pragma once
// The exception that the program's interface wrappers throw when a COM call fails.

#include "com/ComTypes.h"

#include <QString>

#include <stdexcept>

namespace zar {

class CComError : public std::runtime_error {
  public:
    explicit CComError(HRESULT hr);
    HRESULT Error() const { return hr_; }
    QString ErrorMessage() const;

  private:
    HRESULT hr_;
};

// Text of a result code, e.g. "Unspecified error" for E_FAIL; unknown codes in hexadecimal.
QString HResultText(HRESULT hr);

// Throws CComError when hr is a failure; returns hr otherwise (S_FALSE stays visible).
inline HRESULT CheckHr(HRESULT hr) {
    if (FAILED(hr)) throw CComError(hr);
    return hr;
}

}  // namespace zar
