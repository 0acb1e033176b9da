#include "EnzymeEditorDlg.h"

#include "ZarApp.h"
#include "core/Numbers.h"
#include "document/EnzymeTable.h"
#include "document/Settings.h"
#include "grids/EnzymeGrid.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zar {

namespace {

constexpr int kRows = kEnzymeSlotCount;
constexpr int kColumns = 4;
// Row 1 holds record 0, the entry that means no enzyme.
const QColor kNoEnzymeRowColor(210, 210, 210);

struct ColumnInfo {
    const char* title;
    int width;
    const char* tip;
};

constexpr ColumnInfo kColumnInfo[kColumns] = {
    {"Enzyme Name", CEnzymeEditorDlg::kNameColumnMinWidth, "Enter a name for the enzyme"},
    {"Offset", 55, "Enter the offset for the enzyme"},
    {"Cleave At", 95, "Enter the amino acids that the enzyme will cleave at"},
    {"Don't Cleave At", 95, "Enter any amino acids that the enzyme will not cleave at"},
};

// Room beside a column title for the cell frame and the header's padding.
constexpr int kTitleMargin = 16;

// "-" stands for no residues in the table's text form.
QString ResiduesOrDash(const QString& text) {
    return text.isEmpty() ? QStringLiteral("-") : text;
}

}  // namespace

CEnzymeEditorDlg::CEnzymeEditorDlg(QWidget* parent)
    : CDialogBase(kTemplateId, parent), grid_(new CEnzymeGrid(this)) {
    setWindowTitle(QStringLiteral("Enzyme Editor"));
    grid_->setObjectName(QStringLiteral("EnzymeGrid"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    QPushButton* close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    QPushButton* defaults =
        buttons->addButton(QStringLiteral("Defau&lts"), QDialogButtonBox::ResetRole);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    layout->addWidget(buttons);
    AddControl(1, ok);
    AddControl(2, close);
    AddControl(kDefaultsId, defaults);
    AddControl(9, help);
    AddControl(kGridId, grid_);
    SetToolTipText(kDefaultsId, QStringLiteral("Reset the parameters to their default values"));
    SetToolTipText(9, QStringLiteral("Get help on this dialog"));

    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, &CEnzymeEditorDlg::OnDefaults);
    connect(help, &QPushButton::clicked, this, [this] { ShowContextHelp(this, kTemplateId); });
    grid_->viewport()->installEventFilter(this);
    resize(520, 560);
}

bool CEnzymeEditorDlg::OnInitDialog() {
    if (!gridReady_) {
        grid_->SetRowCount(kRows);
        grid_->SetColCount(kColumns);
        for (int c = 1; c <= kColumns; ++c) {
            const ColumnInfo& info = kColumnInfo[c - 1];
            grid_->SetValueRange(0, c, QString::fromLatin1(info.title));
            // Wide enough for its title, whose font may be wider than the Part's widths assume.
            const int title = grid_->horizontalHeader()->fontMetrics().horizontalAdvance(
                                  QString::fromLatin1(info.title)) +
                              kTitleMargin;
            grid_->SetColWidth(c, std::max(info.width, title));
            grid_->SetToolTip(0, c, QString::fromLatin1(info.tip));
        }
        grid_->SetStyleRange(CGXRange::rows(1, 1), CGXStyle().setInterior(kNoEnzymeRowColor));
        FillGrid();
        gridReady_ = true;
    }
    ResizeNameColumn();
    return true;
}

void CEnzymeEditorDlg::DoDataExchange(CDataExchange& dx) {
    // Reading back happens in OnOK, cell by cell; loading shows the table as it is now.
    if (!dx.IsSaving() && gridReady_) FillGrid();
}

void CEnzymeEditorDlg::FillGrid() {
    if (!table_) return;
    const CEnzymeTable::Records& records = table_->GetRecords();
    grid_->LockUpdate(true);
    grid_->SetValueRange(1, 1, records[0].name);
    for (int r = 2; r <= kRows; ++r) {
        const EnzymeRecord& e = records[static_cast<std::size_t>(r - 1)];
        grid_->SetValueRange(r, 1, e.name);
        // An unused slot shows no offset.
        grid_->SetValueRange(r, 2, e.isEmpty() ? QString() : QString::number(e.sense));
        grid_->SetValueRange(r, 3, e.cleavage);
        grid_->SetValueRange(r, 4, e.blocking);
    }
    grid_->LockUpdate(false);
    grid_->Redraw();
}

void CEnzymeEditorDlg::ResizeNameColumn() {
    if (!gridReady_) return;
    int others = 0;
    for (int c = 2; c <= kColumns; ++c) others += grid_->GetColWidth(c);
    const int client = grid_->viewport()->width();
    grid_->SetColWidth(1, std::max(kNameColumnMinWidth, client - others - 1));
    grid_->Redraw();
}

bool CEnzymeEditorDlg::eventFilter(QObject* watched, QEvent* event) {
    // The grid's client area has its final size (scroll bars settled) when its viewport is
    // resized.
    if (watched == grid_->viewport() && event->type() == QEvent::Resize) ResizeNameColumn();
    return CDialogBase::eventFilter(watched, event);
}

void CEnzymeEditorDlg::OnDefaults() {
    if (table_) table_->ResetToDefaults();
    if (gridReady_) FillGrid();
}

void CEnzymeEditorDlg::OnOK() {
    if (table_) {
        CEnzymeTable::Records& records = table_->GetRecords();
        for (int r = 1; r <= kRows; ++r) {
            EnzymeRecord& e = records[static_cast<std::size_t>(r - 1)];
            e = EnzymeRecord();
            e.name = grid_->GetValueRowCol(r, 1);
            // A record without a name is an unused slot; the table holds it as its text form
            // reads back, "-" standing for no residues.
            if (e.name.isEmpty()) continue;
            e.cleavage = ResiduesOrDash(grid_->GetValueRowCol(r, 3));
            e.blocking = ResiduesOrDash(grid_->GetValueRowCol(r, 4));
            // The offset's leading digits; an empty or non-numeric text gives 0.
            e.sense = static_cast<int>(LeadingInt(grid_->GetValueRowCol(r, 2)));
        }
        for (int i = 0; i < kRows; ++i)
            SetEnzymeEntry(i, FormatEnzymeRecord(records[static_cast<std::size_t>(i)]));
    }
    QDialog::accept();
}

}  // namespace zar
