#include "DisplaySettingsPropertySheet.h"

#include "AxesPositionPage.h"
#include "LabelsPage.h"
#include "ScalingPage.h"
#include "app/ZarApp.h"
#include "document/UpdateHints.h"
#include "document/hub/ZarDoc.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QShortcut>

namespace zar {

CDisplaySettingsPropertySheet::CDisplaySettingsPropertySheet(QWidget* parent, int firstPage)
    : CPropertySheetBase(QStringLiteral("Display Settings"), parent, firstPage),
      configuration_(std::make_unique<CVXConfiguration>()),
      scaling_(new CScalingPage(this)),
      labels_(new CLabelsPage(this)),
      positions_(new CAxesPositionPage(this)) {
    AddPage(scaling_);
    AddPage(labels_);
    AddPage(positions_);
    // F1 on a page shows that page's own topic.
    for (CPropertyPageBase* page : {static_cast<CPropertyPageBase*>(scaling_),
                                    static_cast<CPropertyPageBase*>(labels_),
                                    static_cast<CPropertyPageBase*>(positions_)}) {
        auto* key = new QShortcut(QKeySequence::HelpContents, page, page,
                                  [page] { ShowContextHelp(page, page->TemplateId()); });
        key->setContext(Qt::WidgetWithChildrenShortcut);
    }
    // Room for the three tabs side by side.
    setMinimumWidth(kMinimumWidth);
}

CDisplaySettingsPropertySheet::~CDisplaySettingsPropertySheet() = default;

bool CDisplaySettingsPropertySheet::OnInitDialog() {
    CPropertySheetBase::OnInitDialog();
    // OK and Cancel stand where they are; there is no Apply. Help shows the sheet's topic.
    help_ = ButtonBox()->addButton(QDialogButtonBox::Help);
    help_->setObjectName(QStringLiteral("Button%1").arg(kHelpId));
    help_->setEnabled(true);
    connect(help_, &QPushButton::clicked, this,
            [this] { ShowContextHelp(this, CScalingPage::kTemplateId); });
    return true;
}

bool TakeDisplaySettings(CDisplaySettingsPropertySheet& sheet, CZarDoc& doc) {
    if (doc.GetConfiguration().is_equal(sheet.Configuration())) return false;
    doc.GetConfiguration().copy_object(sheet.Configuration());
    doc.ApplyDisplaySettings();
    doc.UpdateAllViews(nullptr, kHintDisplaySettings);
    return true;
}

bool RunDisplaySettings(QWidget* parent, CZarDoc& doc) {
    CDisplaySettingsPropertySheet sheet(parent);
    sheet.Configuration().copy_object(doc.GetConfiguration());
    if (sheet.DoModal() != QDialog::Accepted) return false;
    return TakeDisplaySettings(sheet, doc);
}

}  // namespace zar
