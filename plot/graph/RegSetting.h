#pragma once
// Typed settings of the plotting controls under the data system's key "Software\Korvath\Veltrix"
// of the current user or the local machine. Ints and doubles are stored as strings, always in
// the "C" number format (the process locale is never touched).

#include "registry/RegKey.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <limits>
#include <vector>

namespace zar::plot {

inline constexpr char kDataSystemKey[] = "Software\\Korvath\\Veltrix";

class CRegSetting {
  public:
    CRegSetting() = default;
    // Only the current user's and the local machine's roots are accepted; any other root leaves
    // the setting invalid. An empty subkey names the data system's key itself.
    CRegSetting(RegRoot root, const QString& subKey, bool create);
    // A subkey below an open parent setting.
    CRegSetting(const CRegSetting& parent, const QString& subKey, bool create);
    CRegSetting(const CRegSetting&) = default;
    CRegSetting& operator=(const CRegSetting&) = default;
    virtual ~CRegSetting() = default;

    bool IsValid() const { return valid_; }
    RegRoot Root() const { return root_; }
    QString Path() const { return path_; }

    // Reads fail (and leave the value alone) when the setting is invalid, the value is missing,
    // of another type, or holds no number.
    bool ReadString(const QString& name, QString& value) const;
    bool ReadInt(const QString& name, int& value) const;
    bool ReadDouble(const QString& name, double& value) const;
    bool ReadStringList(const QString& name, QStringList& value) const;

    bool WriteString(const QString& name, const QString& value);
    bool WriteInt(const QString& name, int value);
    bool WriteDouble(const QString& name, double value);
    bool WriteStringList(const QString& name, const QStringList& value);
    bool DeleteValue(const QString& name);

    void Close() { valid_ = false; }

  private:
    void open(bool create);
    RegKey key() const { return RegKey(root_, path_, false); }

    RegRoot root_ = RegRoot::CurrentUser;
    QString path_;
    bool valid_ = false;
};

// Text of an int and of a double as the settings store them ("%d", "%.15g").
QString SettingIntText(int value);
QString SettingDoubleText(double value);
// strtol with base detection / strtod in the "C" locale; false when the text holds no number.
bool SettingTextToInt(const QString& text, int& value);
bool SettingTextToDouble(const QString& text, double& value);

struct MassRangeEntry {
    double low = 0;
    double high = 0;
    std::int32_t reserved1 = 0;
    std::int32_t reserved2 = 0;
};
using CMassRangeList = std::vector<MassRangeEntry>;

// A list of mass ranges with its entry limits, kept in a subkey of a parent setting.
class CMassRangeSetting : public CRegSetting {
  public:
    // Loads on construction; when created for writing, saves when destroyed.
    CMassRangeSetting(const CRegSetting& parent, const QString& name, bool forWriting);
    ~CMassRangeSetting() override;
    CMassRangeSetting(const CMassRangeSetting&) = delete;
    CMassRangeSetting& operator=(const CMassRangeSetting&) = delete;

    bool Load();
    bool Save();

    double m_dMin = std::numeric_limits<double>::lowest();
    double m_dMax = std::numeric_limits<double>::max();
    CMassRangeList m_Ranges;
    std::int32_t m_nMaxLength = 9;
    std::int32_t m_nPrecision = 2;
    std::int32_t m_nMaxPairs = 1;
    std::int32_t m_nPairsOK = 1;
    QString m_strName;

  private:
    bool forWriting_;
};

// The mass spectrometer's default mass range ("Defaults\Mass Spectrometer", setting
// "Mass Range", local machine): the first range, or (0.5, 999999.0) when the key is missing (then
// asked again next time) or holds no range. Read once per process once the key is there.
struct DefaultMassRange {
    double low;
    double high;
};
inline constexpr DefaultMassRange kFallbackMassRange{0.5, 999999.0};
DefaultMassRange GetDefaultMassRange();
// Forgets the cached range (the settings folder changed).
void ResetDefaultMassRange();

}  // namespace zar::plot
