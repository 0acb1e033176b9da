#include "RegSetting.h"

#include "core/Numbers.h"

#include <mutex>
#include <optional>

namespace zar::plot {

namespace {

constexpr char kMin[] = "Min";
constexpr char kMax[] = "Max";
constexpr char kMaxLength[] = "MaxLength";
constexpr char kPrecision[] = "Precision";
constexpr char kMaxPairs[] = "MaxPairs";
constexpr char kPairsOk[] = "Pairs OK";
constexpr char kArraySize[] = "Array Size";
constexpr char kRanges[] = "Ranges";

QString joinPath(const QString& base, const QString& sub) {
    return sub.isEmpty() ? base : base + QLatin1Char('\\') + sub;
}

}  // namespace

QString SettingIntText(int value) {
    return QCFormat("%d", value);
}
QString SettingDoubleText(double value) {
    return QCFormat("%.15g", value);
}

bool SettingTextToInt(const QString& text, int& value) {
    const QByteArray bytes = text.trimmed().toLatin1();
    std::size_t used = 0;
    const long long v = LeadingInt(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), 0, &used);
    if (used == 0) return false;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
    value = static_cast<int>(v);
    return true;
}

bool SettingTextToDouble(const QString& text, double& value) {
    const QByteArray bytes = text.trimmed().toLatin1();
    std::size_t used = 0;
    const double v = LeadingDouble(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), &used);
    if (used == 0) return false;
    value = v;
    return true;
}

CRegSetting::CRegSetting(RegRoot root, const QString& subKey, bool create) : root_(root) {
    if (root != RegRoot::CurrentUser && root != RegRoot::LocalMachine) return;
    path_ = joinPath(QString::fromLatin1(kDataSystemKey), subKey);
    open(create);
}

CRegSetting::CRegSetting(const CRegSetting& parent, const QString& subKey, bool create)
    : root_(parent.root_) {
    if (!parent.valid_) return;
    path_ = joinPath(parent.path_, subKey);
    open(create);
}

void CRegSetting::open(bool create) {
    valid_ = RegKey::keyExists(root_, path_) || (create && RegKey(root_, path_, true).isValid());
}

bool CRegSetting::ReadString(const QString& name, QString& value) const {
    return valid_ && key().readString(name, value);
}

bool CRegSetting::ReadInt(const QString& name, int& value) const {
    QString text;
    if (!ReadString(name, text)) return false;
    return SettingTextToInt(text, value);
}

bool CRegSetting::ReadDouble(const QString& name, double& value) const {
    QString text;
    if (!ReadString(name, text)) return false;
    return SettingTextToDouble(text, value);
}

bool CRegSetting::ReadStringList(const QString& name, QStringList& value) const {
    return valid_ && key().readStringList(name, value);
}

bool CRegSetting::WriteString(const QString& name, const QString& value) {
    if (!valid_) return false;
    RegKey k(root_, path_, true);
    return k.isValid() && k.writeString(name, value);
}

bool CRegSetting::WriteInt(const QString& name, int value) {
    return WriteString(name, SettingIntText(value));
}

bool CRegSetting::WriteDouble(const QString& name, double value) {
    return WriteString(name, SettingDoubleText(value));
}

bool CRegSetting::WriteStringList(const QString& name, const QStringList& value) {
    if (!valid_) return false;
    RegKey k(root_, path_, true);
    return k.isValid() && k.writeStringList(name, value);
}

bool CRegSetting::DeleteValue(const QString& name) {
    if (!valid_) return false;
    RegKey k = key();
    return k.isValid() && k.deleteValue(name);
}

CMassRangeSetting::CMassRangeSetting(const CRegSetting& parent, const QString& name,
                                     bool forWriting)
    : CRegSetting(parent, name, forWriting), m_strName(name), forWriting_(forWriting) {
    Load();
}

CMassRangeSetting::~CMassRangeSetting() {
    if (forWriting_) Save();
}

bool CMassRangeSetting::Load() {
    if (!IsValid()) return false;
    ReadDouble(QString::fromLatin1(kMin), m_dMin);
    ReadDouble(QString::fromLatin1(kMax), m_dMax);
    int v = 0;
    if (ReadInt(QString::fromLatin1(kMaxLength), v)) m_nMaxLength = v;
    if (ReadInt(QString::fromLatin1(kPrecision), v)) m_nPrecision = v;
    if (ReadInt(QString::fromLatin1(kMaxPairs), v)) m_nMaxPairs = v;
    if (ReadInt(QString::fromLatin1(kPairsOk), v)) m_nPairsOK = v;
    int arraySize = 0;
    if (!ReadInt(QString::fromLatin1(kArraySize), arraySize)) return true;
    QStringList texts;
    ReadStringList(QString::fromLatin1(kRanges), texts);
    // A list that disagrees with its size loads only the ranges both describe.
    const qsizetype count = std::min<qsizetype>(std::max(arraySize, 0), texts.size() / 2);
    m_Ranges.assign(static_cast<std::size_t>(count), MassRangeEntry{});
    for (qsizetype i = 0; i < count; ++i) {
        MassRangeEntry& e = m_Ranges[static_cast<std::size_t>(i)];
        e.low = LeadingDouble(texts[2 * i]);
        e.high = LeadingDouble(texts[2 * i + 1]);
    }
    return true;
}

bool CMassRangeSetting::Save() {
    if (!IsValid()) return false;
    if (!WriteDouble(QString::fromLatin1(kMin), m_dMin) ||
        !WriteDouble(QString::fromLatin1(kMax), m_dMax) ||
        !WriteInt(QString::fromLatin1(kMaxLength), m_nMaxLength) ||
        !WriteInt(QString::fromLatin1(kPrecision), m_nPrecision) ||
        !WriteInt(QString::fromLatin1(kMaxPairs), m_nMaxPairs) ||
        !WriteInt(QString::fromLatin1(kPairsOk), m_nPairsOK))
        return false;
    if (m_Ranges.empty()) {
        // An empty list must not bring back the ranges saved before.
        DeleteValue(QString::fromLatin1(kArraySize));
        DeleteValue(QString::fromLatin1(kRanges));
        return true;
    }
    QStringList texts;
    for (const MassRangeEntry& e : m_Ranges) {
        texts << QCFormat("%g", e.low) << QCFormat("%g", e.high);
    }
    return WriteInt(QString::fromLatin1(kArraySize), static_cast<int>(m_Ranges.size())) &&
           WriteStringList(QString::fromLatin1(kRanges), texts);
}

namespace {
std::mutex gDefaultRangeMutex;
std::optional<DefaultMassRange> gDefaultRange;
}  // namespace

DefaultMassRange GetDefaultMassRange() {
    std::lock_guard lock(gDefaultRangeMutex);
    if (gDefaultRange) return *gDefaultRange;
    const CRegSetting defaults(RegRoot::LocalMachine, QStringLiteral("Defaults\\Mass Spectrometer"),
                               false);
    if (!defaults.IsValid()) return kFallbackMassRange;
    const CMassRangeSetting setting(defaults, QStringLiteral("Mass Range"), false);
    DefaultMassRange range = kFallbackMassRange;
    if (!setting.m_Ranges.empty()) range = {setting.m_Ranges[0].low, setting.m_Ranges[0].high};
    gDefaultRange = range;
    return range;
}

void ResetDefaultMassRange() {
    std::lock_guard lock(gDefaultRangeMutex);
    gDefaultRange.reset();
}

}  // namespace zar::plot
