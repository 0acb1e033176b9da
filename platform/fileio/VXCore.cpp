#include "fileio/VXCore.h"

#include "fileio/VXTypes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zar {

namespace {

QString ProgramFolder() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    // Without an application object, the link to the running program still tells.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    return self.exists() ? QFileInfo(self.symLinkTarget()).absolutePath() : QString();
}

}  // namespace

bool GetVeltrixCorePath(QString& path) {
    const QString folder = ProgramFolder();
    if (folder.isEmpty()) return false;
    path = folder;
    return true;
}

bool GetVeltrixCoreDataPath(QString& path) {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    const QString folder = QDir::cleanPath(base + QStringLiteral("/Korvath/Veltrix"));
    if (!QDir().mkpath(folder)) return false;
    path = folder;
    return true;
}

bool GetVeltrixCoreHelpFile(QString& path) {
    const QString program = ProgramFolder();
    if (program.isEmpty()) return false;
    const QString candidates[] = {
        program + QStringLiteral("/help/index.html"),
        program + QStringLiteral("/../share/zarvikbrowser/help/index.html"),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            path = QDir::cleanPath(candidate);
            return true;
        }
    }
    return false;
}

QString GetVeltrixCoreVersionString() {
#ifdef ZAR_VERSION_TEXT
    return QStringLiteral(ZAR_VERSION_TEXT);
#else
    return QStringLiteral("0.0");
#endif
}

bool TranslateDetectorTypeToString(int detectorType, QString& name) {
    static const char* const kNames[kVXDetectorTypeCount] = {"MS", "Analog", "A/D Card", "PDA",
                                                             "UV"};
    if (detectorType < 0 || detectorType >= kVXDetectorTypeCount) {
        name.clear();
        return false;
    }
    name = QLatin1String(kNames[detectorType]);
    return true;
}

bool TranslateTraceTypeToString(int traceType, QString& name) {
    struct Entry {
        int type;
        const char* name;
    };
    static const Entry kNames[] = {
        {kVXMassRangeTrace, "Mass Range"},
        {kVXTICTrace, "TIC"},
        {kVXBasePeakTrace, "Base Peak"},
        {kVXNeutralFragmentTrace, "Neutral Fragment"},
        {kVXAnalog1Trace, "Analog 1"},
        {kVXAnalog2Trace, "Analog 2"},
        {kVXAnalog3Trace, "Analog 3"},
        {kVXAnalog4Trace, "Analog 4"},
        {kVXWavelengthRangeTrace, "Wavelength Range"},
        {kVXTotalAbsorbanceTrace, "Total Absorbance"},
        {kVXSpectrumMaxTrace, "Spectrum Maximum"},
        {kVXChannelATrace, "Channel A"},
        {kVXChannelBTrace, "Channel B"},
        {kVXChannelCTrace, "Channel C"},
        {kVXChannelDTrace, "Channel D"},
        {kVXA2DChannel1Trace, "A/D Card Ch. 1"},
        {kVXA2DChannel2Trace, "A/D Card Ch. 2"},
        {kVXA2DChannel3Trace, "A/D Card Ch. 3"},
        {kVXA2DChannel4Trace, "A/D Card Ch. 4"},
    };
    for (const Entry& entry : kNames) {
        if (entry.type == traceType) {
            name = QLatin1String(entry.name);
            return true;
        }
    }
    name.clear();
    return false;
}

}  // namespace zar
