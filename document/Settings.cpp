#include "document/Settings.h"

#include "document/EnzymeTable.h"
#include "registry/RegKey.h"

#include <QCoreApplication>

namespace zar {

const char* const kProgramKey = "Software\\Korvath\\Veltrix\\ZarvikBrowser";
const char* const kEnzymeTableKey = "Software\\Korvath\\Veltrix\\ZarvikBrowser\\EnzymeTable";
const char* const kDatabaseKey = "Software\\Korvath\\Veltrix\\ZarvikBrowser\\Database";
const char* const kGlobalKey = "Software\\Korvath\\Veltrix\\Global";

namespace {

enum class WriteBack { No, Yes };

// Reads only open the key (a missing key stays missing); writes create it.
RegKey ProgramKey(bool create) {
    return RegKey(RegRoot::LocalMachine, QString::fromLatin1(kProgramKey), create);
}

QString ReadText(const char* name, const QString& fallback, WriteBack writeBack) {
    QString value;
    if (ProgramKey(false).readString(QLatin1String(name), value)) return value;
    if (writeBack == WriteBack::Yes) ProgramKey(true).writeString(QLatin1String(name), fallback);
    return fallback;
}

int ReadInt(const char* name, int fallback, WriteBack writeBack) {
    int value = 0;
    if (ProgramKey(false).readInt(QLatin1String(name), value)) return value;
    if (writeBack == WriteBack::Yes) ProgramKey(true).writeInt(QLatin1String(name), fallback);
    return fallback;
}

double ReadDouble(const char* name, double fallback) {
    double value = 0.0;
    if (ProgramKey(false).readDouble(QLatin1String(name), value)) return value;
    return fallback;
}

void WriteText(const char* name, const QString& value) {
    ProgramKey(true).writeString(QLatin1String(name), value);
}
void WriteInt(const char* name, int value) {
    ProgramKey(true).writeInt(QLatin1String(name), value);
}
void WriteDouble(const char* name, double value) {
    ProgramKey(true).writeDouble(QLatin1String(name), value);
}

// A folder that already ends in either separator (a portable path ends in '/') is left as it is.
QString WithFinalBackslash(QString text) {
    if (!text.endsWith(QLatin1Char('\\')) && !text.endsWith(QLatin1Char('/')))
        text.append(QLatin1Char('\\'));
    return text;
}

}  // namespace

QString GetVersionString() {
    return ReadText("Version", QStringLiteral("(Engineering)"), WriteBack::No);
}

int GetConsensusDisplayEntries() {
    return ReadInt("ConsensusDisplayEntries", 10, WriteBack::Yes);
}
void SetConsensusDisplayEntries(int value) {
    WriteInt("ConsensusDisplayEntries", value);
}
int GetConsensusDisplayMode() {
    return ReadInt("ConsensusDisplayMode", 0, WriteBack::Yes);
}
void SetConsensusDisplayMode(int value) {
    WriteInt("ConsensusDisplayMode", value);
}
int GetSummaryDisplayMode() {
    return ReadInt("SummaryDisplayMode", 0, WriteBack::Yes);
}
void SetSummaryDisplayMode(int value) {
    WriteInt("SummaryDisplayMode", value);
}

QString GetDatabaseDirectory() {
    return WithFinalBackslash(
        ReadText("DatabaseDirectory", QStringLiteral("C:\\Veltrix\\Database\\"), WriteBack::Yes));
}
void SetDatabaseDirectory(const QString& value) {
    WriteText("DatabaseDirectory", value);
}
QString GetSequenceDirectory() {
    return WithFinalBackslash(
        ReadText("SequenceDirectory", QStringLiteral("C:\\Veltrix\\Sequence\\"), WriteBack::Yes));
}
void SetSequenceDirectory(const QString& value) {
    WriteText("SequenceDirectory", value);
}
QString GetPeptideResultsDirectory() {
    return ReadText("PeptideResultsDirectory", QStringLiteral("C:\\Veltrix\\peptide"),
                    WriteBack::Yes);
}
void SetPeptideResultsDirectory(const QString& value) {
    WriteText("PeptideResultsDirectory", value);
}
void SetMassmapDocumentDirectory(const QString& value) {
    WriteText("MassmapDocumentDirectory", value);
}
QString GetSorvexResultsDirectory() {
    return ReadText("SorvexResultsDirectory", QStringLiteral("C:\\Veltrix\\sorvex"),
                    WriteBack::Yes);
}
void SetSorvexResultsDirectory(const QString& value) {
    WriteText("SorvexResultsDirectory", value);
}

QString GetDravelMSOptions() {
    return ReadText("DravelMSOptions", QStringLiteral("-Z -X"), WriteBack::No);
}
QString GetDravelMSnOptions() {
    return ReadText("DravelMSnOptions", QStringLiteral("-Z -X"), WriteBack::No);
}
QString GetDravelMSProgram() {
    return ReadText("DravelMSProgram", QStringLiteral("dravel_ms.exe"), WriteBack::No);
}
QString GetDravelMSnProgram() {
    return ReadText("DravelMSnProgram", QStringLiteral("dravel_msn.exe"), WriteBack::No);
}
QString GetMassmapOptions() {
    return ReadText("MassmapOptions", QString(), WriteBack::No);
}
QString GetMassmapProgram() {
    return ReadText("MassmapProgram", QStringLiteral("massmap.exe"), WriteBack::No);
}
QString GetSorvexOptions() {
    return ReadText("SorvexOptions", QString(), WriteBack::No);
}
QString GetSorvexProgram() {
    return ReadText("SorvexProgram", QStringLiteral("sorvex27.exe"), WriteBack::No);
}
QString GetSorvexQueueProgram() {
    return ReadText("SorvexQueueProgram", QStringLiteral("SorvexQueue.exe"), WriteBack::No);
}
int IsSorvexQueueEnabled() {
    return ReadInt("SorvexQueueEnabled", 0, WriteBack::No);
}

int GetDtaGroupScan() {
    return ReadInt("DtaGroupScan", 1, WriteBack::No);
}
void SetDtaGroupScan(int value) {
    WriteInt("DtaGroupScan", value);
}
int GetDtaMinGroupCount() {
    return ReadInt("DtaMinGroupCount", 2, WriteBack::No);
}
void SetDtaMinGroupCount(int value) {
    WriteInt("DtaMinGroupCount", value);
}
int GetDtaMinIonCount() {
    return ReadInt("DtaMinIonCount", 35, WriteBack::No);
}
void SetDtaMinIonCount(int value) {
    WriteInt("DtaMinIonCount", value);
}
double GetDtaPrecursorTolerance() {
    return ReadDouble("DtaPrecursorTolerance", 1.4);
}
void SetDtaPrecursorTolerance(double value) {
    WriteDouble("DtaPrecursorTolerance", value);
}
double GetDtaThreshold() {
    return ReadDouble("DtaThreshold", 100000.0);
}
void SetDtaThreshold(double value) {
    WriteDouble("DtaThreshold", value);
}

int GetXpressAutoCalculate() {
    return ReadInt("XpressAutoCalculate", 0, WriteBack::No);
}
void SetXpressAutoCalculate(int value) {
    WriteInt("XpressAutoCalculate", value);
}
QString GetXpressResidue() {
    return ReadText("XpressResidue", QStringLiteral("C"), WriteBack::No);
}
void SetXpressResidue(const QString& value) {
    WriteText("XpressResidue", value);
}
double GetXpressDifference() {
    return ReadDouble("XpressDifference", 8.0);
}
int GetXpressScanWindow() {
    return ReadInt("XpressScanWindow", 6, WriteBack::No);
}
double GetXpressTolerance() {
    return ReadDouble("XpressTolerance", 1.5);
}
void SetXpressTolerance(double value) {
    WriteDouble("XpressTolerance", value);
}

QString GetNCBIBlastURL() {
    return ReadText("NCBIBlastURL",
                    QStringLiteral("https://blast.ncbi.nlm.nih.gov/blast/blast.cgi"),
                    WriteBack::Yes);
}
void SetNCBIBlastURL(const QString& value) {
    WriteText("NCBIBlastURL", value);
}
QString GetSwissProtURL() {
    return ReadText("SwissProtURL", QStringLiteral("https://web.expasy.org/cgi-bin"),
                    WriteBack::Yes);
}
void SetSwissProtURL(const QString& value) {
    WriteText("SwissProtURL", value);
}

QString GetEnzymeEntry(int index) {
    if (index < 0 || index >= kEnzymeEntryCount) return QString();
    QString value;
    const RegKey key(RegRoot::LocalMachine, QString::fromLatin1(kEnzymeTableKey), false);
    if (key.readString(QStringLiteral("Enzyme%1").arg(index), value)) return value;
    return DefaultEnzymeText(index);
}

void SetEnzymeEntry(int index, const QString& text) {
    if (index < 0 || index >= kEnzymeEntryCount) return;
    RegKey key(RegRoot::LocalMachine, QString::fromLatin1(kEnzymeTableKey), true);
    key.writeString(QStringLiteral("Enzyme%1").arg(index), text);
}

bool GetDatabaseInfo(const QString& name, int& fileSize, int& proteinCount) {
    fileSize = 0;
    proteinCount = 0;
    const RegKey key(RegRoot::CurrentUser,
                     QString::fromLatin1(kDatabaseKey) + QLatin1Char('\\') + name, false);
    if (!key.readInt(QStringLiteral("FileSize"), fileSize)) fileSize = 0;
    if (!key.readInt(QStringLiteral("NumberOfProteins"), proteinCount)) proteinCount = 0;
    return true;
}

bool SetDatabaseInfo(const QString& name, int fileSize, int proteinCount) {
    RegKey key(RegRoot::CurrentUser, QString::fromLatin1(kDatabaseKey) + QLatin1Char('\\') + name,
               true);
    const bool sizeWritten = key.writeInt(QStringLiteral("FileSize"), fileSize);
    const bool countWritten = key.writeInt(QStringLiteral("NumberOfProteins"), proteinCount);
    return sizeWritten && countWritten;
}

bool GetDatabaseNames(QStringList& names) {
    const RegKey key(RegRoot::CurrentUser, QString::fromLatin1(kDatabaseKey), false);
    names = key.isValid() ? key.subKeyNames() : QStringList();
    return true;
}

QString GetVeltrixPath() {
    QString value;
    const RegKey key(RegRoot::LocalMachine, QString::fromLatin1(kGlobalKey), false);
    if (key.readString(QStringLiteral("Veltrix Path"), value)) return value;
    return QString();
}

QString GetProgramDirectory() {
    // Without a data-system installation the program's own folder holds its templates, tools
    // and start-up picture.
    const QString veltrix = GetVeltrixPath();
    if (veltrix.isEmpty() && QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return veltrix + QStringLiteral("\\system\\programs\\ZarvikBrowser");
}

QString GetHelpFilePath(const QString& corePath) {
    if (corePath.isEmpty())
        return QStringLiteral("C:\\Veltrix\\System\\Programs\\ZarvikBrowser\\Zarvik3.HLP");
    return corePath + QStringLiteral("\\System\\Programs\\ZarvikBrowser\\Zarvik3.HLP");
}

QString GetAboutNoticeText() {
    return QStringLiteral("ZarvikBrowser, a workbench for tandem mass spectrometry results.");
}

}  // namespace zar
