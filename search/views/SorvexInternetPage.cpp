#include "SorvexInternetPage.h"

#include "app/ZarApp.h"
#include "document/Settings.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QShortcut>

namespace zar {
namespace {

constexpr int kBlastEdit = 8924;
constexpr int kSwissProtEdit = 8925;

QString withoutOneTrailingSlash(QString address) {
    if (address.endsWith(QLatin1Char('/'))) address.chop(1);
    return address;
}

}  // namespace

CSorvexInternetPage::CSorvexInternetPage(QWidget* sheet)
    : CPropertyPageBase(8922, QStringLiteral("Internet URL's"), sheet),
      blastUrl_(GetNCBIBlastURL()),
      swissProtUrl_(GetSwissProtURL()),
      blastEdit_(new QLineEdit(this)),
      swissProtEdit_(new QLineEdit(this)) {
    AddControl(kBlastEdit, blastEdit_);
    AddControl(kSwissProtEdit, swissProtEdit_);
    auto* layout = new QFormLayout(this);
    layout->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    layout->addRow(QStringLiteral("&NCBI Blast:"), blastEdit_);
    layout->addRow(QStringLiteral("&Swiss-Prot:"), swissProtEdit_);
    auto* help = new QShortcut(QKeySequence::HelpContents, this, this, &CSorvexInternetPage::OnHelp);
    help->setContext(Qt::WidgetWithChildrenShortcut);
}

void CSorvexInternetPage::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, blastEdit_, blastUrl_);
    DDX_Text(dx, swissProtEdit_, swissProtUrl_);
}

void CSorvexInternetPage::SaveSettings() {
    UpdateData(true);
    SetNCBIBlastURL(withoutOneTrailingSlash(blastUrl_));
    SetSwissProtURL(withoutOneTrailingSlash(swissProtUrl_));
}

void CSorvexInternetPage::OnHelp() { ShowContextHelp(this, TemplateId()); }

}  // namespace zar
