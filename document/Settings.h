#pragma once
// The program's persistent settings: one getter (and, where the settings sheet edits a value,
// one setter) per registry value. Getters read the store on every call; a value that cannot be
// read yields its default, and the getters marked "written back" store that default.
//
// Folder values keep the text they are stored with (Windows form, "C:\Veltrix\..."); callers
// that use one as a path pass it through zar::PortablePath.

#include <QString>
#include <QStringList>

namespace zar {

// Key paths below the roots.
extern const char* const kProgramKey;      // HKEY_LOCAL_MACHINE
extern const char* const kEnzymeTableKey;  // HKEY_LOCAL_MACHINE
extern const char* const kDatabaseKey;     // HKEY_CURRENT_USER, one subkey per database
extern const char* const kGlobalKey;       // HKEY_LOCAL_MACHINE

constexpr int kEnzymeEntryCount = 25;

QString GetVersionString();  // "Version", default "(Engineering)"

int GetConsensusDisplayEntries();  // default 10, written back
void SetConsensusDisplayEntries(int value);
int GetConsensusDisplayMode();  // flag, default 0, written back
void SetConsensusDisplayMode(int value);
int GetSummaryDisplayMode();  // flag, default 0, written back
void SetSummaryDisplayMode(int value);

// Returned with a final '\' (the stored text is left as it is); default written back.
QString GetDatabaseDirectory();
void SetDatabaseDirectory(const QString& value);
QString GetSequenceDirectory();
void SetSequenceDirectory(const QString& value);
QString GetPeptideResultsDirectory();  // written back
void SetPeptideResultsDirectory(const QString& value);
void SetMassmapDocumentDirectory(const QString& value);
QString GetSorvexResultsDirectory();  // written back
void SetSorvexResultsDirectory(const QString& value);

QString GetDravelMSOptions();
QString GetDravelMSnOptions();
QString GetDravelMSProgram();
QString GetDravelMSnProgram();
QString GetMassmapOptions();
QString GetMassmapProgram();
QString GetSorvexOptions();
QString GetSorvexProgram();
QString GetSorvexQueueProgram();
int IsSorvexQueueEnabled();

int GetDtaGroupScan();
void SetDtaGroupScan(int value);
int GetDtaMinGroupCount();
void SetDtaMinGroupCount(int value);
int GetDtaMinIonCount();
void SetDtaMinIonCount(int value);
double GetDtaPrecursorTolerance();
void SetDtaPrecursorTolerance(double value);
double GetDtaThreshold();
void SetDtaThreshold(double value);

int GetXpressAutoCalculate();
void SetXpressAutoCalculate(int value);
QString GetXpressResidue();
void SetXpressResidue(const QString& value);
double GetXpressDifference();
int GetXpressScanWindow();
double GetXpressTolerance();
void SetXpressTolerance(double value);

QString GetNCBIBlastURL();  // written back
void SetNCBIBlastURL(const QString& value);
QString GetSwissProtURL();  // written back
void SetSwissProtURL(const QString& value);

// "Enzyme%d" of the enzyme table key; the built-in rule when missing (not written back);
// empty outside 0..24.
QString GetEnzymeEntry(int index);
void SetEnzymeEntry(int index, const QString& text);

// FileSize and NumberOfProteins of a database (0 for a value that cannot be read); always true.
bool GetDatabaseInfo(const QString& name, int& fileSize, int& proteinCount);
// True only when both values were written.
bool SetDatabaseInfo(const QString& name, int fileSize, int proteinCount);
bool GetDatabaseNames(QStringList& names);

// "Veltrix Path" of the Global key, empty when missing.
QString GetVeltrixPath();
// GetVeltrixPath() + "\system\programs\ZarvikBrowser".
QString GetProgramDirectory();
// corePath (the data system's core folder) + "\System\Programs\ZarvikBrowser\Zarvik3.HLP";
// "C:\Veltrix\System\Programs\ZarvikBrowser\Zarvik3.HLP" when corePath is empty.
QString GetHelpFilePath(const QString& corePath = QString());
// The notice line of the About box.
QString GetAboutNoticeText();

}  // namespace zar
