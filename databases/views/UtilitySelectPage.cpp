#include "UtilitySelectPage.h"

#include "SelectStatusDialog.h"

#include "controls/NumericEditCtrl.h"
#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "databases/FastaUtilities.h"
#include "document/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace zar {

namespace {

const QString kDatabaseFilter = QStringLiteral("Database Files (*.fasta)");

// One group of six rows, each a check box and the string field it unlocks.
QGroupBox* StringRows(const QString& title, const QString& note, QWidget* parent,
                      std::array<QCheckBox*, kSelectStrings>& checks,
                      std::array<QLineEdit*, kSelectStrings>& edits) {
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QGridLayout(group);
    layout->addWidget(new QLabel(note, group), 0, 0, 1, 2);
    for (int i = 0; i < kSelectStrings; ++i) {
        checks[static_cast<std::size_t>(i)] = new QCheckBox(group);
        edits[static_cast<std::size_t>(i)] = new QLineEdit(group);
        edits[static_cast<std::size_t>(i)]->setMaxLength(kMaxSelectStringChars);
        layout->addWidget(checks[static_cast<std::size_t>(i)], i + 1, 0);
        layout->addWidget(edits[static_cast<std::size_t>(i)], i + 1, 1);
    }
    return group;
}

}  // namespace

CUtilitySelectPage::CUtilitySelectPage(QWidget* parent)
    : CPropertyPageBase(kTemplateId, QStringLiteral("Select"), parent),
      rangeEdit_(new CDoubleRangeEditCtrl(this)),
      targetEdit_(new QLineEdit(this)),
      originalEdit_(new QLineEdit(this)),
      targetModes_(new QButtonGroup(this)),
      enableRange_(new QCheckBox(QStringLiteral("&Enable mass range check"), this)),
      massInHeader_(new QCheckBox(
          QStringLiteral("&Include the protein mass in description/reference for the protein"),
          this)),
      initialDirectory_(PortablePath(GetDatabaseDirectory())) {
    auto* layout = new QVBoxLayout(this);

    auto* databases = new QGroupBox(QStringLiteral("Databases"), this);
    auto* files = new QGridLayout(databases);
    auto* originalBrowse = new QPushButton(QStringLiteral("..."), databases);
    auto* targetBrowse = new QPushButton(QStringLiteral("..."), databases);
    originalBrowse->setFixedWidth(32);
    targetBrowse->setFixedWidth(32);
    originalEdit_->setParent(databases);
    targetEdit_->setParent(databases);
    auto* originalLabel = new QLabel(QStringLiteral("&Original:"), databases);
    auto* targetLabel = new QLabel(QStringLiteral("&Target:"), databases);
    originalLabel->setBuddy(originalEdit_);
    targetLabel->setBuddy(targetEdit_);
    files->addWidget(originalLabel, 0, 0);
    files->addWidget(originalEdit_, 0, 1);
    files->addWidget(originalBrowse, 0, 2);
    files->addWidget(targetLabel, 1, 0);
    files->addWidget(targetEdit_, 1, 1);
    files->addWidget(targetBrowse, 1, 2);
    auto* modes = new QHBoxLayout;
    modes->addWidget(new QLabel(QStringLiteral("Target Database Options:"), databases));
    auto* create = new QRadioButton(QStringLiteral("&Create/Replace"), databases);
    auto* append = new QRadioButton(QStringLiteral("&Append"), databases);
    targetModes_->addButton(create, 0);
    targetModes_->addButton(append, 1);
    modes->addWidget(create);
    modes->addWidget(append);
    modes->addStretch();
    files->addLayout(modes, 2, 0, 1, 3);
    layout->addWidget(databases);

    auto* strings = new QHBoxLayout;
    strings->addWidget(StringRows(QStringLiteral("Strings to Include In Search"),
                                  QStringLiteral("(Only checked items can be edited and included "
                                                 "in search)"),
                                  this, includeChecks_, includeEdits_));
    strings->addWidget(StringRows(QStringLiteral("Strings to Exclude From Search"),
                                  QStringLiteral("(Only checked items can be edited and excluded "
                                                 "from search)"),
                                  this, excludeChecks_, excludeEdits_));
    layout->addLayout(strings);

    auto* range = new QGroupBox(QStringLiteral("Protein Mass Range"), this);
    auto* rangeLayout = new QGridLayout(range);
    enableRange_->setParent(range);
    massInHeader_->setParent(range);
    rangeEdit_->setParent(range);
    auto* rangeLabel = new QLabel(QStringLiteral("&Range:"), range);
    rangeLabel->setBuddy(rangeEdit_);
    rangeLayout->addWidget(enableRange_, 0, 0, 1, 2);
    rangeLayout->addWidget(rangeLabel, 1, 0);
    rangeLayout->addWidget(rangeEdit_, 1, 1);
    rangeLayout->addWidget(massInHeader_, 2, 0, 1, 2);
    layout->addWidget(range);

    auto* build = new QPushButton(QStringLiteral("&Build Database"), this);
    auto* buildRow = new QHBoxLayout;
    buildRow->addStretch();
    buildRow->addWidget(build);
    layout->addLayout(buildRow);
    layout->addStretch();

    AddControl(kRangeId, rangeEdit_);
    AddControl(kOriginalId, originalEdit_);
    AddControl(kOriginalBrowseId, originalBrowse);
    AddControl(kTargetId, targetEdit_);
    AddControl(kTargetBrowseId, targetBrowse);
    AddControl(kCreateId, create);
    AddControl(kAppendId, append);
    AddControl(kEnableRangeId, enableRange_);
    AddControl(kMassInHeaderId, massInHeader_);
    AddControl(kBuildId, build);
    for (int i = 0; i < kSelectStrings; ++i) {
        AddControl(kFirstIncludeCheckId + i, includeChecks_[static_cast<std::size_t>(i)]);
        AddControl(kFirstIncludeId + i, includeEdits_[static_cast<std::size_t>(i)]);
        AddControl(kFirstExcludeCheckId + i, excludeChecks_[static_cast<std::size_t>(i)]);
        AddControl(kFirstExcludeId + i, excludeEdits_[static_cast<std::size_t>(i)]);
    }
    SetToolTipText(kOriginalBrowseId, QStringLiteral("Browse for the source (input) database."));
    SetToolTipText(kEnableRangeId,
                   QStringLiteral("Checking this box enables search to only include entries "
                                  "that fall within mass range."));
    SetToolTipText(kRangeId,
                   QStringLiteral("Only entries falling within mass range will be included."));

    connect(build, &QPushButton::clicked, this, &CUtilitySelectPage::OnBuildDatabase);
    connect(originalBrowse, &QPushButton::clicked, this, &CUtilitySelectPage::OnBrowseOriginal);
    connect(targetBrowse, &QPushButton::clicked, this, &CUtilitySelectPage::OnBrowseTarget);
    for (QCheckBox* box : includeChecks_)
        connect(box, &QCheckBox::toggled, this, &CUtilitySelectPage::OnCheckChanged);
    for (QCheckBox* box : excludeChecks_)
        connect(box, &QCheckBox::toggled, this, &CUtilitySelectPage::OnCheckChanged);
    connect(enableRange_, &QCheckBox::toggled, this, &CUtilitySelectPage::OnCheckChanged);
}

bool CUtilitySelectPage::OnInitDialog() {
    rangeEdit_->Initialize(lowestMass_, highestMass_, 0.0, kHighestMassLimit, 0);
    for (QLineEdit* edit : includeEdits_) edit->setEnabled(false);
    for (QLineEdit* edit : excludeEdits_) edit->setEnabled(false);
    rangeEdit_->setEnabled(false);
    return true;
}

void CUtilitySelectPage::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, originalEdit_, originalPath_);
    DDX_Text(dx, targetEdit_, targetPath_);
    DDX_Radio(dx, targetModes_, targetMode_);
    DDX_Check(dx, enableRange_, enableMassRange_);
    DDX_Check(dx, massInHeader_, includeMassInHeader_);
    for (std::size_t i = 0; i < kSelectStrings; ++i) {
        DDX_Check(dx, includeChecks_[i], includeChecked_[i]);
        DDX_Text(dx, includeEdits_[i], includeStrings_[i], kMaxSelectStringChars);
        DDX_Check(dx, excludeChecks_[i], excludeChecked_[i]);
        DDX_Text(dx, excludeEdits_[i], excludeStrings_[i], kMaxSelectStringChars);
    }
}

void CUtilitySelectPage::OnCheckChanged() {
    UpdateData(true);
    for (std::size_t i = 0; i < kSelectStrings; ++i) {
        includeEdits_[i]->setEnabled(includeChecked_[i] != 0);
        excludeEdits_[i]->setEnabled(excludeChecked_[i] != 0);
    }
    rangeEdit_->setEnabled(enableMassRange_ != 0);
}

void CUtilitySelectPage::OnBrowseOriginal() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Browse for Source Database"), initialDirectory_, kDatabaseFilter,
        nullptr, QFileDialog::ReadOnly);
    if (path.isEmpty()) return;
    originalPath_ = path;
    originalEdit_->setText(path);
}

void CUtilitySelectPage::OnBrowseTarget() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Browse for Target Database"), initialDirectory_, kDatabaseFilter,
        nullptr, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return;
    targetPath_ = path;
    targetEdit_->setText(path);
}

bool CUtilitySelectPage::ReadMassRange() {
    double low = 0.0;
    double high = 0.0;
    if (rangeEdit_->GetRange(low, high)) {
        lowestMass_ = low;
        highestMass_ = high;
        return true;
    }
    if (!enableMassRange_) return true;
    // A pair in the wrong order gets its own message; anything else the field's limits.
    const QString text = rangeEdit_->text().trimmed();
    const qsizetype dash = text.indexOf(QLatin1Char('-'), 1);
    CDataExchange dx(true);
    if (dash > 0 && ParseDouble(text.left(dash), low) && ParseDouble(text.mid(dash + 1), high) &&
        low > high) {
        dx.Fail(rangeEdit_, QCFormat("Lowest protein mass is greater than highest protein mass.\n"
                                     "Lowest Protein Mass = %d\nHighest protein mass\n"
                                     "Please try again.",
                                     static_cast<int>(low)));
    } else {
        dx.Fail(rangeEdit_, RangeMessage(0.0, kHighestMassLimit));
    }
    return false;
}

void CUtilitySelectPage::OnBuildDatabase() {
    if (!UpdateData(true) || !ReadMassRange()) return;
    if (!IsValidProteinDatabase(originalPath_)) return;
    const std::optional<QString> target = PrepareSelectTarget(targetPath_, targetMode_);
    if (!target) return;
    targetPath_ = *target;
    targetEdit_->setText(targetPath_);
    const QString written = targetPath_.isEmpty()
                                ? QDir::current().filePath(QLatin1String(kDefaultSelectTarget))
                                : targetPath_;
    if (IsSameFile(originalPath_, written)) {
        ZarMessageBox(QStringLiteral("Original and Target files must be different."), MB_OK);
        return;
    }

    SelectRequest request;
    for (std::size_t i = 0; i < kSelectStrings; ++i) {
        request.includeStrings[i] = includeStrings_[i];
        request.includeEnabled[i] = includeChecked_[i] != 0;
        request.excludeStrings[i] = excludeStrings_[i];
        request.excludeEnabled[i] = excludeChecked_[i] != 0;
    }
    request.lowestMass = enableMassRange_ ? lowestMass_ : 0.0;
    request.highestMass = enableMassRange_ ? highestMass_ : 0.0;
    request.includeMassInHeader = includeMassInHeader_ != 0;
    request.targetMode = targetMode_;
    request.originalPath = originalPath_;
    request.targetPath = targetPath_;
    RunSelection(request);
}

void CUtilitySelectPage::RunSelection(const SelectRequest& request) {
    CSelectStatusDialog dialog(request, this);
    dialog.DoModal();
}

}  // namespace zar
