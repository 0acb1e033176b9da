#pragma once
// The "Advanced Parameters" fields of both sheets: tolerances and limits of the extraction and
// of the search, and the output options. The Sorvex page has them all; the Massmap page has a
// shorter set (with the number of cleavage sites) above its modification grids.

#include "SearchPageBase.h"

class QGridLayout;
class QVBoxLayout;

namespace zar {

class CEditTextOnly;

class CSearchAdvancedPage : public CSearchPageBase {
    Q_OBJECT
  public:
    static constexpr int kPrecursorId = 8709;
    static constexpr int kGroupScanId = 8710;
    static constexpr int kMinGroupCountId = 8711;
    static constexpr int kMinIonCountId = 8712;
    static constexpr int kChargeId = 8713;
    static constexpr int kResultsScoredId = 8714;
    static constexpr int kCleavageSitesId = 8740;
    static constexpr int kSubsequenceId = 8748;
    static constexpr int kPeptideId = 8757;
    static constexpr int kFragmentId = 8758;
    static constexpr int kShowFragmentIonsId = 8759;
    static constexpr int kPrintDuplicatesId = 8760;
    static constexpr int kPrintAdvancedId = 8761;
    static constexpr int kBIonsId = 8762;
    static constexpr int kYIonsId = 8763;
    static constexpr int kAIonsId = 8764;
    static constexpr int kOutputLinesId = 8766;
    static constexpr int kGenerationGroup = 1;
    static constexpr int kSearchGroup = 0;

    // Enables the extraction group (1) or the search group (0).
    void EnableGroup(int group, bool enable);
    void ApplyEnableFlags(const SearchEnableFlags& flags) override;

    // What the user does.
    void OnCheckClicked(int id);
    void OnSubsequenceEdited(const QString& text);

  protected:
    CSearchAdvancedPage(SearchKind kind, int templateId, CSearchPropertySheet* sheet);
    void DoDataExchange(CDataExchange& dx) override;
    // The page's layout, for what a page adds below the fields.
    QVBoxLayout* PageLayout() const { return layout_; }

  private:
    bool IsSorvex() const { return kind_ == SearchKind::Sorvex; }
    CDoubleEditCtrl* AddDouble(QGridLayout* grid, int row, int id, const QString& label,
                               const DoubleLimits& limits);
    CIntEditCtrl* AddInt(QGridLayout* grid, int row, int id, const QString& label,
                         const IntLimits& limits);
    QCheckBox* AddCheck(int id, const QString& text, QWidget* parent);
    // The flag of a check box among the page's values; null for any other id.
    static bool* FlagOf(AdvancedPageValues& values, int id);

    SearchKind kind_;
    QVBoxLayout* layout_;
    CDoubleEditCtrl* precursor_ = nullptr;
    CIntEditCtrl* groupScan_ = nullptr;
    CIntEditCtrl* minGroupCount_ = nullptr;
    CIntEditCtrl* minIonCount_ = nullptr;
    CIntEditCtrl* charge_ = nullptr;
    CEditTextOnly* subsequence_ = nullptr;
    CDoubleEditCtrl* peptide_ = nullptr;
    CDoubleEditCtrl* fragment_ = nullptr;
    CIntEditCtrl* resultsScored_ = nullptr;
    CIntEditCtrl* cleavageSites_ = nullptr;
    CIntEditCtrl* outputLines_ = nullptr;
    QCheckBox* aIons_ = nullptr;
    QCheckBox* bIons_ = nullptr;
    QCheckBox* yIons_ = nullptr;
    QCheckBox* showFragmentIons_ = nullptr;
    QCheckBox* printDuplicates_ = nullptr;
    QCheckBox* printAdvanced_ = nullptr;
};

}  // namespace zar
