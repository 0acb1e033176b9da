#include "PepmatchOptionsDlg.h"

#include "PaneSupport.h"
#include "PepmatchView.h"
#include "app/ZarApp.h"
#include "controls/ColorLabel.h"
#include "controls/NumericEditCtrl.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace zar {

namespace {

QRadioButton* AddRadio(QWidget* parent, QButtonGroup* group, CControlTable& table, int id,
                       int value, const char* text, const char* tip) {
    auto* b = new QRadioButton(QString::fromLatin1(text), parent);
    group->addButton(b, value);
    table.AddControl(id, b);
    table.SetToolTipText(id, QString::fromLatin1(tip));
    return b;
}

QPushButton* AddButton(QWidget* parent, CControlTable& table, int id, const char* text,
                       const char* tip = nullptr) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setAutoDefault(false);
    table.AddControl(id, b);
    if (tip) table.SetToolTipText(id, QString::fromLatin1(tip));
    return b;
}

}  // namespace

CPepmatchOptionsDlg::CPepmatchOptionsDlg(CPepmatchView* owner, QWidget* parent)
    : CDialogBase(kTemplateId, parent),
      owner_(owner),
      thresholdEdit_(new CDoubleEditCtrl(this)),
      swatch_(new CColorLabel(QStringLiteral("Label color"), this)),
      massTypeGroup_(new QButtonGroup(this)),
      labellingGroup_(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("Pepmatch Options"));
    // Modeless: it stays beside the view while the user works there.
    setModal(false);
    AddControl(kThresholdId, thresholdEdit_);
    SetToolTipText(kThresholdId, QStringLiteral("Enter the minimum threshold (as % of base peak)"));
    AddControl(kColorSwatchId, swatch_);

    const auto store = [this] { UpdateData(true); };
    auto* seriesBox = new QGroupBox(QStringLiteral("Ion series"), this);
    auto* seriesGrid = new QGridLayout(seriesBox);
    boxes_.Create(this, *this, seriesGrid, store);

    auto* massBox = new QGroupBox(QStringLiteral("Mass type"), this);
    auto* massLayout = new QVBoxLayout(massBox);
    massLayout->addWidget(AddRadio(this, massTypeGroup_, *this, 9010, 0, "A&verage",
                                   "Use average mass values in the calculations"));
    massLayout->addWidget(AddRadio(this, massTypeGroup_, *this, 9011, 1, "&Monoisotopic",
                                   "Use monoisotopic masses in the calculations"));
    auto* labelBox = new QGroupBox(QStringLiteral("Labels"), this);
    auto* labelLayout = new QVBoxLayout(labelBox);
    labelLayout->addWidget(AddRadio(this, labellingGroup_, *this, 9002, 0, "&Overwrite",
                                    "Overwrite all labels in the current list"));
    labelLayout->addWidget(AddRadio(this, labellingGroup_, *this, 9003, 1, "A&ppend",
                                    "Append the labels to the current list"));
    for (QButtonGroup* g : {massTypeGroup_, labellingGroup_})
        connect(g, &QButtonGroup::idClicked, this, [store](int) { store(); });

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(swatch_);
    QPushButton* color = AddButton(this, *this, kColorId, "Co&lor...", "Select the color to label the peaks");
    QPushButton* reset = AddButton(this, *this, kResetColorId, "&Reset Color",
                                   "Reset the peak color to the default value");
    colorRow->addWidget(color);
    colorRow->addWidget(reset);
    connect(color, &QPushButton::clicked, this, &CPepmatchOptionsDlg::OnColor);
    connect(reset, &QPushButton::clicked, this, &CPepmatchOptionsDlg::OnResetColor);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Threshold (% of base peak):"), thresholdEdit_);

    auto* side = new QVBoxLayout;
    side->addWidget(massBox);
    side->addWidget(labelBox);
    auto* middle = new QHBoxLayout;
    middle->addWidget(seriesBox, 1);
    middle->addLayout(side);

    auto* buttons = new QHBoxLayout;
    QPushButton* ok = AddButton(this, *this, 1, "&OK");
    QPushButton* apply = AddButton(this, *this, kApplyId, "&Apply");
    QPushButton* close = AddButton(this, *this, 2, "&Close");
    QPushButton* help = AddButton(this, *this, 9, "&Help", "Get help on this dialog");
    ok->setDefault(true);
    buttons->addStretch();
    for (QPushButton* b : {ok, apply, close, help}) buttons->addWidget(b);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(apply, &QPushButton::clicked, this, &CPepmatchOptionsDlg::OnApply);
    connect(close, &QPushButton::clicked, this, &CPepmatchOptionsDlg::OnCancel);
    connect(help, &QPushButton::clicked, this, [this] { ShowContextHelp(this, kTemplateId); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(middle);
    layout->addLayout(form);
    layout->addLayout(colorRow);
    layout->addLayout(buttons);
}

CPepmatchOptionsDlg::~CPepmatchOptionsDlg() = default;

void CPepmatchOptionsDlg::Create(QWidget* parent) {
    if (parent && parent != parentWidget()) setParent(parent, windowFlags() | Qt::Dialog);
    EnsureInitialized();
}

bool CPepmatchOptionsDlg::OnInitDialog() {
    thresholdEdit_->Initialize(threshold, 0.0, 100.0, 5, 1, 1, 0);
    UpdateData(false);
    enableOwnerOptions(false);
    place();
    return true;
}

void CPepmatchOptionsDlg::place() {
    adjustSize();
    width_ = width();
    height_ = height();
    QWidget* p = parentWidget();
    QScreen* screen = p ? p->screen() : this->screen();
    if (!p || !screen) return;
    const QRect desktop = screen->availableGeometry();
    const QRect parentRect(p->mapToGlobal(QPoint(0, 0)), p->size());
    // Beside the right edge of the view, kept on the desktop.
    const int x = std::min(parentRect.right() + 1, desktop.right() + 1 - width_);
    const int y = std::min(parentRect.top(), desktop.bottom() + 1 - height_);
    move(std::max(desktop.left(), x), std::max(desktop.top(), y));
}

void CPepmatchOptionsDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Double(dx, thresholdEdit_, threshold);
    if (dx.Failed()) return;
    if (dx.IsSaving())
        boxes_.Save(series);
    else
        boxes_.Load(series);
    DDX_Radio(dx, massTypeGroup_, massType);
    DDX_Radio(dx, labellingGroup_, labellingMode);
    swatch_->SetTextColor(labelColor);
    swatch_->update();
}

void CPepmatchOptionsDlg::SetOptions(const PepmatchOptions& o) {
    series = o.series;
    threshold = o.threshold;
    massType = o.monoisotopic != 0 ? 1 : 0;
    labellingMode = o.append != 0 ? 1 : 0;
    labelColor = o.labelColor;
    UpdateData(false);
}

bool CPepmatchOptionsDlg::GetOptions(PepmatchOptions* o) {
    if (!o) return false;
    if (!UpdateData(true)) return false;
    o->labelColor = labelColor;
    o->threshold = threshold;
    o->append = labellingMode;
    o->monoisotopic = massType;
    o->series = series;
    return true;
}

void CPepmatchOptionsDlg::enableOwnerOptions(bool enable) {
    if (owner_) owner_->EnableOptionsButton(enable);
}

void CPepmatchOptionsDlg::OnApply() {
    if (!UpdateData(true)) return;
    if (owner_) owner_->CalculatePepmatch();
}

void CPepmatchOptionsDlg::OnOK() {
    if (!UpdateData(true)) return;
    if (owner_) owner_->CalculatePepmatch();
    enableOwnerOptions(true);
    hide();
}

void CPepmatchOptionsDlg::OnCancel() {
    // Closing drops what was typed: a hidden dialog holds no text that a later calculation
    // would have to refuse.
    UpdateData(false);
    enableOwnerOptions(true);
    hide();
}

void CPepmatchOptionsDlg::OnColor() {
    QColorDialog dialog(ColorFromColorref(labelColor), this);
    dialog.setObjectName(QStringLiteral("PepmatchColorDialog"));
    if (dialog.exec() != QDialog::Accepted) return;
    const QColor c = dialog.selectedColor();
    labelColor = static_cast<ColorRef>(c.red()) | static_cast<ColorRef>(c.green()) << 8 |
                 static_cast<ColorRef>(c.blue()) << 16;
    UpdateData(false);
}

void CPepmatchOptionsDlg::OnResetColor() {
    labelColor = kDefaultLabelColor;
    UpdateData(false);
}

void CPepmatchOptionsDlg::OnSelectAll() {
    series = AllSeriesFlags();
    UpdateData(false);
}

void CPepmatchOptionsDlg::OnSelectDefault() {
    series = DefaultSeriesFlags();
    UpdateData(false);
}

void CPepmatchOptionsDlg::OnSelectNone() {
    series.fill(0);
    UpdateData(false);
}

std::unique_ptr<QMenu> CPepmatchOptionsDlg::BuildContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    QMenu* select = menu->addMenu(QStringLiteral("&Select Ions"));
    const auto run = [this](int id) {
        if (id == CPepmatchView::ID_SELECT_IONS_ALL) OnSelectAll();
        if (id == CPepmatchView::ID_SELECT_IONS_NONE) OnSelectNone();
        if (id == CPepmatchView::ID_SELECT_IONS_DEFAULT) OnSelectDefault();
    };
    AddCommandItem(select, CPepmatchView::ID_SELECT_IONS_ALL, "&All", run);
    AddCommandItem(select, CPepmatchView::ID_SELECT_IONS_NONE, "&None", run);
    AddCommandItem(select, CPepmatchView::ID_SELECT_IONS_DEFAULT, "&Default", run);
    // The menu is the view's; its export answers nothing here.
    QMenu* exportMenu = menu->addMenu(QStringLiteral("&Export"));
    AddCommandItem(exportMenu, CPepmatchView::ID_EXPORT_EXCEL, "&Excel", run)->setEnabled(false);
    return menu;
}

void CPepmatchOptionsDlg::contextMenuEvent(QContextMenuEvent* event) {
    BuildContextMenu()->exec(event->globalPos());
}

}  // namespace zar
