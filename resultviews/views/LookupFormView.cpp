#include "LookupFormView.h"

#include "app/grids/BlastLookup.h"
#include "app/grids/ClipboardWnd.h"
#include "databases/DatabaseLookupWorker.h"
#include "databases/views/DatabaseStatusDlg.h"
#include "document/ProteinRecord.h"
#include "document/SearchResults.h"
#include "document/TextHelpers.h"
#include "grid/GridWnd.h"
#include "resultviews/ResultsStatusDlg.h"
#include "resultviews/ResultsWindow.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QThread>

namespace zar {

CLookupFormView::CLookupFormView(CResultsWindow* owner, QWidget* parent)
    : CResultsFormView(owner, parent) {
    auto* print = new QShortcut(QKeySequence::Print, this, [this] { OnFilePrint(); });
    print->setContext(Qt::WidgetWithChildrenShortcut);
}

CLookupFormView::~CLookupFormView() {
    pending_ = nullptr;
    delete statusDialog_.data();
}

QObject* CLookupFormView::GetResultsWindow() const {
    return Owner();
}

int CLookupFormView::GetReadingFrame() const {
    return Owner() ? Owner()->ReadingFrame() : 1;
}

WPARAM CLookupFormView::GetLookupOwner() const {
    return reinterpret_cast<WPARAM>(static_cast<const CResultsFormView*>(this));
}

bool CLookupFormView::DeferWhileSearching(std::function<void()> request) {
    if (!statusDialog_) return false;
    pending_ = std::move(request);
    return true;
}

namespace {

// The peptide a hit gave a protein: the text of the protein's row of that hit.
QString PeptideOfHit(const CProteinRecord& protein, HitNumber hit) {
    for (std::size_t r = 0; r < protein.rowsByRank.size(); ++r)
        for (std::size_t i = 0; i < protein.rowsByRank[r].size(); ++i)
            if (i < protein.hitNumbersByRank[r].size() && protein.hitNumbersByRank[r][i] == hit)
                return protein.rowsByRank[r][i]->peptide;
    return QString();
}

}  // namespace

const SearchHitRecord* TargetOfResult(const CSearchResults& set, const SelectedResult& item,
                                      QString* reference, QString* peptide) {
    const SearchHitRecord* hit = nullptr;
    QString ownReference = item.reference;
    QString ownPeptide = item.peptide;
    if (item.hit.isValid()) {
        hit = set.FindHit(item.hit);
    } else if ((hit = ProteinLookupHit(set, item.entryIndex))) {
        const CProteinRecord& protein = *set.GetProteins()[std::size_t(item.entryIndex)];
        if (ownReference.isEmpty()) ownReference = protein.reference;
        if (ownPeptide.isEmpty()) ownPeptide = PeptideOfHit(protein, hit->hitNumber());
    }
    if (reference) *reference = ownReference.isEmpty() && hit ? hit->reference : ownReference;
    if (peptide) {
        *peptide = ExtractPeptideSequence(ownPeptide);
        if (peptide->isEmpty() && hit) *peptide = ExtractPeptideSequence(hit->peptide);
    }
    return hit;
}

bool CLookupFormView::StartLookup(int searchKind) {
    auto* dialog = new CDatabaseStatusDlg(this);
    dialog->SetRequest(this);
    statusDialog_ = dialog;
    dialog->Create();
    if (dialog->StartSearch(searchKind)) return true;
    // Nothing to look up: no end message will come for this dialog.
    statusDialog_ = nullptr;
    delete dialog;
    searching_ = false;
    return false;
}

void CLookupFormView::TakeSearchResult(std::any& result) {
    // A newer request waits: this result no longer answers what the view is to show.
    if (statusDialog_ && !pending_) OnSearchResult(result);
}

void CLookupFormView::DeleteSearch() {
    if (!statusDialog_) return;
    delete statusDialog_.data();
    statusDialog_ = nullptr;
    searching_ = false;
    if (pending_) {
        const std::function<void()> next = std::move(pending_);
        pending_ = nullptr;
        next();
    }
}

bool CLookupFormView::WaitUntilIdle(int milliseconds) {
    return ProcessEventsWhile(
        [this] { return !statusDialog_.isNull() || static_cast<bool>(pending_); }, milliseconds);
}

void CLookupFormView::OnNcbiBlast() {
    BlastPeptide(BlastSequence());
}

void CLookupFormView::OnSwissProtAccession() {
    SwissProtReference(SwissProtSearch::Accession, SwissProtText());
}

void CLookupFormView::OnSwissProtDescription() {
    SwissProtReference(SwissProtSearch::Description, SwissProtText());
}

void CLookupFormView::OnSwissProtFullText() {
    SwissProtReference(SwissProtSearch::FullText, SwissProtText());
}

void CLookupFormView::OnExportSequence() {
    const QString text = ClipboardSequence();
    if (text.isEmpty()) return;
    CClipboardWnd clipboard(this);
    if (clipboard.IsOpen()) CopyStringToClipboard(this, text);
}

void CLookupFormView::OnFilePrint() {
    QPrinter printer;
    if (ChooseReportPrinter(printer, this, Title())) PrintReport(printer);
}

void CLookupFormView::OnCommand(int id) {
    switch (id) {
        case kCmdExportSequence:
            OnExportSequence();
            break;
        case kCmdNcbiBlast:
            OnNcbiBlast();
            break;
        case kCmdSwissProtAccession:
            OnSwissProtAccession();
            break;
        case kCmdSwissProtDescription:
            OnSwissProtDescription();
            break;
        case kCmdSwissProtFullText:
            OnSwissProtFullText();
            break;
        case kCmdPrint:
        case kCmdPrintDirect:
            OnFilePrint();
            break;
        default:
            break;
    }
}

bool CLookupFormView::IsCommandEnabled(int id) const {
    switch (id) {
        case kCmdExportSequence:
            return !ClipboardSequence().isEmpty();
        case kCmdNcbiBlast:
            return !BlastSequence().isEmpty();
        case kCmdSwissProtAccession:
        case kCmdSwissProtDescription:
        case kCmdSwissProtFullText:
            return !SwissProtText().isEmpty();
        case kCmdPrint:
        case kCmdPrintDirect:
            return true;
        default:
            return false;
    }
}

void CLookupFormView::FillContextMenu(QMenu& menu) {
    auto add = [this](QMenu* to, const char* text, int id) {
        QAction* a = to->addAction(QString::fromLatin1(text), this, [this, id] { OnCommand(id); });
        a->setData(id);
        a->setEnabled(IsCommandEnabled(id));
    };
    QMenu* exportMenu = menu.addMenu(QStringLiteral("&Export"));
    add(exportMenu, "&Sequence (to Clipboard)", kCmdExportSequence);
    QMenu* searches = menu.addMenu(QStringLiteral("&Searches"));
    add(searches, "&NCBI Blast", kCmdNcbiBlast);
    add(searches, "Swiss-Prot Using &Accession", kCmdSwissProtAccession);
    add(searches, "Swiss-Prot Using &Description/ID", kCmdSwissProtDescription);
    add(searches, "Swiss-Prot Using &Full text", kCmdSwissProtFullText);
    menu.addSeparator();
    add(&menu, "&Print...\tCtrl+P", kCmdPrint);
}

bool CLookupFormView::event(QEvent* e) {
    if (e->type() == MessageEvent::eventType() &&
        static_cast<MessageEvent*>(e)->message() == WM_CONTEXTMENU) {
        QMenu menu(this);
        FillContextMenu(menu);
        menu.exec(QCursor::pos());
        return true;
    }
    return CResultsFormView::event(e);
}

}  // namespace zar
