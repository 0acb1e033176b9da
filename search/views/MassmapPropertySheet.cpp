#include "MassmapPropertySheet.h"

#include "MassmapAdvancedPage.h"
#include "MassmapBasicPage.h"

#include "core/MessageBox.h"
#include "document/ZarMessages.h"

#include <QPushButton>

namespace zar {

CMassmapPropertySheet::CMassmapPropertySheet(const QString& caption, QWidget* owner,
                                             CSearchLauncher* launcher, InvalidParamsPrompt* prompt)
    : CSearchPropertySheet(SearchKind::Massmap, caption, owner, launcher, prompt),
      basic_(new CMassmapBasicPage(this)),
      advanced_(new CMassmapAdvancedPage(this)) {
    AddPage(basic_);
    AddPage(advanced_);
    SetParts(basic_, advanced_->Grids());
    Initialize();
}

void CMassmapPropertySheet::EnableDefaultsButton(bool enable) {
    Button(kDefaultsId)->setEnabled(enable);
}

void CMassmapPropertySheet::EnableStartButton(bool enable) {
    Button(kStartId)->setEnabled(enable);
}

QString CMassmapPropertySheet::NeitherMessage() const {
    return QStringLiteral("Neither the Dta Generation or Dta Search check boxes are active!");
}

void CMassmapPropertySheet::OnInvalidDatabase() {
    basic_->ReadIndexedDatabaseHeader();
    ZarMessageBox(QString::fromLatin1(kInvalidDatabaseMessage), MB_OK);
}

unsigned CMassmapPropertySheet::StopMessage() const {
    return kMsgMassmapReshowSheet;
}

}  // namespace zar
