#include "registry/RegKey.h"

#include "core/MessageBox.h"
#include "core/Paths.h"
#include "core/TextFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include <unistd.h>

namespace zar {
namespace {

struct Value {
    QString name;
    RegType type = RegType::None;
    QString text;
    int number = 0;
    double real = 0;
    QStringList list;
    QByteArray bytes;
};

struct Node {
    QString name;
    std::map<QString, Value> values;                   // by lower-case name
    std::map<QString, std::unique_ptr<Node>> children;  // by lower-case name
};

QString keyOf(const QString& name) { return name.toLower(); }

QStringList splitPath(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('/'), QLatin1Char('\\'));
    QStringList parts = p.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (QString& s : parts) s = s.trimmed();
    parts.removeAll(QString());
    return parts;
}

const char* typeName(RegType t) {
    switch (t) {
        case RegType::String: return "string";
        case RegType::Int: return "int";
        case RegType::Double: return "double";
        case RegType::StringList: return "strings";
        case RegType::Binary: return "binary";
        case RegType::None: break;
    }
    return "none";
}

RegType typeFromName(const QString& s) {
    if (s == QLatin1String("string")) return RegType::String;
    if (s == QLatin1String("int")) return RegType::Int;
    if (s == QLatin1String("double")) return RegType::Double;
    if (s == QLatin1String("strings")) return RegType::StringList;
    if (s == QLatin1String("binary")) return RegType::Binary;
    return RegType::None;
}

QJsonObject toJson(const Node& node) {
    QJsonObject values;
    for (const auto& [k, v] : node.values) {
        QJsonObject o;
        o[QStringLiteral("type")] = QString::fromLatin1(typeName(v.type));
        switch (v.type) {
            case RegType::String: o[QStringLiteral("value")] = v.text; break;
            case RegType::Int: o[QStringLiteral("value")] = v.number; break;
            case RegType::Double: o[QStringLiteral("value")] = v.real; break;
            case RegType::StringList: o[QStringLiteral("value")] = QJsonArray::fromStringList(v.list); break;
            case RegType::Binary: o[QStringLiteral("value")] = QString::fromLatin1(v.bytes.toBase64()); break;
            case RegType::None: break;
        }
        values[v.name] = o;
    }
    QJsonObject keys;
    for (const auto& [k, child] : node.children) keys[child->name] = toJson(*child);
    QJsonObject o;
    if (!values.isEmpty()) o[QStringLiteral("values")] = values;
    if (!keys.isEmpty()) o[QStringLiteral("keys")] = keys;
    return o;
}

void fromJson(const QJsonObject& o, Node& node) {
    const QJsonObject values = o.value(QStringLiteral("values")).toObject();
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QJsonObject vo = it.value().toObject();
        Value v;
        v.name = it.key();
        v.type = typeFromName(vo.value(QStringLiteral("type")).toString());
        const QJsonValue jv = vo.value(QStringLiteral("value"));
        switch (v.type) {
            case RegType::String: v.text = jv.toString(); break;
            case RegType::Int: v.number = jv.toInt(); break;
            case RegType::Double: v.real = jv.toDouble(); break;
            case RegType::StringList:
                for (const QJsonValue& s : jv.toArray()) v.list.append(s.toString());
                break;
            case RegType::Binary: v.bytes = QByteArray::fromBase64(jv.toString().toLatin1()); break;
            case RegType::None: continue;
        }
        node.values[keyOf(v.name)] = std::move(v);
    }
    const QJsonObject keys = o.value(QStringLiteral("keys")).toObject();
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        auto child = std::make_unique<Node>();
        child->name = it.key();
        fromJson(it.value().toObject(), *child);
        node.children[keyOf(it.key())] = std::move(child);
    }
}

QString rootFileName(RegRoot root) {
    switch (root) {
        case RegRoot::CurrentUser: return QStringLiteral("HKEY_CURRENT_USER.json");
        case RegRoot::LocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE.json");
        case RegRoot::ClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT.json");
    }
    return QStringLiteral("HKEY_CURRENT_USER.json");
}

thread_local RegistryWriteCheck* currentWriteCheck = nullptr;

// One root's tree, kept in memory and read again whenever its file changed on disk.
class RootStore {
public:
    explicit RootStore(RegRoot root) : root_(root) {}

    std::mutex mutex;

    QString filePath() const { return JoinPath(ConfigDirectory(), rootFileName(root_)); }

    // Brings the tree up to date with the file. Called with the mutex held.
    void refresh() {
        const QString path = filePath();
        QFileInfo info(path);
        const bool exists = info.exists();
        const QDateTime stamp = exists ? info.lastModified() : QDateTime();
        const qint64 size = exists ? info.size() : -1;
        if (loaded_ && path == loadedPath_ && stamp == stamp_ && size == size_) return;
        tree_ = std::make_unique<Node>();
        loaded_ = true;
        loadedPath_ = path;
        stamp_ = stamp;
        size_ = size;
        if (!exists) return;
        QFile file(path);
        // Unbuffered: the file is read whole at once, a read buffer would be one copy more.
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            reportOnce(QStringLiteral("Unable to read the settings file %1: %2").arg(path, file.errorString()));
            return;
        }
        const QByteArray data = file.readAll();
        QJsonParseError err{};
        const QJsonDocument doc = QJsonDocument::fromJson(data, &err);
        if (err.error != QJsonParseError::NoError || !doc.isObject()) {
            // Keep the damaged file for the user; start from an empty store.
            const QString kept = path + QStringLiteral(".damaged-") +
                                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
            file.close();
            // Moved aside in one step: the store starts empty and the damaged text is kept.
            const bool copied = QFile::rename(path, kept);
            reportOnce(copied ? QStringLiteral("The settings file %1 is damaged (%2). It was kept as %3 and "
                                               "the default settings are used.")
                                    .arg(path, err.errorString(), kept)
                              : QStringLiteral("The settings file %1 is damaged (%2). The default settings "
                                               "are used; the file is left as it is.")
                                    .arg(path, err.errorString()));
            readOnly_ = !copied;  // never overwrite a damaged file we could not keep a copy of
            stamp_ = QFileInfo(path).exists() ? QFileInfo(path).lastModified() : QDateTime();
            size_ = QFileInfo(path).exists() ? QFileInfo(path).size() : -1;
            return;
        }
        fromJson(doc.object(), *tree_);
    }

    Node* find(const QStringList& parts) {
        Node* n = tree_.get();
        if (!n) return nullptr;
        for (const QString& p : parts) {
            auto it = n->children.find(keyOf(p));
            if (it == n->children.end()) return nullptr;
            n = it->second.get();
        }
        return n;
    }

    Node* make(const QStringList& parts) {
        if (!tree_) tree_ = std::make_unique<Node>();
        Node* n = tree_.get();
        for (const QString& p : parts) {
            auto& slot = n->children[keyOf(p)];
            if (!slot) {
                slot = std::make_unique<Node>();
                slot->name = p;
            }
            n = slot.get();
        }
        return n;
    }

    // Applies a change to the newest tree and writes it out. Called with the mutex held.
    bool modify(const std::function<bool(Node&)>& change) {
        const QString dir = ConfigDirectory();
        const QString path = JoinPath(dir, rootFileName(root_));
        if (!QDir().mkpath(dir)) {
            return failWrite(QStringLiteral("Unable to create the settings folder %1.").arg(dir));
        }
        // A folder on a read-only mount (or without write permission) is told at once, not
        // after waiting for a lock that can never be taken.
        if (::access(QFile::encodeName(dir).constData(), W_OK) != 0) {
            return failWrite(QStringLiteral("The settings folder %1 cannot be written: %2")
                                 .arg(dir, QString::fromLocal8Bit(std::strerror(errno))));
        }
        QLockFile lock(path + QStringLiteral(".lock"));
        lock.setStaleLockTime(10000);
        if (!lock.tryLock(5000)) {
            if (lock.error() != QLockFile::LockFailedError) {
                return failWrite(
                    QStringLiteral("The settings folder %1 cannot be written.").arg(dir));
            }
            return failWrite(QStringLiteral("The settings file %1 is locked by another program.").arg(path));
        }
        refresh();
        if (readOnly_) {
            return failWrite(QStringLiteral("The settings file %1 is damaged and is not overwritten.").arg(path));
        }
        if (!change(*tree_)) return false;
        AtomicTextWriter out(path);
        if (out.open()) out.writeBytes(QJsonDocument(toJson(*tree_)).toJson(QJsonDocument::Indented));
        if (!out.commit()) {
            loaded_ = false;
            return failWrite(QStringLiteral("Unable to save the settings: %1").arg(out.errorString()));
        }
        QFileInfo info(path);
        stamp_ = info.lastModified();
        size_ = info.size();
        return true;
    }

    // Takes the bytes of a settings file as the file's contents while no file is there; false
    // when they are no settings (the store is empty then). Called with the mutex held.
    bool loadBytes(const QByteArray& data) {
        reset();
        tree_ = std::make_unique<Node>();
        loaded_ = true;
        loadedPath_ = filePath();
        stamp_ = QDateTime();
        size_ = -1;
        QJsonParseError err{};
        const QJsonDocument doc = QJsonDocument::fromJson(data, &err);
        if (err.error != QJsonParseError::NoError || !doc.isObject()) return false;
        fromJson(doc.object(), *tree_);
        return true;
    }

    void reset() {
        loaded_ = false;
        readOnly_ = false;
        tree_.reset();
    }

    static QString& lastError() {
        static QString e;
        return e;
    }

private:
    bool failWrite(const QString& text);

    void reportOnce(const QString& text) {
        lastError() = text;
        if (reported_.contains(text)) return;
        reported_.append(text);
        ZarMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    }

    RegRoot root_;
    std::unique_ptr<Node> tree_;
    bool loaded_ = false;
    bool readOnly_ = false;
    QString loadedPath_;
    QDateTime stamp_;
    qint64 size_ = -1;
    QStringList reported_;
};

bool RootStore::failWrite(const QString& text) {
    if (RegistryWriteCheck* check = currentWriteCheck) {
        lastError() = text;
        check->Record(text);
        return false;
    }
    reportOnce(text);
    return false;
}

RootStore& store(RegRoot root) {
    static RootStore cu(RegRoot::CurrentUser), lm(RegRoot::LocalMachine), cr(RegRoot::ClassesRoot);
    switch (root) {
        case RegRoot::LocalMachine: return lm;
        case RegRoot::ClassesRoot: return cr;
        case RegRoot::CurrentUser: break;
    }
    return cu;
}

template <class F>
auto withNode(RegRoot root, const QString& path, F&& f) -> std::optional<decltype(f(std::declval<Node&>()))> {
    RootStore& s = store(root);
    std::lock_guard lock(s.mutex);
    s.refresh();
    Node* n = s.find(splitPath(path));
    if (!n) return std::nullopt;
    return f(*n);
}

bool writeValue(RegRoot root, const QString& path, Value v) {
    RootStore& s = store(root);
    std::lock_guard lock(s.mutex);
    const QStringList parts = splitPath(path);
    return s.modify([&](Node&) {
        Node* n = s.make(parts);
        n->values[keyOf(v.name)] = std::move(v);
        return true;
    });
}

std::optional<Value> readValue(RegRoot root, const QString& path, const QString& name, RegType type) {
    auto r = withNode(root, path, [&](Node& n) -> std::optional<Value> {
        auto it = n.values.find(keyOf(name));
        if (it == n.values.end() || it->second.type != type) return std::nullopt;
        return it->second;
    });
    return r ? *r : std::nullopt;
}

}  // namespace

RegKey::RegKey(RegRoot root, const QString& path, bool create) : root_(root), path_(splitPath(path).join(QLatin1Char('\\'))) {
    if (keyExists(root, path_)) {
        valid_ = true;
        return;
    }
    if (!create) return;
    RootStore& s = store(root);
    std::lock_guard lock(s.mutex);
    const QStringList parts = splitPath(path_);
    valid_ = s.modify([&](Node&) {
        s.make(parts);
        return true;
    });
}

RegKey RegKey::subKey(const QString& name, bool create) const {
    if (!valid_) return RegKey();
    return RegKey(root_, path_ + QLatin1Char('\\') + name, create);
}

bool RegKey::keyExists(RegRoot root, const QString& path) {
    return withNode(root, path, [](Node&) { return true; }).value_or(false);
}

bool RegKey::readString(const QString& name, QString& value) const {
    if (!valid_) return false;
    auto v = readValue(root_, path_, name, RegType::String);
    if (!v) return false;
    value = v->text;
    return true;
}

bool RegKey::readInt(const QString& name, int& value) const {
    if (!valid_) return false;
    auto v = readValue(root_, path_, name, RegType::Int);
    if (!v) return false;
    value = v->number;
    return true;
}

bool RegKey::readDouble(const QString& name, double& value) const {
    if (!valid_) return false;
    auto v = readValue(root_, path_, name, RegType::Double);
    if (!v) return false;
    value = v->real;
    return true;
}

bool RegKey::readStringList(const QString& name, QStringList& value) const {
    if (!valid_) return false;
    auto v = readValue(root_, path_, name, RegType::StringList);
    if (!v) return false;
    value = v->list;
    return true;
}

bool RegKey::readBinary(const QString& name, QByteArray& value) const {
    if (!valid_) return false;
    auto v = readValue(root_, path_, name, RegType::Binary);
    if (!v) return false;
    value = v->bytes;
    return true;
}

RegType RegKey::valueType(const QString& name) const {
    if (!valid_) return RegType::None;
    return withNode(root_, path_, [&](Node& n) {
               auto it = n.values.find(keyOf(name));
               return it == n.values.end() ? RegType::None : it->second.type;
           })
        .value_or(RegType::None);
}

bool RegKey::writeString(const QString& name, const QString& value) {
    if (!valid_) return false;
    Value v;
    v.name = name;
    v.type = RegType::String;
    v.text = value;
    return writeValue(root_, path_, std::move(v));
}

bool RegKey::writeInt(const QString& name, int value) {
    if (!valid_) return false;
    Value v;
    v.name = name;
    v.type = RegType::Int;
    v.number = value;
    return writeValue(root_, path_, std::move(v));
}

bool RegKey::writeDouble(const QString& name, double value) {
    if (!valid_) return false;
    Value v;
    v.name = name;
    v.type = RegType::Double;
    v.real = value;
    return writeValue(root_, path_, std::move(v));
}

bool RegKey::writeStringList(const QString& name, const QStringList& value) {
    if (!valid_) return false;
    Value v;
    v.name = name;
    v.type = RegType::StringList;
    v.list = value;
    return writeValue(root_, path_, std::move(v));
}

bool RegKey::writeBinary(const QString& name, const QByteArray& value) {
    if (!valid_) return false;
    Value v;
    v.name = name;
    v.type = RegType::Binary;
    v.bytes = value;
    return writeValue(root_, path_, std::move(v));
}

QStringList RegKey::subKeyNames() const {
    if (!valid_) return {};
    return withNode(root_, path_, [](Node& n) {
               QStringList names;
               for (const auto& [k, c] : n.children) names.append(c->name);
               return names;
           })
        .value_or(QStringList());
}

QStringList RegKey::valueNames() const {
    if (!valid_) return {};
    return withNode(root_, path_, [](Node& n) {
               QStringList names;
               for (const auto& [k, v] : n.values) names.append(v.name);
               return names;
           })
        .value_or(QStringList());
}

bool RegKey::deleteValue(const QString& name) {
    if (!valid_) return false;
    RootStore& s = store(root_);
    std::lock_guard lock(s.mutex);
    const QStringList parts = splitPath(path_);
    return s.modify([&](Node&) {
        Node* n = s.find(parts);
        return n && n->values.erase(keyOf(name)) > 0;
    });
}

bool RegKey::deleteSubKey(const QString& name) {
    if (!valid_) return false;
    return deleteKey(root_, path_ + QLatin1Char('\\') + name);
}

bool RegKey::deleteKey(RegRoot root, const QString& path) {
    const QStringList parts = splitPath(path);
    if (parts.isEmpty()) return false;
    if (!keyExists(root, path)) return true;
    RootStore& s = store(root);
    std::lock_guard lock(s.mutex);
    s.modify([&](Node&) {
        Node* parent = s.find(parts.mid(0, parts.size() - 1));
        return parent && parent->children.erase(keyOf(parts.last())) > 0;
    });
    return !s.find(parts);
}

QString RegistryFilePath(RegRoot root) { return store(root).filePath(); }

RegistryWriteCheck::RegistryWriteCheck() : outer_(currentWriteCheck) {
    currentWriteCheck = this;
}

RegistryWriteCheck::~RegistryWriteCheck() {
    currentWriteCheck = outer_;
    if (outer_ && !error_.isEmpty()) outer_->Record(error_);
}

QString RegistryLastError() {
    std::lock_guard lock(store(RegRoot::CurrentUser).mutex);
    return RootStore::lastError();
}

bool LoadRegistryBytes(RegRoot root, const QByteArray& bytes) {
    RootStore& s = store(root);
    std::lock_guard lock(s.mutex);
    return s.loadBytes(bytes);
}

void ResetRegistryCache() {
    for (RegRoot r : {RegRoot::CurrentUser, RegRoot::LocalMachine, RegRoot::ClassesRoot}) {
        RootStore& s = store(r);
        std::lock_guard lock(s.mutex);
        s.reset();
    }
}

}  // namespace zar
