#include "PepmapView.h"

#include "PepmapOptionsDlg.h"
#include "PepmapStatusDlg.h"

#include "MainFrame.h"
#include "ZarDoc.h"
#include "core/MessageBox.h"
#include "databases/PepmapDigest.h"
#include "databases/PepmapEngine.h"
#include "document/UpdateHints.h"
#include "grids/ClipboardWnd.h"
#include "grids/ExcelExport.h"
#include "messages/Messages.h"
#include "resultviews/TableFit.h"

#include <QCursor>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace zar {
namespace {

struct ColumnInfo {
    const char* title;
    int width;
};

constexpr ColumnInfo kColumnInfo[CPepmapView::kColumns] = {{"Fragment", 100}, {"From", 65},
                                                           {"To", 65},        {"M+nH (avg)", 100},
                                                           {"Time", 75},      {"Sequence", 200}};
// The grid stops this far short of the view's right and bottom edges.
constexpr int kGridMargin = 8;

// The residue before or after a stretch, "-" beyond the protein's ends.
QChar Neighbour(const QString& protein, int index) {
    return index >= 0 && index < protein.size() ? protein[index] : QLatin1Char('-');
}

// One peptide of a row: its residues, each bonded cysteine through `cysteine`, with its
// neighbours in brackets when asked for.
template <class Residue>
QString Stretch(const QString& protein, int start, int end, bool neighbours, Residue residue) {
    QString out;
    if (neighbours)
        out += QLatin1Char('[') + residue(Neighbour(protein, start - 1), false) + QLatin1Char(']');
    const int last = std::min(end, static_cast<int>(protein.size()) - 1);
    for (int k = std::max(start, 0); k <= last; ++k) out += residue(protein[k], true);
    if (neighbours)
        out += QLatin1Char('[') + residue(Neighbour(protein, end + 1), false) + QLatin1Char(']');
    return out;
}

template <class Residue>
QString RowResidues(const CPepmapPeptide& row, const QString& protein, bool neighbours,
                    Residue residue) {
    QString out = Stretch(protein, row.start, row.end, neighbours, residue);
    // A peptide bonded to itself is shown once; two bonded peptides are joined by " + ".
    if (row.isLinked() && !row.isSelfLinked())
        out += QStringLiteral(" + ") +
               Stretch(protein, row.secondStart, row.secondEnd, neighbours, residue);
    return out;
}

}  // namespace

CPepmapView::CPepmapView(QWidget* parent) : CZarViewWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, kGridMargin, kGridMargin);
    auto* buttons = new QHBoxLayout;
    sequenceButton_ = new QPushButton(QStringLiteral("&Sequence..."), this);
    optionsButton_ = new QPushButton(QStringLiteral("&Options..."), this);
    updateButton_ = new QPushButton(QStringLiteral("&Update..."), this);
    buttons->addWidget(sequenceButton_);
    buttons->addWidget(optionsButton_);
    buttons->addWidget(updateButton_);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    grid_ = new CPepmapGrid(this);
    grid_->setObjectName(QStringLiteral("PepmapGrid"));
    layout->addWidget(grid_, 1);
    connect(sequenceButton_, &QPushButton::clicked, this, &CPepmapView::OnSequence);
    connect(optionsButton_, &QPushButton::clicked, this, &CPepmapView::OnOptions);
    connect(updateButton_, &QPushButton::clicked, this, &CPepmapView::OnRunPepmap);
    // The columns follow the grid's visible width, known once it is laid out.
    grid_->viewport()->installEventFilter(this);
    optionsButton_->setEnabled(false);
    updateButton_->setEnabled(false);
}

CPepmapView::~CPepmapView() {
    delete editor_.data();
    status_.reset();  // cancels a run and waits for it
}

CPepmapEngine* CPepmapView::engine() const {
    CZarDoc* doc = GetDocument();
    return doc ? doc->GetPepmapEngine() : nullptr;
}

CGXGridWnd* CPepmapView::PrintableGrid() const {
    return grid_;
}

void CPepmapView::OnInitialUpdate() {
    if (!initialised_) {
        grid_->SetGridOwner(this);
        grid_->SetColCount(kColumns);
        grid_->SetRowCount(rows_);
        for (int c = 1; c <= kColumns; ++c) {
            grid_->SetValueRange(0, c, QString::fromLatin1(kColumnInfo[c - 1].title));
            grid_->SetColWidth(c, kColumnInfo[c - 1].width);
        }
        // Labels such as "50.60" (peptide 50, piece 60) are names, not numbers.
        grid_->SetStyleRange(CGXRange::cols(1, 1), CGXStyle().setValueType(GridValueType::Text));
        grid_->SetStyleRange(CGXRange::cols(2, 4), CGXStyle().setValueType(GridValueType::Number));
        grid_->SetStyleRange(CGXRange::cols(6, 6), CGXStyle().setControl(GridControl::RichEdit));
        initialised_ = true;
    }
    fitColumns();
    TakeDocumentSequence();
    FillGrid();
}

void CPepmapView::OnUpdate(CZarView*, int hint) {
    switch (hint) {
        case kHintRefillResults:
        case kHintRefillResultsAgain:
        case kHintPepmapLayout:
            grid_->Redraw();
            break;
        case kHintPepmapSequence:
            TakeDocumentSequence();
            break;
        case kHintPepmapPeptides:
            FillGrid();
            break;
        default:
            break;
    }
}

int CPepmapView::PeptideCount() const {
    const CPepmapEngine* e = engine();
    return e && e->HasDigest() ? std::max(e->PeptideCount(), 0) : 0;
}

void CPepmapView::SortPeptides(int mode) {
    if (CPepmapEngine* e = engine()) e->SortPeptides(mode);
}

void CPepmapView::TakeDocumentSequence() {
    CZarDoc* doc = GetDocument();
    sequence_ = doc ? doc->GetSequence() : QString();
    EnableButtons(!sequence_.isEmpty());
}

void CPepmapView::EnableButtons(bool enable) {
    optionsButton_->setEnabled(enable && !optionsOpen_);
    updateButton_->setEnabled(enable);
}

void CPepmapView::SetOptionsDialogOpen(bool open) {
    optionsOpen_ = open;
    sequenceButton_->setEnabled(!open);
    optionsButton_->setEnabled(!open && !sequence_.isEmpty());
}

void CPepmapView::OnSequence() {
    if (!editor_) {
        editor_ =
            new CSequenceEditorDlg(this, SequenceEditorMode::kPepmap, CMainFrame::GetMainFrame());
        editor_->Create(this);
    }
    editor_->ShowDisulfideButton(true);
    editor_->UpdateLengthWeight(sequence_);
    editor_->show();
    editor_->raise();
}

void CPepmapView::OnOptions() {
    if (engine()) CPepmapOptionsDlg::ShowOptionsDialog(this);
}

bool CPepmapView::confirmLargeDigest(CPepmapEngine& e) {
    CZarDoc* doc = GetDocument();
    PepmapDigestInput in = e.MakeRunRequest(doc ? doc->GetSequence() : sequence_, QString()).digest;
    const long long rows = EstimatePepmapDigest(in).total();
    if (rows <= kPepmapLargeDigestRows) return true;
    const PepmapOptions& o = e.Options();
    const QString size = QStringLiteral(
                             "This digest makes about %1 peptides: matching them all against the "
                             "run takes long and much memory.")
                             .arg(rows);
    const bool capped = o.limitFragments && o.undigestedSitesMax > 0 &&
                        o.undigestedSitesMax <= kPepmapOfferedUndigestedSites;
    if (o.incompleteDigest && !capped) {
        const PepmapOptions bounded = WithUndigestedSitesCap(o, kPepmapOfferedUndigestedSites);
        in.options = bounded;
        const long long fewer = EstimatePepmapDigest(in).total();
        const int answer = ZarMessageBox(
            size + QStringLiteral("\n\nKeep only the incomplete-digest peptides with at most %1 "
                                  "undigested sites (about %2 peptides in all)? The limit stays in "
                                  "the Pepmap options.\n\nYes: keep those.   No: make every "
                                  "peptide.   Cancel: do not run.")
                       .arg(kPepmapOfferedUndigestedSites)
                       .arg(fewer),
            MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) return false;
        if (answer == IDYES) e.SetOptions(bounded);
        return true;
    }
    return ZarMessageBox(size + QStringLiteral("\n\nRun it anyway?"),
                         MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void CPepmapView::OnRunPepmap() {
    CPepmapEngine* e = engine();
    if (!e || !confirmLargeDigest(*e)) return;
    status_.reset();
    status_ = std::make_unique<CPepmapStatusDlg>(this);
    status_->Create();
}

QString CPepmapView::SequenceCellRichText(const CPepmapPeptide& row, const QString& protein,
                                          bool neighbours) {
    const bool blue = row.disulfideKind >= 1;
    const QString body = RowResidues(row, protein, neighbours, [blue](QChar c, bool residue) {
        if (residue && blue && c == u'C') return QStringLiteral("\\cf1 C\\cf0 ");
        if (c == u'\\' || c == u'{' || c == u'}') return QStringLiteral("\\") + c;
        return QString(c);
    });
    // Courier New; colour 0 the cell's own, colour 1 the bonded cysteines' blue.
    return QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}"
                          "{\\colortbl;\\red0\\green0\\blue255;}\\f0 ") +
           body + QLatin1Char('}');
}

QString CPepmapView::SequenceCellText(const CPepmapPeptide& row, const QString& protein,
                                      bool neighbours) {
    return RowResidues(row, protein, neighbours, [](QChar c, bool) { return QString(c); });
}

void CPepmapView::FillGrid() {
    // The window of the last run goes once the run is over.
    if (status_ && !status_->IsRunning()) status_.reset();
    CPepmapEngine* e = engine();
    if (!e || !initialised_) return;
    const PepmapOptions& o = e->Options();
    const bool mono = o.monoisotopic != 0;
    const bool neighbours = o.showNeighbours != 0;
    const bool times = o.showTimes != 0;
    const double h = e->GetHydrogenMass(mono);
    grid_->SetValueRange(0, 5, times ? QStringLiteral("Time") : QStringLiteral("Scan"));
    grid_->SetValueRange(0, 4, mono ? QStringLiteral("M+nH (mono)") : QStringLiteral("M+nH (avg)"));

    const PepmapPeptideList& list = e->Peptides();
    const int count = e->HasDigest() ? static_cast<int>(list.size()) : 0;
    rows_ = std::max(count, static_cast<int>(kMinRows));
    grid_->LockUpdate(true);
    grid_->SetRowCount(rows_);
    grid_->ClearCells(CGXRange::table());
    grid_->SetStyleRange(CGXRange::cells(1, 1, rows_, kColumns), CGXStyle().setBold(false));
    grid_->SetStyleRange(
        CGXRange::cols(5, 5),
        CGXStyle()
            .setValueType(GridValueType::Number)
            .setFormat(times ? GridNumberFormat::Fixed : GridNumberFormat::General, 2));
    const QString& protein = list.sequence();
    for (int i = 0; i < count; ++i) {
        const CPepmapPeptide& p = list[static_cast<std::size_t>(i)];
        const int row = i + 1;
        grid_->SetValueRange(row, 1, p.label());
        grid_->SetValueRange(row, 2, static_cast<double>(p.start + 1));
        grid_->SetValueRange(row, 3, static_cast<double>(p.end + 1));
        grid_->SetValueRange(row, 4, list.mass(p, mono) + kCharge * h);
        if (p.isMatched()) {
            grid_->SetValueRange(row, 5,
                                 times ? p.matchedTime : static_cast<double>(p.matchedScan));
            grid_->SetStyleRange(CGXRange::cell(row, 1), CGXStyle().setBold(true));
            grid_->SetStyleRange(CGXRange::cell(row, 5), CGXStyle().setBold(true));
        }
        grid_->SetValueRange(row, 6, SequenceCellRichText(p, protein, neighbours));
    }
    grid_->LockUpdate(false);
    grid_->Redraw();
}

int CPepmapView::OnExportExcel(QString* outputPath) {
    CZarDoc* doc = GetDocument();
    CClipboardWnd guard(nullptr);
    return ExportToExcel(*grid_, doc ? doc->GetRawFilePath() : QString(),
                         QStringLiteral("Pepmap.xlt"), QStringLiteral("Pepmap"), outputPath);
}

void CPepmapView::showContextMenu() {
    QMenu menu(this);
    menu.addAction(QStringLiteral("Export to Excel"), this, [this] { OnExportExcel(); });
    // No XML layout of the table is defined: the item answers nothing.
    menu.addAction(QStringLiteral("Export to XML"))->setEnabled(false);
    menu.exec(QCursor::pos());
}

bool CPepmapView::event(QEvent* e) {
    if (e->type() == MessageEvent::eventType() &&
        static_cast<MessageEvent*>(e)->message() == WM_CONTEXTMENU) {
        showContextMenu();
        return true;
    }
    return CZarViewWidget::event(e);
}

bool CPepmapView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == grid_->viewport() && e->type() == QEvent::Resize) fitColumns();
    return CZarViewWidget::eventFilter(watched, e);
}

void CPepmapView::resizeEvent(QResizeEvent* e) {
    CZarViewWidget::resizeEvent(e);
    fitColumns();
}

void CPepmapView::fitColumns() {
    if (!initialised_) return;
    SpreadSpareWidth(*grid_, {{1, kColumnInfo[0].width}, {6, kColumnInfo[5].width}});
}

}  // namespace zar
