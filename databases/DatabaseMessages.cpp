#include "databases/DatabaseMessages.h"

namespace zar::dbmsg {

unsigned StatusTextMessage() {
    static const unsigned m = RegisterWindowMessage(QStringLiteral("ZAR_DATABASE_STATUS_TEXT"));
    return m;
}

unsigned ProgressMessage() {
    static const unsigned m = RegisterWindowMessage(QStringLiteral("ZAR_DATABASE_PROGRESS"));
    return m;
}

unsigned ListLineMessage() {
    static const unsigned m = RegisterWindowMessage(QStringLiteral("ZAR_DATABASE_LIST_LINE"));
    return m;
}

unsigned WorkDoneMessage() {
    static const unsigned m = RegisterWindowMessage(QStringLiteral("ZAR_DATABASE_WORK_DONE"));
    return m;
}

}  // namespace zar::dbmsg
