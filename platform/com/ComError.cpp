#include "com/ComError.h"

namespace zar {

QString HResultText(HRESULT hr) {
    switch (hr) {
        case S_OK:
            return QStringLiteral("The operation completed successfully");
        case S_FALSE:
            return QStringLiteral("False");
        case E_NOTIMPL:
            return QStringLiteral("Not implemented");
        case E_NOINTERFACE:
            return QStringLiteral("No such interface supported");
        case E_POINTER:
            return QStringLiteral("Invalid pointer");
        case E_FAIL:
            return QStringLiteral("Unspecified error");
        case E_UNEXPECTED:
            return QStringLiteral("Catastrophic failure");
        case E_OUTOFMEMORY:
            return QStringLiteral("Not enough storage is available");
        case E_INVALIDARG:
            return QStringLiteral("The parameter is incorrect");
        case DISP_E_MEMBERNOTFOUND:
            return QStringLiteral("Member not found");
        case DISP_E_TYPEMISMATCH:
            return QStringLiteral("Type mismatch");
        case DISP_E_UNKNOWNNAME:
            return QStringLiteral("Unknown name");
        case DISP_E_BADPARAMCOUNT:
            return QStringLiteral("Invalid number of parameters");
        case CLASS_E_NOAGGREGATION:
            return QStringLiteral("Class does not support aggregation");
        case CLASS_E_CLASSNOTAVAILABLE:
            return QStringLiteral("ClassFactory cannot supply requested class");
        case REGDB_E_CLASSNOTREG:
            return QStringLiteral("Class not registered");
        case CONNECT_E_NOCONNECTION:
            return QStringLiteral("No connection for this cookie");
        case CO_E_CLASSSTRING:
            return QStringLiteral("Invalid class string");
        case CO_E_DLLNOTFOUND:
            return QStringLiteral("DLL for class not found");
        case CO_E_ERRORINDLL:
            return QStringLiteral("Error in the DLL");
        default:
            break;
    }
    return QString::asprintf("Error 0x%08X", static_cast<unsigned>(hr));
}

CComError::CComError(HRESULT hr) : std::runtime_error(HResultText(hr).toStdString()), hr_(hr) {}

QString CComError::ErrorMessage() const {
    return HResultText(hr_);
}

}  // namespace zar
