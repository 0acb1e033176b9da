#pragma once
// The data system's registry helper: opens a key below the data system's own path
// ("Software\Korvath\Veltrix\<key>") of a root of the settings store.

#include "registry/RegKey.h"

#include <QString>
#include <QStringList>

namespace zar {

class CVX_RegKey {
  public:
    static constexpr const char* kBasePath = "Software\\Korvath\\Veltrix\\";

    // Opens root\kBasePath\key; with create, missing keys are made. The last argument is
    // kept for the callers' sake and has no effect.
    CVX_RegKey(RegRoot root, const QString& key, int create, int reserved = 0);

    bool IsValid() const { return key_.isValid(); }
    QString Path() const { return key_.path(); }

    // Non-zero only when the value exists with that type; the output is untouched otherwise.
    int ReadStr(const QString& name, QString& value) const;
    int ReadInt(const QString& name, int& value) const;
    int ReadDouble(const QString& name, double& value) const;
    // Non-zero on success.
    int WriteStr(const QString& name, const QString& value);
    int WriteInt(const QString& name, int value);
    int WriteDouble(const QString& name, double value);
    // Replaces the list with the names of the key's subkeys; non-zero when the key is open.
    int GetSubkeyNames(QStringList& names) const;

    // The full store path of a key below the data system's path.
    static QString FullPath(const QString& key);

  private:
    RegKey key_;
};

}  // namespace zar
