#include "SorvexDaemon.h"

#include "com/ComRegistry.h"

#include <QFileInfo>

#include <deque>
#include <vector>

namespace zar {

std::unique_ptr<CSorvexDaemonDriver> CSorvexDaemonDriver::Create() {
    void* object = nullptr;
    if (FAILED(CreateInstanceByProgID(QString::fromLatin1(kSorvexDaemonProgId), IID_IDispatch,
                                      &object)) ||
        !object)
        return nullptr;
    return std::unique_ptr<CSorvexDaemonDriver>(
        new CSorvexDaemonDriver(static_cast<IDispatch*>(object)));
}

CSorvexDaemonDriver::~CSorvexDaemonDriver() {
    if (dispatch_) dispatch_->Release();
}

HRESULT CSorvexDaemonDriver::Submit(const QString& rawFile, const QString& databasePath,
                                    const QString& resultsDirectory, const QString& callerDirectory,
                                    const QString& command, const QString& commandNoList,
                                    const QString& priority, QString* error) {
    const QString texts[] = {rawFile, databasePath,  resultsDirectory, callerDirectory,
                             command, commandNoList, priority};
    std::deque<BStr> strings;
    for (const QString& text : texts) strings.emplace_back(text);
    // Arguments travel last one first.
    std::vector<VARIANT> arguments;
    for (auto it = strings.rbegin(); it != strings.rend(); ++it)
        arguments.push_back(VariantBstr(it->get()));
    DISPPARAMS params;
    params.rgvarg = arguments.data();
    params.cArgs = static_cast<std::uint32_t>(arguments.size());
    VARIANT result;
    EXCEPINFO exception;
    const HRESULT hr = dispatch_->Invoke(kDispidSubmit, IID_NULL, LOCALE_USER_DEFAULT,
                                         DISPATCH_METHOD, &params, &result, &exception, nullptr);
    if (result.vt == VT_BSTR) {
        if (error) *error = FromBstr(result.bstrVal);
        SysFreeString(result.bstrVal);
    }
    return hr;
}

bool EnsureSorvexDaemonRegistered(const QString& libraryPath) {
    const QString wanted = QFileInfo(libraryPath).canonicalFilePath();
    if (wanted.isEmpty()) return false;
    CLSID clsid;
    if (SUCCEEDED(CLSIDFromProgID(QString::fromLatin1(kSorvexDaemonProgId), &clsid)) &&
        QFileInfo(InprocServerPath(clsid)).canonicalFilePath() == wanted)
        return true;
    return SUCCEEDED(RegisterServerLibrary(wanted, false));
}

}  // namespace zar
