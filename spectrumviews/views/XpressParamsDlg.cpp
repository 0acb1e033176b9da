#include "XpressParamsDlg.h"

#include "XpressRecalculation.h"
#include "app/MainFrame.h"
#include "app/ZarApp.h"
#include "controls/NumericEditCtrl.h"
#include "core/Log.h"
#include "document/hub/ZarDoc.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace zar {

namespace {

// The engine labels one residue: one letter, taken in capitals.
bool TakeResidue(const QString& text, QString& residue) {
    const QString t = text.trimmed().toUpper();
    if (t.size() != 1 || t[0] < QLatin1Char('A') || t[0] > QLatin1Char('Z')) return false;
    residue = t;
    return true;
}

QMainWindow* FrameOf(QWidget* widget) {
    if (auto* frame = qobject_cast<QMainWindow*>(widget ? widget->window() : nullptr)) return frame;
    return CMainFrame::GetMainFrame();
}

}  // namespace

CXpressParamsDlg::CXpressParamsDlg(QWidget* parent)
    : CDialogBase(kTemplateId, parent),
      toleranceEdit_(new CDoubleEditCtrl(this)),
      residueEdit_(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("XPRESS Parameters"));
    if (const CZarDoc* doc = CZarDoc::GetDoc()) {
        residue_ = doc->GetXpressResidue();
        tolerance_ = doc->GetXpressTolerance();
    }
    residueEdit_->setMaxLength(1);
    residueEdit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^[A-Za-z]?$")), residueEdit_));
    const int narrow = fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12;
    residueEdit_->setMaximumWidth(narrow);
    toleranceEdit_->setMaximumWidth(narrow);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* residueLabel = new QLabel(QStringLiteral("&Amino Acid Residue:"), this);
    residueLabel->setBuddy(residueEdit_);
    form->addRow(residueLabel, residueEdit_);
    auto* toleranceLabel = new QLabel(QStringLiteral("&Mass tolerance:"), this);
    toleranceLabel->setBuddy(toleranceEdit_);
    form->addRow(toleranceLabel, toleranceEdit_);
    layout->addLayout(form);
    QDialogButtonBox* buttons = MakeButtons(true);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Close"));
    buttons->button(QDialogButtonBox::Help)->setText(QStringLiteral("&Help"));
    buttons->button(QDialogButtonBox::Help)->setToolTip(QStringLiteral("Get help on this dialog"));
    connect(buttons, &QDialogButtonBox::helpRequested, this, &CXpressParamsDlg::OnHelp);
    layout->addWidget(buttons);
    AddControl(kResidueEditId, residueEdit_);
    AddControl(kToleranceEditId, toleranceEdit_);
}

bool CXpressParamsDlg::OnInitDialog() {
    toleranceEdit_->Initialize(tolerance_, kMinTolerance, kMaxTolerance, 6, 1, 1, 0);
    return CDialogBase::OnInitDialog();
}

void CXpressParamsDlg::DoDataExchange(CDataExchange& dx) {
    // The edit shows one decimal: a tolerance left as shown keeps all of its digits.
    if (!dx.IsSaving() || toleranceEdit_->isModified()) DDX_Double(dx, toleranceEdit_, tolerance_);
    if (!dx.IsSaving()) {
        residueEdit_->setText(residue_);
    } else if (!dx.Failed() && !TakeResidue(residueEdit_->text(), residue_)) {
        dx.Fail(residueEdit_,
                QStringLiteral("Please enter the one-letter code of an amino acid (A to Z)."));
    }
}

void CXpressParamsDlg::OnHelp() {
    ShowContextHelp(this, kTemplateId);
}

void CXpressParamsDlg::OnOK() {
    if (!UpdateData(true)) return;
    CZarDoc* doc = CZarDoc::GetDoc();
    QMainWindow* frame = FrameOf(parentWidget());
    if (!doc || !frame) {
        LogLine(QStringLiteral("XPRESS Parameters: no document or main window to recalculate in"));
        QDialog::accept();
        return;
    }
    // Refused while a pass runs or results are read: the dialog stays open with what was typed.
    if (!CXpressRecalculation::CanStart(*doc)) return;
    doc->SetXpressResidue(residue_);
    doc->SetXpressTolerance(tolerance_);
    CXpressRecalculation::Of(*frame).Start(*doc);
    QDialog::accept();
}

}  // namespace zar
