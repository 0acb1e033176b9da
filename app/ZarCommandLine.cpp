#include "ZarCommandLine.h"

#include "core/Numbers.h"

namespace zar {

void CZarCommandLineInfo::Parse() {
    if (arguments.isEmpty()) return;
    for (const QString& a : arguments)
        if (a.compare(QLatin1String("/v"), Qt::CaseInsensitive) == 0 ||
            a.compare(QLatin1String("/verbose"), Qt::CaseInsensitive) == 0)
            verboseFlag = 1;

    auto is = [](const QString& a, const char* s) { return a.compare(QLatin1String(s), Qt::CaseInsensitive) == 0; };
    auto starts = [](const QString& a, const char* s) { return a.startsWith(QLatin1String(s), Qt::CaseInsensitive); };
    const int n = static_cast<int>(arguments.size());
    for (int i = 0; i < n; ++i) {
        QString arg = arguments[i];
        // A value taken from the next argument is consumed: the tests after it see the value.
        auto takeValue = [&](int prefix, QString& out) {
            if (arg.size() > prefix) {
                out = arg.mid(prefix);
            } else if (i + 1 < n) {
                arg = arguments[++i];
                out = arg;
            }
        };
        if (starts(arg, "/r")) takeValue(2, rValue);
        if (starts(arg, "/br")) {
            QString v;
            takeValue(3, v);
            if (!v.isEmpty()) brValue = static_cast<int>(LeadingInt(v));
        } else if (starts(arg, "/b")) {
            if (arg.size() >= 3) bValue = arg.mid(2);
            else if (i + 1 < n) {
                arg = arguments[++i];
                bValue = arg;
            }
        }
        if (starts(arg, "/d")) takeValue(2, dValue);
        if (is(arg, "/o") || is(arg, "/overwrite")) overwriteFlag = 1;
        if (is(arg, "/p")) pFlag = 1;
        if (is(arg, "/pf")) {
            pFlag = 1;
            pfFlag = 1;
        }
        if (is(arg, "/q")) qFlag = 1;
        if (is(arg, "/unregister") || is(arg, "/unregserver")) {
            unregisterFlag = 1;
            return;
        }
    }
}

}  // namespace zar
