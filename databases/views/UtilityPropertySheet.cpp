#include "UtilityPropertySheet.h"

#include "UtilityAddPage.h"
#include "UtilitySelectPage.h"

#include "ZarApp.h"

#include <QDialogButtonBox>
#include <QPushButton>

namespace zar {

namespace {

QString CaptionText(int captionId) {
    return captionId == CUtilityPropertySheet::kCaptionId
               ? QStringLiteral("Fasta Database Utilities")
               : QString();
}

}  // namespace

CUtilityPropertySheet::CUtilityPropertySheet(int captionId, QWidget* parent, int firstPage)
    : CPropertySheetBase(CaptionText(captionId), parent, firstPage),
      select_(new CUtilitySelectPage(this)),
      add_(new CUtilityAddPage(this)) {
    CPropertySheetBase::AddPage(select_);
    CPropertySheetBase::AddPage(add_);
}

bool CUtilityPropertySheet::OnInitDialog() {
    CPropertySheetBase::OnInitDialog();
    // Nothing to apply: OK goes, Cancel becomes Close, and Help opens the Select page's topic
    // whichever page is shown.
    QDialogButtonBox* box = ButtonBox();
    QPushButton* help = box->addButton(QDialogButtonBox::Help);
    help->setText(QStringLiteral("&Help"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Close"));
    box->button(QDialogButtonBox::Ok)->hide();
    connect(box, &QDialogButtonBox::helpRequested, this,
            [this] { ShowContextHelp(this, CUtilitySelectPage::kTemplateId); });
    return true;
}

}  // namespace zar
