#include "DenovoView.h"

#include "DenovoCommands.h"
#include "FrameCommands.h"
#include "MainFrame.h"
#include "ZarDoc.h"
#include "document/UpdateHints.h"
#include "document/ZarMessages.h"
#include "interpretation/DenovoEngine.h"
#include "interpretation/DenovoSelection.h"
#include "messages/Messages.h"
#include "resultviews/TableFit.h"

#include <QCursor>
#include <QMenu>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace zar {

namespace {

struct ColumnSpec {
    const char* title;
    int width;
    int decimals;  // of a numeric column; -1 for text
};

const ColumnSpec kColumnSpecs[CDenovoView::kColumns] = {
    {"M+H", 100, 4},      {"Sequence", CDenovoView::kSequenceWidth, -1},
    {"Score", 100, 4},    {"CS (1-D)", 100, 4},
    {"CS (2-D)", 100, 4}, {"CS (MS2)", 100, 4},
};

}  // namespace

CDenovoView::CDenovoView(QWidget* parent) : CHighlightedPane(parent), grid_(new CDenovoGrid(this)) {
    setObjectName(QStringLiteral("CDenovoView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kFrameInset, kFrameInset, kFrameInset, kFrameInset);
    grid_->setObjectName(QStringLiteral("DenovoGrid"));
    layout->addWidget(grid_);
    // The Sequence column takes the width the grid has to spare, known once it is laid out.
    grid_->viewport()->installEventFilter(this);
}

void CDenovoView::OnInitialUpdate() {
    if (!initialised_) {
        initialised_ = true;
        grid_->SetGridOwner(this);
        grid_->SetRowCount(rows_);
        grid_->SetColCount(kColumns);
        for (int c = 1; c <= kColumns; ++c) {
            const ColumnSpec& spec = kColumnSpecs[c - 1];
            grid_->SetValueRange(0, c, QString::fromLatin1(spec.title));
            grid_->SetColWidth(c, spec.width);
        }
        grid_->SetStyleRange(CGXRange::cells(0, 1, 0, kColumns),
                             CGXStyle().setBold(true).setAlignment(Qt::AlignCenter));
        grid_->SetStyleRange(CGXRange::table(), CGXStyle().setReadOnly(true));
        grid_->SetStyleRange(CGXRange::cols(kSequenceColumn, kSequenceColumn),
                             CGXStyle()
                                 .setValueType(GridValueType::Text)
                                 .setAlignment(Qt::AlignLeft | Qt::AlignVCenter));
        for (int c = 1; c <= kColumns; ++c) {
            const ColumnSpec& spec = kColumnSpecs[c - 1];
            if (spec.decimals < 0) continue;
            grid_->SetStyleRange(CGXRange::cols(c, c),
                                 CGXStyle()
                                     .setValueType(GridValueType::Number)
                                     .setFormat(GridNumberFormat::Fixed, spec.decimals)
                                     .setAlignment(Qt::AlignRight | Qt::AlignVCenter));
        }
    }
    FillGrid();
    FitColumns();
}

void CDenovoView::OnUpdate(CZarView*, int hint) {
    switch (hint) {
        case kHintRefillResults:
        case kHintRefillResultsAgain:
        case kHintDenovoLayout:
            filling_ = true;
            FillGrid();
            grid_->Redraw();
            filling_ = false;
            break;
        case kHintRedrawResults:
            RedrawGrid();
            break;
        default:
            break;
    }
}

int CDenovoView::FillGrid() {
    CZarDoc* doc = GetDocument();
    CDenovoEngine* engine = doc ? doc->GetDenovoEngine() : nullptr;
    if (!engine) return 0;
    const int count = engine->FormatSequenceTable();
    rows_ = std::max(count, kInitialRows);
    grid_->LockUpdate(true);
    grid_->SetRowCount(rows_);
    grid_->ClearCells(CGXRange::cells(1, 1, rows_, kColumns));
    for (int r = 1; r <= count; ++r) {
        const DenovoCandidate* c = engine->GetCandidate(r - 1);
        if (!c) break;
        grid_->SetValueRange(r, 1, c->mh);
        grid_->SetValueRange(r, 2, c->sequence);
        grid_->SetValueRange(r, 3, c->s0);
        grid_->SetValueRange(r, 4, c->cs1d);
        grid_->SetValueRange(r, 5, c->cs2d);
        grid_->SetValueRange(r, 6, c->csMS2);
    }
    grid_->LockUpdate(false);
    return count;
}

void CDenovoView::RedrawGrid() {
    grid_->Redraw();
}

void CDenovoView::ParseCandidateCell(int row) {
    selection_ = ParseDenovoCandidate(grid_->GetValueRowCol(row, kSequenceColumn));
    if (CMainFrame* frame = CMainFrame::GetMainFrame())
        PostMessage(frame, kMsgDenovoCandidateSelected, 0, 0, selection_);
}

void CDenovoView::OnDeNovo() {
    if (CMainFrame* frame = CMainFrame::GetMainFrame()) RunFrameCommand(ID_ACTION_DENOVO, *frame);
}

std::unique_ptr<QMenu> CDenovoView::BuildContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    const auto run = [this](int id) {
        if (id == ID_ACTION_DENOVO)
            OnDeNovo();
        else
            OnViewCommand(id);
    };
    QAction* denovo =
        AddDenovoCommandItem(menu.get(), ID_ACTION_DENOVO, QStringLiteral("De&Novo..."), run);
    denovo->setEnabled(HasFrameCommand(ID_ACTION_DENOVO));
    menu->addSeparator();
    AddDenovoCommandItem(menu.get(), ID_FILE_PAGE_SETUP, QStringLiteral("Pa&ge Setup..."), run);
    AddDenovoCommandItem(menu.get(), ID_FILE_PAGE_HEADER_FOOTER,
                         QStringLiteral("Page &Header and Footer..."), run);
    AddDenovoCommandItem(menu.get(), ID_FILE_PRINT, QStringLiteral("&Print..."), run);
    ShowMenuPrompts(menu.get());
    return menu;
}

bool CDenovoView::event(QEvent* e) {
    if (e->type() == MessageEvent::eventType() &&
        static_cast<MessageEvent*>(e)->message() == WM_CONTEXTMENU) {
        BuildContextMenu()->exec(QCursor::pos());
        return true;
    }
    return CHighlightedPane::event(e);
}

bool CDenovoView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == grid_->viewport() && e->type() == QEvent::Resize) FitColumns();
    return CHighlightedPane::eventFilter(watched, e);
}

void CDenovoView::resizeEvent(QResizeEvent* e) {
    CHighlightedPane::resizeEvent(e);
    FitColumns();
}

void CDenovoView::FitColumns() {
    if (!initialised_) return;
    SpreadSpareWidth(*grid_, {{kSequenceColumn, kSequenceWidth}});
}

}  // namespace zar
