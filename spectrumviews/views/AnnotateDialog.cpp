#include "AnnotateDialog.h"

#include "AnnotationTargets.h"
#include "app/MainFrame.h"
#include "app/SplitterViews.h"
#include "app/ZarApp.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zar {

using namespace ZAR_PLOTLib;

namespace {

QPointer<CAnnotateDialog>& TheDialog() {
    static QPointer<CAnnotateDialog> dialog;
    return dialog;
}

QGroupBox* RadioGroup(QWidget* parent, CControlTable& table, QButtonGroup* group,
                      const char* title, int firstId, std::initializer_list<const char*> texts) {
    auto* box = new QGroupBox(QString::fromLatin1(title), parent);
    auto* layout = new QVBoxLayout(box);
    int value = 0;
    for (const char* text : texts) {
        auto* b = new QRadioButton(QString::fromLatin1(text), box);
        group->addButton(b, value);
        table.AddControl(firstId + value, b);
        layout->addWidget(b);
        ++value;
    }
    return box;
}

QCheckBox* Check(QWidget* parent, CControlTable& table, int id, const char* text) {
    auto* b = new QCheckBox(QString::fromLatin1(text), parent);
    table.AddControl(id, b);
    return b;
}

QPushButton* Button(QWidget* parent, CControlTable& table, int id, const char* text) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setAutoDefault(false);
    table.AddControl(id, b);
    return b;
}

}  // namespace

CAnnotateDialog::CAnnotateDialog(QWidget* parent)
    : CDialogBase(kTemplateId, parent),
      multiLineGroup_(new QButtonGroup(this)),
      markedGroup_(new QButtonGroup(this)),
      heightGroup_(new QButtonGroup(this)),
      boxedBox_(Check(this, *this, 8987, "&Boxed")),
      pointerBox_(Check(this, *this, 8989, "&Pointer")),
      rotatedBox_(Check(this, *this, 8988, "Rotate&d")),
      textEdit_(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Annotate"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    AddControl(kTextId, textEdit_);
    params_.eTextXAnchor = CentreX;
    params_.eTextYAnchor = CentreY;
    params_.eTextAlign = AlignLeft;
    params_.dTextPriority = 0.0;

    auto* textLabel = new QLabel(QStringLiteral("Annotation te&xt:"), this);
    textLabel->setBuddy(textEdit_);
    auto* groups = new QHBoxLayout;
    groups->addWidget(RadioGroup(this, *this, multiLineGroup_, "Alignment of Multiple Lines", 8994,
                                 {"L&eft", "Ce&nter", "Righ&t"}));
    groups->addWidget(RadioGroup(this, *this, markedGroup_, "Marked Position", 8991,
                                 {"&Left", "Cente&r", "R&ight"}));
    groups->addWidget(RadioGroup(this, *this, heightGroup_, "Height Drawn", 8998,
                                 {"Abo&ve position", "Above &graph"}));
    auto* checks = new QHBoxLayout;
    for (QCheckBox* b : {boxedBox_, pointerBox_, rotatedBox_}) checks->addWidget(b);
    checks->addStretch();

    auto* buttons = new QHBoxLayout;
    QPushButton* ok = Button(this, *this, 1, "&OK");
    QPushButton* apply = Button(this, *this, kApplyId, "&Apply");
    QPushButton* close = Button(this, *this, 2, "&Close");
    QPushButton* help = Button(this, *this, 9, "&Help");
    ok->setDefault(true);
    buttons->addStretch();
    for (QPushButton* b : {ok, apply, close, help}) buttons->addWidget(b);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(apply, &QPushButton::clicked, this, &CAnnotateDialog::OnApply);
    connect(close, &QPushButton::clicked, this, &CAnnotateDialog::OnClose);
    connect(help, &QPushButton::clicked, this, [this] { ShowContextHelp(this, kTemplateId); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textLabel);
    layout->addWidget(textEdit_);
    layout->addLayout(groups);
    layout->addLayout(checks);
    layout->addLayout(buttons);
}

CAnnotateDialog::~CAnnotateDialog() = default;

QPushButton* CAnnotateDialog::OkButton() const {
    return qobject_cast<QPushButton*>(GetDlgItem(1));
}

QPushButton* CAnnotateDialog::ApplyButton() const {
    return qobject_cast<QPushButton*>(GetDlgItem(kApplyId));
}

bool CAnnotateDialog::OnInitDialog() {
    enableButtons(false);
    return CDialogBase::OnInitDialog();
}

void CAnnotateDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Radio(dx, multiLineGroup_, multiLineAlignment);
    DDX_Radio(dx, markedGroup_, markedAlignment);
    DDX_Radio(dx, heightGroup_, height);
    DDX_Check(dx, boxedBox_, boxed);
    DDX_Check(dx, pointerBox_, pointer);
    DDX_Check(dx, rotatedBox_, rotated);
    DDX_Text(dx, textEdit_, text);
}

void CAnnotateDialog::enableButtons(bool enable) {
    if (QPushButton* b = OkButton()) b->setEnabled(enable);
    if (QPushButton* b = ApplyButton()) b->setEnabled(enable);
}

void CAnnotateDialog::clearTarget() {
    targetKind_ = kAnnotateNoTarget;
    targetClass_.clear();
}

void CAnnotateDialog::UpdateForActiveView(double x, double y) {
    x_ = x;
    y_ = y;
    CMainFrame* frame = CMainFrame::GetMainFrame();
    CZarViewWidget* active = frame ? frame->ActiveView() : nullptr;
    const int kind = AnnotationKindOf(active);
    if (kind == kAnnotateNoTarget) {
        clearTarget();
        return;
    }
    targetKind_ = kind;
    targetClass_ = QString::fromLatin1(active->ViewClassName());
    if (x > 0.0 || y > 0.0) enableButtons(true);
}

CZarViewWidget* CAnnotateDialog::findTarget() const {
    if (targetKind_ == kAnnotateNoTarget) return nullptr;
    CMainFrame* frame = CMainFrame::GetMainFrame();
    if (!frame) return nullptr;
    CZarViewWidget* active = frame->ActiveView();
    if (active && targetClass_ == QLatin1String(active->ViewClassName())) return active;
    CZarViewWidget* shown = frame->CurrentView();
    if (!shown) return nullptr;
    if (targetClass_ == QLatin1String(shown->ViewClassName())) return shown;
    if (auto* layout = qobject_cast<CSplitterLayoutView*>(shown)) return layout->FindPane(targetClass_);
    return nullptr;
}

bool CAnnotateDialog::placeLabel() {
    if (targetKind_ == kAnnotateNoTarget) return false;
    CZarViewWidget* target = findTarget();
    if (!target) {
        // The pane went with its layout: nothing to label until a peak is picked again.
        clearTarget();
        enableButtons(false);
        return false;
    }
    if (!UpdateData(true)) return false;
    params_.eTextXAnchor = static_cast<VXXAnchor>(markedAlignment);
    params_.eTextAlign = static_cast<VXTextAlign>(multiLineAlignment);
    params_.bAboveGraph = height;
    params_.bBoxed = boxed;
    params_.bRotate = rotated;
    params_.bPointer = pointer;
    params_.eTextYAnchor = CentreY;
    params_.dTextPriority = 0.0;
    VXPlot_LabelParams params = params_;
    return AddAnnotation(*target, text, x_, y_, &params);
}

void CAnnotateDialog::OnApply() {
    placeLabel();
}

void CAnnotateDialog::OnOK() {
    if (targetKind_ == kAnnotateNoTarget) return;
    placeLabel();
    OnClose();
}

void CAnnotateDialog::OnClose() {
    hide();
    ReleaseAnnotateDialog();
}

CAnnotateDialog* OpenAnnotateDialog(CMainFrame& frame) {
    QPointer<CAnnotateDialog>& dialog = TheDialog();
    if (!dialog) {
        dialog = new CAnnotateDialog(&frame);
        dialog->EnsureInitialized();
    }
    dialog->show();
    dialog->raise();
    return dialog;
}

CAnnotateDialog* AnnotateDialog() {
    return TheDialog();
}

void ReleaseAnnotateDialog() {
    QPointer<CAnnotateDialog>& dialog = TheDialog();
    if (!dialog) return;
    CAnnotateDialog* d = dialog;
    dialog = nullptr;
    d->hide();
    d->deleteLater();
}

void UpdateAnnotateDialog(double x, double y) {
    if (CAnnotateDialog* d = TheDialog()) d->UpdateForActiveView(x, y);
}

}  // namespace zar
