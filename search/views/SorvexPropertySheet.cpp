#include "SorvexPropertySheet.h"

#include "ModificationGrids.h"
#include "SorvexGeneralPage.h"
#include "SorvexModificationPage.h"
#include "SorvexParameterPage.h"
#include "SorvexQueuePage.h"

#include "core/MessageBox.h"
#include "core/Paths.h"
#include "document/Settings.h"
#include "document/ZarMessages.h"
#include "search/SorvexQueueClient.h"

#include <QFileInfo>

namespace zar {

CSorvexPropertySheet::CSorvexPropertySheet(const QString& caption, QWidget* owner,
                                           CSearchLauncher* launcher, InvalidParamsPrompt* prompt)
    : CSearchPropertySheet(SearchKind::Sorvex, caption, owner, launcher, prompt),
      general_(new CSorvexGeneralPage(this)),
      parameter_(new CSorvexParameterPage(this)),
      modification_(new CSorvexModificationPage(this)),
      queue_(new CSorvexQueuePage(this)) {
    AddPage(general_);
    AddPage(parameter_);
    AddPage(modification_);
    AddPage(queue_);
    SetParts(general_, modification_->Grids());
    Initialize();
}

bool CSorvexPropertySheet::CheckBeforeSave() {
    if (GeneralPage()->CheckResultsDirectory()) return true;
    ZarMessageBox(QStringLiteral("Unable to create the sorvex.params file!"), MB_OK);
    return false;
}

QString CSorvexPropertySheet::NeitherMessage() const {
    return QStringLiteral("Neither the Dta Generation or Dta Search check boxes are active");
}

void CSorvexPropertySheet::OnInvalidDatabase() {
    Model().basic.databaseName.clear();
    GeneralPage()->Refresh();
    GeneralPage()->ReadIndexedDatabaseHeader();
    ZarMessageBox(QString::fromLatin1(kInvalidDatabaseMessage), MB_OK);
}

void CSorvexPropertySheet::StartQueueProgram() {
    if (!IsQueueSelected()) return;
    QString failure;
    if (!StartSorvexQueueProgram(&failure)) ZarMessageBox(failure, MB_OK);
}

unsigned CSorvexPropertySheet::StopMessage() const {
    return kMsgSorvexReshowSheet;
}

void CSorvexPropertySheet::WriteOptionSummary() {
    Model().WriteOptionSummary();
}

}  // namespace zar
