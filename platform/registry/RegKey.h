#pragma once
// The settings store that stands in for the Windows registry: a tree of keys per root, each key
// holding typed values (string, int, double, string list, bytes) that read back with their type.
// Key and value names compare without regard to case and keep the case they were created with.
//
// Each root is one file in the settings folder (ConfigDirectory(), moved by ZAR_CONFIG_DIR).
// Every write goes through a temporary file and a rename under a lock file, so several processes
// can share the store and a failure never leaves a half-written file. A damaged file is kept
// aside, the user is told, and the store starts empty rather than losing what was there.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zar {

enum class RegRoot { CurrentUser, LocalMachine, ClassesRoot };
enum class RegType { None, String, Int, Double, StringList, Binary };

class RegKey {
public:
    RegKey() = default;
    // Opens root\path ('\' or '/' separate the levels); with create, makes missing keys.
    RegKey(RegRoot root, const QString& path, bool create);

    bool isValid() const { return valid_; }
    RegRoot root() const { return root_; }
    QString path() const { return path_; }

    RegKey subKey(const QString& name, bool create) const;

    // Reads succeed only when the value exists with that type; the output is untouched otherwise.
    bool readString(const QString& name, QString& value) const;
    bool readInt(const QString& name, int& value) const;
    bool readDouble(const QString& name, double& value) const;
    bool readStringList(const QString& name, QStringList& value) const;
    bool readBinary(const QString& name, QByteArray& value) const;
    RegType valueType(const QString& name) const;

    bool writeString(const QString& name, const QString& value);
    bool writeInt(const QString& name, int value);
    bool writeDouble(const QString& name, double value);
    bool writeStringList(const QString& name, const QStringList& value);
    bool writeBinary(const QString& name, const QByteArray& value);

    QStringList subKeyNames() const;
    QStringList valueNames() const;
    bool deleteValue(const QString& name);
    // Deletes a subkey with everything below it.
    bool deleteSubKey(const QString& name);

    // Removes root\path and everything below it; true when it is gone afterwards.
    static bool deleteKey(RegRoot root, const QString& path);
    static bool keyExists(RegRoot root, const QString& path);

private:
    RegRoot root_ = RegRoot::CurrentUser;
    QString path_;
    bool valid_ = false;
};

// While one lives on a thread, a failure to write the store there is not shown by the store
// (which tells each failure text once per run): it is kept for the owner, who tells the user
// itself, every time. For a change the user asked for and waits on, such as a settings sheet's
// OK.
class RegistryWriteCheck {
  public:
    RegistryWriteCheck();
    ~RegistryWriteCheck();
    RegistryWriteCheck(const RegistryWriteCheck&) = delete;
    RegistryWriteCheck& operator=(const RegistryWriteCheck&) = delete;
    bool Failed() const { return !error_.isEmpty(); }
    // The text of the first failure.
    const QString& Error() const { return error_; }
    void Record(const QString& text) {
        if (error_.isEmpty()) error_ = text;
    }

  private:
    RegistryWriteCheck* outer_;
    QString error_;
};

// The file that holds a root, and a text of the last failure to read or write the store.
QString RegistryFilePath(RegRoot root);
QString RegistryLastError();
// Drops what the store holds in memory, so the next access reads the files again (tests that
// change ZAR_CONFIG_DIR call it).
void ResetRegistryCache();
// Reads the bytes of a root's settings file into the store as if the file held them, writing
// nothing; they stay while the root's file does not exist. False when they are no settings.
bool LoadRegistryBytes(RegRoot root, const QByteArray& bytes);

}  // namespace zar
