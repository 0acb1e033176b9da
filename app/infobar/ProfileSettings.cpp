#include "ProfileSettings.h"

#include "registry/RegKey.h"

namespace zar {
namespace {

QString sectionPath(const QString& section) { return QString::fromLatin1(kProfileKey) + QLatin1Char('\\') + section; }

}  // namespace

int GetProfileInt(const QString& section, const QString& entry, int defaultValue) {
    const RegKey key(RegRoot::CurrentUser, sectionPath(section), false);
    int value = defaultValue;
    if (!key.isValid() || !key.readInt(entry, value)) return defaultValue;
    return value;
}

bool WriteProfileInt(const QString& section, const QString& entry, int value) {
    RegKey key(RegRoot::CurrentUser, sectionPath(section), true);
    return key.isValid() && key.writeInt(entry, value);
}

}  // namespace zar
