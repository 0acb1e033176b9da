#pragma once
// What the Sorvex and the Massmap launchers share: one run of a search of the current raw
// file. The launcher opens the parameter sheet; when the user starts the search it removes old
// result files, starts the extraction program that writes one .dta file per spectrum and names
// each on its standard-error pipe, collects the names into the list file, and then starts the
// search program on the list. The programs report through registered messages that the main
// window hands on; the launcher drives the progress dialog and tells the main window by its
// private messages. Programs get argument lists and their folder, never a command line, and the
// program's own current folder is never changed.

#include "SearchLauncher.h"
#include "SearchProgressDlg.h"
#include "SearchPropertySheet.h"

#include "search/DtaListFile.h"
#include "search/ExtractionPipe.h"
#include "search/OutsideProgram.h"
#include "search/SearchParamsModel.h"

#include "document/EnzymeTable.h"
#include "messages/Messages.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <memory>

namespace zar {

class InvalidParamsPrompt;
class VRawfile;

class CSearchLauncherBase : public QObject, public CSearchLauncher {
    Q_OBJECT
  public:
    ~CSearchLauncherBase() override;

    // The launcher's texts, messages and programs.
    struct Traits {
        const char* searchName;         // "Sorvex" in the messages
        QString caption;                // of the sheet
        QString extractionProgram;      // setting: "dravel_msn.exe"
        QStringList extractionOptions;  // the options that come first
        QString searchProgram;          // setting: "sorvex27.exe"
        QStringList searchOptions;
        const char* listName;    // "SorvexList"
        unsigned reshowMessage;  // 0x408E: no .dta files to search, Cancel
        unsigned endMessage;     // 0x4094: EndStep(1)
        bool checkMsMs;          // Start refuses a range without MS/MS scans
    };

    // The frame's side.
    void SetEnzymeTable(const CEnzymeTable::Records* records) { enzymeRecords_ = records; }
    // Opens the sheet for the raw file; false when refused.
    bool Start(const QString& rawFile);
    void SetScanFromTime(double time);
    void SetScanRangeFromTimes(double start, double end);
    bool IsMonitorVisible() const;
    void ReshowSheet();
    void TerminateDtaProcess();
    // The bodies of the registered messages.
    void OnExtractionProgress(WPARAM wParam, LPARAM lParam);
    void OnSearchProgress(WPARAM wParam, LPARAM lParam);
    void OnDatabaseSize(WPARAM wParam, LPARAM lParam);
    // Whether a registered message came from a child this launcher started and still waits
    // for (a message through the channel carries its child's token).
    bool IsOwnChildMessage(const Message& message) const;

    // CSearchLauncher
    void EndStep(bool post) override;
    void DeleteOldResultFiles() override;
    void StartDtaGeneration() override;
    QString ListExistingDtaFiles() override;
    void RunSearch(const QString& listPath) override;
    void SetScanRange(int first, int last) override;
    bool HasSearchDaemon() const override { return false; }
    QString RawFilePath() const override { return rawFile_; }
    void ClearDatabaseTallyDone() override { dbTallyDone_ = false; }
    void SetDbTallyDone(bool done) { dbTallyDone_ = done; }

    // State the frame and the checks read.
    bool IsExtracting() const { return extracting_; }
    bool IsSearching() const { return searching_; }
    bool HasRunState() const { return !sheet_.isNull(); }
    bool ResultsDirectoryExists() const { return resultsDirectoryExists_; }
    bool IsDbTallyDone() const { return dbTallyDone_; }
    CSearchPropertySheet* Sheet() const { return sheet_.data(); }
    CSearchProgressDlg* ProgressDialog() const { return progressDialog_.data(); }
    QString ListPath() const { return listPath_; }
    int DtaCount() const { return dtaCount_; }
    int FilesSearched() const { return filesSearched_; }
    int FirstScan() const { return firstScan_; }
    int LastScan() const { return lastScan_; }
    // The folder of the search started last: its results are loaded when it ends.
    QString SearchedDirectory() const { return searchedDirectory_; }
    const COutsideProgram& Child() const { return *child_; }
    const Traits& LauncherTraits() const { return traits_; }
    // Tests answer the sheet's restore question themselves.
    void SetSheetPrompt(InvalidParamsPrompt* prompt) { prompt_ = prompt; }

  protected:
    CSearchLauncherBase(Traits traits, const QString& resultsDirectory, QWidget* owner,
                        QObject* dtaListWindow);

    virtual CSearchPropertySheet* MakeSheet(InvalidParamsPrompt* prompt) = 0;
    // Where the .dta files are made and searched.
    virtual QString RunDirectory() const = 0;
    // The extraction program's arguments before the sheet's options and the raw file.
    virtual QStringList ExtractionLeadArguments() const = 0;
    // Called by RunSearch once the parameters are saved: true when the search was handed over
    // (to the queue) instead of being started here.
    virtual bool HandOver(const QString& /*directory*/, const ProgramStart& /*search*/) {
        return false;
    }
    // The run is over: flags down, list gone, sheet and dialog deleted.
    void FinishRun();
    QWidget* Owner() const { return owner_.data(); }
    QString ResultsDirectory() const { return resultsDirectory_; }

  private:
    // The document's reader when it has the run open, else one of the launcher's own.
    VRawfile* Reader();
    bool ReadRunInfo(VRawfile& reader, double& low, double& high, int& first, int& last) const;
    bool HasMsMsData(VRawfile& reader, int first, int last) const;
    void RecheckRawFile(VRawfile& reader);
    CSearchProgressDlg* EnsureProgressDialog(bool searchPhase);
    void ReadPipeMessage(long long length);
    void StartDatabaseTally();
    bool OpenListFile();
    void RemoveListFile();
    void PostToOwner(unsigned message, WPARAM wParam = 0, LPARAM lParam = 0, std::any payload = {});
    bool ListWindowExists() const { return !dtaListWindow_.isNull(); }
    // A new token for a child; the old one is dropped.
    QString OpenChildRun();
    void CloseChildRun();
    void BackToIdle();
    QString ProgramInFolder(const QString& folder, const QString& setting) const;

    Traits traits_;
    QPointer<CSearchPropertySheet> sheet_;
    QPointer<CSearchProgressDlg> progressDialog_;
    QPointer<QWidget> owner_;
    QPointer<QObject> dtaListWindow_;
    COutsideProgram* child_;
    CExtractionPipe pipe_;
    CDtaListFile listFile_;
    QString rawFile_;
    bool extracting_ = false;
    bool dbTallyDone_ = true;
    bool resultsDirectoryExists_ = true;
    bool searching_ = false;
    const CEnzymeTable::Records* enzymeRecords_ = nullptr;
    QString resultsDirectory_;  // the registry's, portable
    QString listPath_;
    QString searchedDirectory_;
    int firstScan_ = 1;
    int lastScan_ = 100;
    int filesSearched_ = 0;
    int dtaCount_ = 0;
    QString childToken_;
    QString tallyToken_;
    std::unique_ptr<VRawfile> ownReader_;
    InvalidParamsPrompt* prompt_ = nullptr;
};

}  // namespace zar
