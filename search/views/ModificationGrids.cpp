#include "ModificationGrids.h"

#include "app/grids/ModificationGrid.h"
#include "grid/GridWnd.h"
#include "messages/Messages.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QVBoxLayout>

namespace zar {
namespace {

const QColor kEnabledInterior(255, 255, 255);
const QColor kDisabledInterior(210, 210, 210);
const char* const kResidueHint = "Enter an amino acid (ABCDEFGHIKLMNOPQRSTVWXZY)";
const char* const kMassHint = "Enter the modification value (-57.0 to 1500.0)";

struct PresetItem {
    const char* text;
    ModificationPreset preset;
};
const PresetItem kPresets[] = {
    {"Acetylation", ModificationPreset::Acetylation},
    {"Carboxymethylation", ModificationPreset::Carboxymethylation},
    {"Formylation", ModificationPreset::Formylation},
    {"Hydroxylation", ModificationPreset::Hydroxylation},
    {"ICAT (TM)  Reagent", ModificationPreset::IcatReagent},
    {"Methylation", ModificationPreset::Methylation},
    {"Oxidation", ModificationPreset::Oxidation},
    {"Phosphorylation", ModificationPreset::Phosphorylation},
    {"Sulphation", ModificationPreset::Sulphation},
};

double ReadMass(const QString& text) {
    double mass = 0.0;
    return ReadGridNumber(text.trimmed(), mass) ? mass : 0.0;
}

}  // namespace

CModificationGrids::CModificationGrids(ModificationTables& tables, std::function<int()> massType,
                                       QWidget* page, const QString& differentialTitle,
                                       const QString& staticTitle)
    : QObject(page),
      tables_(tables),
      massType_(std::move(massType)),
      differentialBox_(new QGroupBox(differentialTitle, page)),
      staticBox_(new QGroupBox(staticTitle, page)),
      differential_(new CModificationGrid(differentialBox_)),
      static_(new CTerminalModificationGrid(staticBox_)) {
    differential_->setObjectName(QStringLiteral("DiffModificationGrid"));
    static_->setObjectName(QStringLiteral("StaticModificationGrid"));
    // The mass column takes the width the grid has: no sideways scrolling.
    differential_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    static_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* differentialLayout = new QVBoxLayout(differentialBox_);
    differentialLayout->addWidget(differential_);
    // Three rows and the titles, no more.
    differential_->setFixedHeight(differential_->verticalHeader()->defaultSectionSize() *
                                      (ModificationTables::kDifferentialCount + 1) +
                                  2 * differential_->frameWidth() + 4);
    (new QVBoxLayout(staticBox_))->addWidget(static_);
    differential_->SetRowCount(ModificationTables::kDifferentialCount);
    differential_->SetColCount(2);
    static_->SetRowCount(ModificationTables::kStaticCount);
    static_->SetColCount(2);
    // The grids post their right clicks to their parents, the group boxes.
    for (QObject* o : {static_cast<QObject*>(differentialBox_), static_cast<QObject*>(staticBox_),
                       static_cast<QObject*>(differential_), static_cast<QObject*>(static_)}) {
        o->installEventFilter(this);
    }
    for (CGXGridWnd* grid :
         {static_cast<CGXGridWnd*>(differential_), static_cast<CGXGridWnd*>(static_)}) {
        connect(grid->GetModel(), &QAbstractItemModel::dataChanged, this, [this] {
            if (filling_ == 0) emit Changed();
        });
    }
}

CModificationGrids::~CModificationGrids() = default;

void CModificationGrids::SetUp() {
    ++filling_;
    differential_->SetValueRange(0, 1, QStringLiteral("Amino Acid"));
    differential_->SetValueRange(0, 2, QStringLiteral("Mass"));
    // The title must stay readable where the font is larger than the grid's own.
    differential_->SetColWidth(
        1, std::max(
               kResidueWidth,
               differential_->fontMetrics().horizontalAdvance(QStringLiteral("Amino Acid")) + 12));
    differential_->SetColWidth(2, kColumnMinimum);
    differential_->SetToolTip(0, 1, QString::fromLatin1(kResidueHint));
    differential_->SetToolTip(0, 2, QString::fromLatin1(kMassHint));
    static_->SetValueRange(0, 1, QStringLiteral("Modification"));
    static_->SetValueRange(0, 2, QStringLiteral("Mass"));
    static_->SetColWidth(1, kStaticNameWidth);
    static_->SetColWidth(2, kColumnMinimum);
    static_->SetStyleRange(CGXRange::cols(1, 1), CGXStyle().setReadOnly(true));
    static_->SetToolTip(0, 2, QString::fromLatin1(kMassHint));
    --filling_;
    FillStatic();
    FillDifferential();
    setUp_ = true;
    EnableGrids(enabled_);
    FitColumns();
}

void CModificationGrids::FillStatic() {
    ++filling_;
    static_->LockUpdate(true);
    for (int i = 0; i < ModificationTables::kStaticCount; ++i) ShowStaticRow(i);
    static_->LockUpdate(false);
    --filling_;
}

void CModificationGrids::FillDifferential() {
    ++filling_;
    for (int i = 0; i < ModificationTables::kDifferentialCount; ++i) ShowDifferentialRow(i);
    --filling_;
}

void CModificationGrids::ShowStaticRow(int index) {
    ++filling_;
    static_->SetValueRange(index + 1, 1,
                           ModificationTables::DisplayName(tables_.GetStaticName(index)));
    static_->SetValueRange(index + 1, 2,
                           ModificationTables::FormatMass(tables_.GetStaticModification(index)));
    --filling_;
}

void CModificationGrids::ShowDifferentialRow(int index) {
    QString residues;
    double mass = 0.0;
    tables_.GetDifferentialModification(index, residues, mass);
    ++filling_;
    differential_->SetValueRange(index + 1, 1, residues);
    differential_->SetValueRange(index + 1, 2, ModificationTables::FormatMass(mass));
    --filling_;
}

void CModificationGrids::SetStaticModification(int index, double mass) {
    if (index < 0 || index >= ModificationTables::kStaticCount) return;
    tables_.SetStaticModification(index, mass);
    if (setUp_) ShowStaticRow(index);
}

void CModificationGrids::SetStaticModificationEntry(int index, const QString& name, double mass) {
    if (index < 0 || index >= ModificationTables::kStaticCount) return;
    tables_.SetStaticModificationEntry(index, name, mass);
    if (setUp_) ShowStaticRow(index);
}

double CModificationGrids::GetStaticModification(int index) const {
    if (index < 0 || index >= ModificationTables::kStaticCount) return 0.0;
    if (!setUp_) return tables_.GetStaticModification(index);
    return ReadMass(static_->GetValueRowCol(index + 1, 2));
}

void CModificationGrids::SetDifferentialModification(int index, const QString& residues,
                                                     double mass) {
    if (index < 0 || index >= ModificationTables::kDifferentialCount) return;
    tables_.SetDifferentialModification(index, residues, mass);
    if (setUp_) ShowDifferentialRow(index);
}

void CModificationGrids::ReadGrids() {
    if (!setUp_) return;
    for (int i = 0; i < ModificationTables::kDifferentialCount; ++i) {
        tables_.SetDifferentialFromGrid(i, differential_->GetValueRowCol(i + 1, 1).trimmed(),
                                        ReadMass(differential_->GetValueRowCol(i + 1, 2)));
    }
    for (int i = 0; i < ModificationTables::kStaticCount; ++i) {
        tables_.SetStaticModification(i, GetStaticModification(i));
    }
}

void CModificationGrids::RefreshGrids() {
    if (!setUp_) return;
    FillStatic();
    FillDifferential();
}

void CModificationGrids::ResetAll() {
    tables_.ResetAll();
    RefreshGrids();
}

void CModificationGrids::EnableGrids(bool enable) {
    enabled_ = enable;
    for (CGXGridWnd* grid :
         {static_cast<CGXGridWnd*>(differential_), static_cast<CGXGridWnd*>(static_)}) {
        ++filling_;
        grid->SetStyleRange(CGXRange::table(),
                            CGXStyle().setInterior(enable ? kEnabledInterior : kDisabledInterior));
        --filling_;
        grid->setEnabled(enable);
        grid->Redraw();
    }
}

std::unique_ptr<QMenu> CModificationGrids::BuildContextMenu(QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    for (const PresetItem& item : kPresets) {
        const ModificationPreset preset = item.preset;
        menu->addAction(QString::fromLatin1(item.text), this, [this, preset] { OnPreset(preset); });
    }
    menu->addSeparator();
    menu->addAction(QStringLiteral("Reset All"), this, [this] { OnResetAll(); });
    return menu;
}

void CModificationGrids::ShowContextMenu(CGXGridWnd* grid, const QPoint& globalPos) {
    if (grid != differential_ && grid != static_) return;
    menuGrid_ = grid;
    std::unique_ptr<QMenu> menu = BuildContextMenu(grid);
    menu->exec(globalPos);
}

void CModificationGrids::OnPreset(ModificationPreset preset) {
    if (!menuGrid_) return;
    int row = 0;
    int col = 0;
    if (!menuGrid_->GetCurrentCell(row, col)) return;
    const bool isStatic = menuGrid_ == static_;
    // The terminal rows of the static grid take no residue preset.
    const int firstRow = isStatic ? ModificationTables::kFirstResidueEntry + 1 : 1;
    const int lastRow =
        isStatic ? ModificationTables::kStaticCount : ModificationTables::kDifferentialCount;
    if (row < firstRow || row > lastRow) return;
    const int massType = massType_ ? massType_() : 0;
    menuGrid_->SetValueRange(
        row, 2, ModificationTables::FormatMass(ModificationTables::PresetMass(preset, massType)));
}

void CModificationGrids::OnResetAll() {
    if (menuGrid_ == static_) {
        tables_.ResetStatic();
        FillStatic();
    } else if (menuGrid_ == differential_) {
        tables_.ResetDifferential();
        FillDifferential();
    } else {
        return;
    }
    emit Changed();
}

void CModificationGrids::FitColumns() {
    const auto fit = [](CGXGridWnd* grid, int fixedWidth) {
        int width = grid->viewport()->width() - fixedWidth - 1;
        grid->SetColWidth(2, std::max(kColumnMinimum, width));
    };
    fit(static_, static_->GetColWidth(1));
    fit(differential_, differential_->GetColWidth(1));
}

bool CModificationGrids::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && (watched == static_ || watched == differential_)) {
        if (setUp_) FitColumns();
        return false;
    }
    if (event->type() != MessageEvent::eventType()) return false;
    auto* message = static_cast<MessageEvent*>(event);
    if (message->message() != WM_CONTEXTMENU) return false;
    auto* grid = reinterpret_cast<CGXGridWnd*>(message->wParam());
    const auto packed = static_cast<std::uint32_t>(message->lParam());
    const QPoint pos(static_cast<std::int16_t>(packed & 0xFFFF),
                     static_cast<std::int16_t>((packed >> 16) & 0xFFFF));
    ShowContextMenu(grid, pos);
    return true;
}

}  // namespace zar
