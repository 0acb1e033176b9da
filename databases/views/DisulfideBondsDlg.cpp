#include "DisulfideBondsDlg.h"

#include "ZarApp.h"
#include "ZarDoc.h"
#include "core/MessageBox.h"
#include "databases/PepmapEngine.h"
#include "grids/SimpleEditGrids.h"
#include "messages/Messages.h"

#include <QCursor>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zar {
namespace {

const QColor kCysteineRowColor(210, 210, 210);

}  // namespace

CDisulfideBondsDlg::CDisulfideBondsDlg(QWidget* parent)
    : CDialogBase(kTemplateId, parent), grid_(new CDisulfideGrid(this)) {
    setWindowTitle(QStringLiteral("Disulfide Bonds"));
    grid_->setObjectName(QStringLiteral("BondsGrid"));
    // A click on a cysteine's cell opens its list at once.
    grid_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Bond Position:"), this));
    layout->addWidget(grid_, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    AddControl(1, ok);
    AddControl(2, cancel);
    AddControl(9, help);
    AddControl(kGridId, grid_);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowContextHelp(this, kTemplateId); });
    layout->addWidget(buttons);
    grid_->viewport()->installEventFilter(this);
    resize(260, 420);
}

void CDisulfideBondsDlg::Create(QWidget*) { EnsureInitialized(); }

bool CDisulfideBondsDlg::OnInitDialog() {
    if (!gridReady_) {
        grid_->SetRowCount(rowCount_);
        grid_->SetColCount(2);
        grid_->SetValueRange(0, 1, QStringLiteral("Amino acid"));
        grid_->SetValueRange(0, 2, QStringLiteral("Select"));
        grid_->SetColWidth(1, kAminoAcidWidth);
        grid_->SetColWidth(2, kSelectMinWidth);
        grid_->SetStyleRange(CGXRange::cols(1, 1), CGXStyle().setToolTip(QStringLiteral("The amino acid")));
        grid_->SetStyleRange(CGXRange::cols(2, 2),
                             CGXStyle().setToolTip(QStringLiteral(
                                 "Enter the location of the other C that will be part of the disulfide bond")));
        gridReady_ = true;
        if (!sequence_.isEmpty()) SetSequence(sequence_);
    }
    stretchSelectColumn();
    return true;
}

void CDisulfideBondsDlg::SetSequence(const QString& sequence) {
    sequence_ = sequence;
    rowCount_ = static_cast<int>(sequence.size());
    if (!gridReady_) return;
    std::vector<int> cysteines;
    for (int k = 0; k < rowCount_; ++k)
        if (sequence_[k] == u'C') cysteines.push_back(k);
    grid_->LockUpdate(true);
    grid_->SetRowCount(rowCount_);
    grid_->ClearCells(CGXRange::table());
    const CGXStyle centred = CGXStyle().setReadOnly(true).setAlignment(Qt::AlignCenter);
    const CGXStyle plainRow = CGXStyle().setInterior(Qt::white);
    if (rowCount_ > 0) {
        grid_->SetStyleRange(CGXRange::cells(1, 1, rowCount_, 1), centred);
        grid_->SetStyleRange(CGXRange::cells(1, 1, rowCount_, 2), plainRow);
        grid_->SetStyleRange(CGXRange::cells(1, 2, rowCount_, 2),
                             CGXStyle().setReadOnly(true).setControl(GridControl::Edit));
    }
    for (int k = 0; k < rowCount_; ++k)
        grid_->SetValueRange(k + 1, 1, QStringLiteral(" %1 ").arg(sequence_[k]));
    for (int own : cysteines) {
        QString choices = QString::fromLatin1(kNoBond) + QLatin1Char('\n');
        for (int other : cysteines)
            if (other != own) choices += QString::number(other + 1) + QLatin1Char('\n');
        grid_->SetStyleRange(CGXRange::cells(own + 1, 1, own + 1, 2),
                             CGXStyle().setInterior(kCysteineRowColor));
        grid_->SetStyleRange(CGXRange::cell(own + 1, 2), CGXStyle()
                                                               .setReadOnly(false)
                                                               .setControl(GridControl::ComboBox)
                                                               .setChoiceList(choices));
        grid_->SetValueRange(own + 1, 2, QString::fromLatin1(kNoBond));
    }
    grid_->LockUpdate(false);
    grid_->Redraw();
}

void CDisulfideBondsDlg::OnNone() {
    for (int row = 1; row <= grid_->GetRowCount(); ++row)
        if (grid_->GetStyleRowCol(row, 2).control == GridControl::ComboBox)
            grid_->SetValueRange(row, 2, QString::fromLatin1(kNoBond));
}

bool CDisulfideBondsDlg::BondMarkers(std::vector<int>* markers) const {
    markers->assign(static_cast<std::size_t>(std::max(rowCount_, 0)), 0);
    std::vector<int> partner(markers->size() + 1, 0);  // by row, 1-based
    for (int row = 1; row <= rowCount_; ++row) {
        bool ok = false;
        const int p = grid_->GetValueRowCol(row, 2).trimmed().toInt(&ok);
        if (!ok || p <= 0) continue;
        if (p > rowCount_ || p == row || sequence_[p - 1] != u'C') return false;
        partner[static_cast<std::size_t>(row)] = p;
        (*markers)[static_cast<std::size_t>(p - 1)] = 1;
    }
    // Each bond joins two cysteines that name each other.
    for (int row = 1; row <= rowCount_; ++row) {
        const int p = partner[static_cast<std::size_t>(row)];
        if (p > 0 && partner[static_cast<std::size_t>(p)] != row) return false;
    }
    return true;
}

void CDisulfideBondsDlg::OnOK() {
    CZarDoc* doc = CZarDoc::GetDoc();
    CPepmapEngine* engine = doc ? doc->GetPepmapEngine() : nullptr;
    if (!engine) {
        QDialog::accept();
        return;
    }
    std::vector<int> markers;
    if (!BondMarkers(&markers)) {
        ZarMessageBox(QStringLiteral("The disulfide bonds aren't matched"), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    engine->SetSpecificBonds(markers.data(), rowCount_);
    QDialog::accept();
}

void CDisulfideBondsDlg::stretchSelectColumn() {
    if (!gridReady_) return;
    const int width = grid_->viewport()->width() - grid_->GetColWidth(1) - 1;
    grid_->SetColWidth(2, std::max(kSelectMinWidth, width));
}

bool CDisulfideBondsDlg::eventFilter(QObject* watched, QEvent* e) {
    // The grid's client area has its final width once its viewport is resized.
    if (watched == grid_->viewport() && e->type() == QEvent::Resize) stretchSelectColumn();
    return CDialogBase::eventFilter(watched, e);
}

void CDisulfideBondsDlg::showContextMenu() {
    QMenu menu(this);
    // "All" answers nothing: there is no rule to pair every cysteine by.
    menu.addAction(QStringLiteral("&All"))->setEnabled(false);
    menu.addAction(QStringLiteral("&None"), this, &CDisulfideBondsDlg::OnNone);
    menu.exec(QCursor::pos());
}

bool CDisulfideBondsDlg::event(QEvent* e) {
    if (e->type() == MessageEvent::eventType() &&
        static_cast<MessageEvent*>(e)->message() == WM_CONTEXTMENU) {
        showContextMenu();
        return true;
    }
    return CDialogBase::event(e);
}

}  // namespace zar
