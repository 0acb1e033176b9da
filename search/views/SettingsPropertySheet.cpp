#include "SettingsPropertySheet.h"

#include "SorvexDirectoryPage.h"
#include "SorvexInternetPage.h"
#include "SorvexResultsPage.h"

#include "core/MessageBox.h"
#include "registry/RegKey.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLayout>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace zar {

CSettingsPropertySheet::CSettingsPropertySheet(const QString& caption, QWidget* parent, int firstPage)
    : CPropertySheetBase(caption, parent, firstPage),
      directories_(new CSorvexDirectoryPage(this)),
      internet_(new CSorvexInternetPage(this)),
      results_(new CSorvexResultsPage(this)) {
    for (CPropertyPageBase* page : {static_cast<CPropertyPageBase*>(directories_),
                                    static_cast<CPropertyPageBase*>(results_),
                                    static_cast<CPropertyPageBase*>(internet_)}) {
        AddPage(page);
        page->installEventFilter(this);
    }
    // Wide enough for every tab to show.
    if (auto* tabs = findChild<QTabWidget*>())
        setMinimumWidth(tabs->tabBar()->sizeHint().width() + 2 * layout()->contentsMargins().left() + 8);
    if (auto* buttons = findChild<QDialogButtonBox*>()) {
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        if (ok) ok->setToolTip(QStringLiteral("Accept changes"));
        QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
        help->setToolTip(QStringLiteral("Get help on this page"));
        connect(buttons, &QDialogButtonBox::helpRequested, directories_, &CSorvexDirectoryPage::OnHelp);
    }
}

bool CSettingsPropertySheet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) opened_.insert(static_cast<const QWidget*>(watched));
    return CPropertySheetBase::eventFilter(watched, event);
}

void CSettingsPropertySheet::accept() {
    // Pages never opened keep what the settings hold.
    for (CPropertyPageBase* page : {static_cast<CPropertyPageBase*>(directories_),
                                    static_cast<CPropertyPageBase*>(results_),
                                    static_cast<CPropertyPageBase*>(internet_)})
        if (WasOpened(page) && !page->UpdateData(true)) return;
    {
        // A setting that cannot be written is told on every OK, and the sheet stays open with
        // the user's values, so that nothing typed is lost without a word.
        RegistryWriteCheck check;
        if (WasOpened(directories_)) directories_->SaveSettings();
        if (WasOpened(results_)) results_->SaveSettings();
        if (WasOpened(internet_)) internet_->SaveSettings();
        if (check.Failed()) {
            ZarMessageBox(check.Error(), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
    QDialog::accept();
}

}  // namespace zar
