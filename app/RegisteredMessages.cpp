#include "RegisteredMessages.h"

#include "messages/Messages.h"

namespace zar {

const RegisteredMessages& ProgramMessages() {
    static const RegisteredMessages m{
        RegisterWindowMessage(QStringLiteral("WM_DATABASE_SIZE")),
        RegisterWindowMessage(QStringLiteral("ZV_DRAVELMS_PROGRESS")),
        RegisterWindowMessage(QStringLiteral("ZV_DRAVELMSN_PROGRESS")),
        RegisterWindowMessage(QStringLiteral("ZV_MASSMAP_PROGRESS")),
        RegisterWindowMessage(QStringLiteral("ZV_SORVEX_PROGRESS")),
    };
    return m;
}

}  // namespace zar
