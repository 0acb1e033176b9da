#include "SearchAdvancedPage.h"

#include "SearchPropertySheet.h"

#include "controls/EditTextOnly.h"
#include "controls/NumericEditCtrl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace zar {
namespace {
constexpr unsigned kToleranceDecimals = 4;
constexpr unsigned kToleranceWidth = 8;
}  // namespace

CSearchAdvancedPage::CSearchAdvancedPage(SearchKind kind, int templateId,
                                         CSearchPropertySheet* sheet)
    : CSearchPageBase(templateId, QStringLiteral("Advanced Parameters"), sheet),
      kind_(kind),
      layout_(new QVBoxLayout(this)) {
    auto* generation =
        new QGroupBox(QStringLiteral("Tolerance && Limits for Dta Generation"), this);
    auto* genGrid = new QGridLayout(generation);
    int row = 0;
    precursor_ = AddDouble(
        genGrid, row++, kPrecursorId,
        IsSorvex() ? QStringLiteral("Precursor &Mass:") : QStringLiteral("Protein &Mass:"),
        kToleranceLimits);
    if (IsSorvex()) {
        groupScan_ =
            AddInt(genGrid, row++, kGroupScanId, QStringLiteral("&Group Scan:"), kScanCountLimits);
        minGroupCount_ = AddInt(genGrid, row++, kMinGroupCountId,
                                QStringLiteral("Minimum G&roup Count:"), kScanCountLimits);
    }
    minIonCount_ = AddInt(genGrid, row++, kMinIonCountId, QStringLiteral("Minimum &Ion Count:"),
                          kScanCountLimits);
    if (IsSorvex()) {
        charge_ =
            AddInt(genGrid, row++, kChargeId, QStringLiteral("&Use Charge State:"), kChargeLimits);
    }
    auto* subsequenceLabel = new QLabel(QStringLiteral("Subse&quence:"), generation);
    subsequence_ = Control(kSubsequenceId, new CEditTextOnly(generation));
    subsequenceLabel->setBuddy(subsequence_);
    connect(subsequence_, &QLineEdit::textEdited, this,
            [this](const QString& text) { OnSubsequenceEdited(text); });
    genGrid->addWidget(subsequenceLabel, row, 0);
    genGrid->addWidget(subsequence_, row++, 1);
    genGrid->setRowStretch(row, 1);

    auto* search = new QGroupBox(QStringLiteral("Tolerance && Limits for Dta Search"), this);
    auto* searchGrid = new QGridLayout(search);
    row = 0;
    peptide_ =
        AddDouble(searchGrid, row++, kPeptideId, QStringLiteral("&Peptide:"), kToleranceLimits);
    fragment_ = AddDouble(searchGrid, row++, kFragmentId, QStringLiteral("&Fragment Ions:"),
                          kToleranceLimits);
    if (IsSorvex()) {
        resultsScored_ = AddInt(searchGrid, row++, kResultsScoredId,
                                QStringLiteral("&Number results scored:"), kResultsScoredLimits);
    } else {
        cleavageSites_ = AddInt(searchGrid, row++, kCleavageSitesId,
                                QStringLiteral("&Number of Cleavage Sites:"), kCleavageSitesLimits);
    }
    searchGrid->setRowStretch(row, 1);

    auto* output = new QGroupBox(QStringLiteral("Output"), this);
    auto* outputGrid = new QGridLayout(output);
    row = 0;
    outputLines_ = AddInt(outputGrid, row++, kOutputLinesId,
                          QStringLiteral("Number &Output Lines:"), kOutputLinesLimits);
    if (IsSorvex()) {
        showFragmentIons_ =
            AddCheck(kShowFragmentIonsId, QStringLiteral("Sho&w Fragment Ions"), output);
        outputGrid->addWidget(showFragmentIons_, row++, 0, 1, 2);
    }
    printDuplicates_ =
        AddCheck(kPrintDuplicatesId, QStringLiteral("Print &Duplicate References"), output);
    outputGrid->addWidget(printDuplicates_, row++, 0, 1, 2);
    if (IsSorvex()) {
        printAdvanced_ =
            AddCheck(kPrintAdvancedId, QStringLiteral("Print Ad&vanced Parameters"), output);
        outputGrid->addWidget(printAdvanced_, row++, 0, 1, 2);
    }
    outputGrid->setRowStretch(row, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(generation);
    auto* right = new QVBoxLayout;
    right->addWidget(search);
    if (IsSorvex()) {
        auto* ions = new QGroupBox(QStringLiteral("Ion Series Calculated"), this);
        auto* ionsRow = new QHBoxLayout(ions);
        aIons_ = AddCheck(kAIonsId, QStringLiteral("&A Ions"), ions);
        bIons_ = AddCheck(kBIonsId, QStringLiteral("&B Ions"), ions);
        yIons_ = AddCheck(kYIonsId, QStringLiteral("&Y Ions"), ions);
        for (QCheckBox* box : {aIons_, bIons_, yIons_}) ionsRow->addWidget(box);
        right->addWidget(ions);
        right->addWidget(output);
    } else {
        left->addWidget(output);
    }
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    layout_->addLayout(columns);
    if (IsSorvex()) layout_->addStretch(1);
}

CDoubleEditCtrl* CSearchAdvancedPage::AddDouble(QGridLayout* grid, int row, int id,
                                                const QString& label, const DoubleLimits& limits) {
    auto* parent = grid->parentWidget();
    auto* text = new QLabel(label, parent);
    auto* edit = Control(id, new CDoubleEditCtrl(parent));
    edit->Initialize(limits.low, limits.low, limits.high, kToleranceWidth, kToleranceDecimals);
    text->setBuddy(edit);
    connect(edit, &QLineEdit::textEdited, this, [this] { MarkChanged(); });
    grid->addWidget(text, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

CIntEditCtrl* CSearchAdvancedPage::AddInt(QGridLayout* grid, int row, int id, const QString& label,
                                          const IntLimits& limits) {
    auto* parent = grid->parentWidget();
    auto* text = new QLabel(label, parent);
    auto* edit = Control(id, new CIntEditCtrl(parent));
    edit->Initialize(limits.low, limits.low, limits.high);
    text->setBuddy(edit);
    connect(edit, &QLineEdit::textEdited, this, [this] { MarkChanged(); });
    grid->addWidget(text, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

QCheckBox* CSearchAdvancedPage::AddCheck(int id, const QString& text, QWidget* parent) {
    QCheckBox* box = NewCheck(id, text, parent);
    connect(box, &QCheckBox::clicked, this, [this, id] { OnCheckClicked(id); });
    return box;
}

void CSearchAdvancedPage::DoDataExchange(CDataExchange& dx) {
    AdvancedPageValues& a = Model().advanced;
    ExchangeDouble(dx, precursor_, a.precursorTolerance);
    if (groupScan_) ExchangeInt(dx, groupScan_, a.groupScan);
    if (minGroupCount_) ExchangeInt(dx, minGroupCount_, a.minGroupCount);
    ExchangeInt(dx, minIonCount_, a.minIonCount);
    if (charge_) ExchangeCharge(dx, charge_, a.charge);
    ExchangeText(dx, subsequence_, a.subsequence);
    ExchangeDouble(dx, peptide_, a.peptideTolerance);
    ExchangeDouble(dx, fragment_, a.fragmentTolerance);
    if (resultsScored_) ExchangeInt(dx, resultsScored_, a.numResults);
    if (cleavageSites_) ExchangeInt(dx, cleavageSites_, Model().basic.cleavageSites);
    ExchangeInt(dx, outputLines_, a.outputLines);
    if (aIons_) {
        ExchangeCheck(dx, aIons_, a.aIons);
        ExchangeCheck(dx, bIons_, a.bIons);
        ExchangeCheck(dx, yIons_, a.yIons);
        ExchangeCheck(dx, showFragmentIons_, a.showFragmentIons);
        ExchangeCheck(dx, printAdvanced_, a.printAdvancedParameters);
    }
    ExchangeCheck(dx, printDuplicates_, a.printDuplicateReferences);
}

bool* CSearchAdvancedPage::FlagOf(AdvancedPageValues& values, int id) {
    switch (id) {
        case kAIonsId:
            return &values.aIons;
        case kBIonsId:
            return &values.bIons;
        case kYIonsId:
            return &values.yIons;
        case kShowFragmentIonsId:
            return &values.showFragmentIons;
        case kPrintAdvancedId:
            return &values.printAdvancedParameters;
        case kPrintDuplicatesId:
            return &values.printDuplicateReferences;
        default:
            return nullptr;
    }
}

void CSearchAdvancedPage::OnCheckClicked(int id) {
    bool* field = FlagOf(Model().advanced, id);
    if (!field) return;
    *field = static_cast<QCheckBox*>(GetDlgItem(id))->isChecked();
    AdvancedPageValues reference;
    if (*field != *FlagOf(reference, id)) MarkChanged();
}

void CSearchAdvancedPage::OnSubsequenceEdited(const QString& text) {
    if (text != Model().advanced.subsequence) MarkChanged();
}

void CSearchAdvancedPage::EnableGroup(int group, bool enable) {
    if (group == kGenerationGroup) {
        EnableIds({kPrecursorId, kGroupScanId, kMinGroupCountId, kMinIonCountId, kChargeId,
                   kSubsequenceId},
                  enable);
    } else {
        EnableIds({kPeptideId, kFragmentId, kResultsScoredId, kAIonsId, kBIonsId, kYIonsId,
                   kOutputLinesId, kShowFragmentIonsId, kPrintDuplicatesId, kPrintAdvancedId},
                  enable);
    }
}

void CSearchAdvancedPage::ApplyEnableFlags(const SearchEnableFlags& flags) {
    EnableGroup(kGenerationGroup, flags.generation);
    EnableGroup(kSearchGroup, flags.search);
    EnableIds({kCleavageSitesId}, flags.databaseDependent);
}

}  // namespace zar
