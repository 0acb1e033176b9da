#include "fileio/VX_RegKey.h"

namespace zar {

QString CVX_RegKey::FullPath(const QString& key) {
    QString relative = key;
    while (relative.startsWith(u'\\') || relative.startsWith(u'/')) relative.remove(0, 1);
    return QLatin1String(kBasePath) + relative;
}

CVX_RegKey::CVX_RegKey(RegRoot root, const QString& key, int create, int /*reserved*/)
    : key_(root, FullPath(key), create != 0) {}

int CVX_RegKey::ReadStr(const QString& name, QString& value) const {
    return key_.isValid() && key_.readString(name, value) ? 1 : 0;
}

int CVX_RegKey::ReadInt(const QString& name, int& value) const {
    return key_.isValid() && key_.readInt(name, value) ? 1 : 0;
}

int CVX_RegKey::ReadDouble(const QString& name, double& value) const {
    return key_.isValid() && key_.readDouble(name, value) ? 1 : 0;
}

int CVX_RegKey::WriteStr(const QString& name, const QString& value) {
    return key_.isValid() && key_.writeString(name, value) ? 1 : 0;
}

int CVX_RegKey::WriteInt(const QString& name, int value) {
    return key_.isValid() && key_.writeInt(name, value) ? 1 : 0;
}

int CVX_RegKey::WriteDouble(const QString& name, double value) {
    return key_.isValid() && key_.writeDouble(name, value) ? 1 : 0;
}

int CVX_RegKey::GetSubkeyNames(QStringList& names) const {
    names.clear();
    if (!key_.isValid()) return 0;
    names = key_.subKeyNames();
    return 1;
}

}  // namespace zar
