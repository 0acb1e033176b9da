#pragma once
// The "Zarvik Browser Directories" page of the Configuration sheet: the folders of search
// results, peptide-mapping results, databases and sequence files, each with a "..." button that
// opens a folder picker on it.

#include "controls/DialogBase.h"

#include <QString>

#include <array>
#include <functional>

class QLineEdit;
class QPushButton;

namespace zar {

class CSorvexDirectoryPage : public CPropertyPageBase {
    Q_OBJECT
  public:
    enum Folder { kSorvexResults = 0, kPeptideResults = 1, kDatabase = 2, kSequence = 3, kFolderCount = 4 };
    // Picks a folder starting at start; an empty text when the user cancels.
    using FolderPicker = std::function<QString(QWidget* parent, const QString& title, const QString& start)>;

    // Reads the four folders from the settings.
    explicit CSorvexDirectoryPage(QWidget* sheet = nullptr);

    // Writes the four folders to the settings, after taking them from the edits.
    void SaveSettings();

    void OnBrowseSorvexResults() { browse(kSorvexResults); }
    void OnBrowsePeptideResults() { browse(kPeptideResults); }
    void OnBrowseDatabase() { browse(kDatabase); }
    void OnBrowseSequence() { browse(kSequence); }
    // Help on the page (the Configuration sheet's help button comes here).
    void OnHelp();

    void SetFolderPicker(FolderPicker picker) { picker_ = std::move(picker); }
    QString FolderText(Folder folder) const { return folders_[folder]; }
    QLineEdit* Edit(Folder folder) const { return edits_[folder]; }
    QPushButton* BrowseButton(Folder folder) const { return buttons_[folder]; }

  protected:
    void DoDataExchange(CDataExchange& dx) override;

  private:
    void browse(int folder);

    std::array<QString, kFolderCount> folders_;
    std::array<QLineEdit*, kFolderCount> edits_{};
    std::array<QPushButton*, kFolderCount> buttons_{};
    FolderPicker picker_;
};

}  // namespace zar
