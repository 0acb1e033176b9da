#include "SorvexDirectoryPage.h"

#include "app/ZarApp.h"
#include "core/Paths.h"
#include "document/Settings.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QPushButton>

namespace zar {
namespace {

struct FolderRow {
    int edit;
    const char* label;
    int button;
    const char* pickerTitle;
};

constexpr FolderRow kRows[] = {
    {8769, "&TurboSORVEX Results:", 8770, "TurboSORVEX Results Directory"},
    {8771, "&Peptide Mapping Results:", 8772, "Peptide Mapping Results Directory"},
    {8773, "&Database:", 8774, "Database Directory"},
    {8775, "&Sequence:", 8776, "Sequence Directory"},
};

QString pickFolder(QWidget* parent, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}

}  // namespace

CSorvexDirectoryPage::CSorvexDirectoryPage(QWidget* sheet)
    : CPropertyPageBase(8921, QStringLiteral("Zarvik Browser Directories"), sheet), picker_(pickFolder) {
    folders_[kSorvexResults] = GetSorvexResultsDirectory();
    folders_[kPeptideResults] = GetPeptideResultsDirectory();
    folders_[kDatabase] = GetDatabaseDirectory();
    folders_[kSequence] = GetSequenceDirectory();
    auto* layout = new QGridLayout(this);
    for (int i = 0; i < kFolderCount; ++i) {
        auto* label = new QLabel(QString::fromLatin1(kRows[i].label), this);
        edits_[i] = new QLineEdit(this);
        buttons_[i] = new QPushButton(QStringLiteral("..."), this);
        buttons_[i]->setFixedWidth(buttons_[i]->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
        label->setBuddy(edits_[i]);
        AddControl(kRows[i].edit, edits_[i]);
        AddControl(kRows[i].button, buttons_[i]);
        layout->addWidget(label, 2 * i, 0, 1, 2);
        layout->addWidget(edits_[i], 2 * i + 1, 0);
        layout->addWidget(buttons_[i], 2 * i + 1, 1);
        connect(buttons_[i], &QPushButton::clicked, this, [this, i] { browse(i); });
    }
    layout->setRowStretch(2 * kFolderCount, 1);
    edits_[0]->setMinimumWidth(320);
    auto* help = new QShortcut(QKeySequence::HelpContents, this, this, &CSorvexDirectoryPage::OnHelp);
    help->setContext(Qt::WidgetWithChildrenShortcut);
}

void CSorvexDirectoryPage::DoDataExchange(CDataExchange& dx) {
    for (int i = 0; i < kFolderCount; ++i) {
        // A folder is shown with "/" whatever separators the settings hold; one the user left
        // as shown is kept as the settings hold it.
        const QString shown = PortablePath(folders_[i]);
        QString text = shown;
        DDX_Text(dx, edits_[i], text);
        if (dx.IsSaving() && text != shown) folders_[i] = text;
    }
}

void CSorvexDirectoryPage::browse(int folder) {
    if (folder < 0 || folder >= kFolderCount || !picker_) return;
    // The picker opens on the folder the edit shows.
    const QString chosen = picker_(this, QString::fromLatin1(kRows[folder].pickerTitle), PortablePath(edits_[folder]->text()));
    if (chosen.isEmpty()) return;
    folders_[folder] = chosen;
    edits_[folder]->setText(chosen);
}

void CSorvexDirectoryPage::SaveSettings() {
    UpdateData(true);
    SetSorvexResultsDirectory(folders_[kSorvexResults]);
    SetPeptideResultsDirectory(folders_[kPeptideResults]);
    SetDatabaseDirectory(folders_[kDatabase]);
    SetSequenceDirectory(folders_[kSequence]);
}

void CSorvexDirectoryPage::OnHelp() { ShowContextHelp(this, TemplateId()); }

}  // namespace zar
