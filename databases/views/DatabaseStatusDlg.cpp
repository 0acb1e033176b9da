#include "DatabaseStatusDlg.h"

#include "controls/StatusWindow.h"
#include "document/SearchHitRecord.h"
#include "document/SearchResults.h"
#include "document/hub/ZarDoc.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zar {

CDatabaseStatusDlg::CDatabaseStatusDlg(QWidget* parent)
    : CDialogBase(kTemplateId, parent) {
    const StatusWindowParts parts = BuildStatusWindow(*this, QStringLiteral("Database Status"));
    status_ = parts.status;
    progress_ = parts.progress;
    cancel_ = parts.cancel;
    AddControl(kStatusTextId, status_);
    AddControl(kProgressId, progress_);
    AddControl(2, cancel_);

    messages_.on(dbmsg::StatusTextMessage(), [this](const Message& m) {
        if (const QString* text = m.payloadAs<QString>()) status_->setText(*text);
        return 0;
    });
    messages_.on(dbmsg::ProgressMessage(), [this](const Message& m) {
        progress_->setValue(std::clamp(static_cast<int>(m.wParam), 0, 100));
        return 0;
    });
}

CDatabaseStatusDlg::~CDatabaseStatusDlg() {
    // The worker posts to this dialog: it ends before the dialog does.
    worker_.reset();
}

bool CDatabaseStatusDlg::OnInitDialog() {
    status_->clear();
    progress_->setRange(0, 100);
    progress_->setValue(0);
    cancelled_ = false;
    return CDialogBase::OnInitDialog();
}

void CDatabaseStatusDlg::Create() {
    EnsureInitialized();
    show();
}

void CDatabaseStatusDlg::Wait() {
    if (worker_) worker_->wait();
}

bool CDatabaseStatusDlg::event(QEvent* e) {
    if (messages_.handleEvent(e)) return true;
    return CDialogBase::event(e);
}

void CDatabaseStatusDlg::reject() {
    // Closing alone would leave a long scan running unseen: the look-up stops at its next
    // entry and still reports its end, which deletes the dialog.
    cancelled_ = true;
    if (worker_) worker_->cancel();
    CDialogBase::reject();
}

CSearchResults* CDatabaseStatusDlg::resultsOf(const CDatabaseLookupView* view) const {
    CZarDoc* doc = CZarDoc::GetDoc();
    return doc ? doc->GetResultsOfKind(view->GetResultKind()) : nullptr;
}

bool CDatabaseStatusDlg::StartSearch(int kind) {
    cancelled_ = false;
    searchKind_ = kind;
    CDatabaseLookupView* view = request_;
    if (!view) return false;
    switch (kind) {
        case kSearchBySequence:
            return SearchBySequenceThreadProc(view);
        case kSearchBySequencePosition:
            return SearchThreadProc(view);
        case kSearchByReference:
            return SearchByReferenceThreadProc(view);
        default:
            return false;
    }
}

const SearchHitRecord* CDatabaseStatusDlg::hitOf(CDatabaseLookupView* view,
                                                 const CSearchResults*& results) const {
    view->SetSearching(true);
    results = resultsOf(view);
    const SearchHitRecord* hit = results ? results->FindHit(view->GetLookupHit()) : nullptr;
    if (!hit) view->SetSearching(false);
    return hit;
}

bool CDatabaseStatusDlg::SearchBySequenceThreadProc(CDatabaseLookupView* view) {
    const CSearchResults* results = nullptr;
    const SearchHitRecord* hit = hitOf(view, results);
    if (!hit) return false;
    DatabaseLookupRequest request = LookupRequestForHit(*hit);
    const QString peptide = view->GetLookupPeptide();
    if (!peptide.isEmpty()) request.peptide = peptide;
    return startWorker(view, CDatabaseLookupWorker::Kind::BySequence, *results, *hit, request);
}

bool CDatabaseStatusDlg::SearchThreadProc(CDatabaseLookupView* view) {
    const CSearchResults* results = nullptr;
    const SearchHitRecord* hit = hitOf(view, results);
    if (!hit) return false;
    DatabaseLookupRequest request = LookupRequestForHit(*hit);
    // The view's peptide is the one asked about, even when empty (the look-up says so).
    request.peptide = view->GetLookupPeptide();
    const QString reference = view->GetLookupReference();
    if (!reference.isEmpty()) request.reference = reference;
    return startWorker(view, CDatabaseLookupWorker::Kind::BySequencePosition, *results, *hit,
                       request);
}

bool CDatabaseStatusDlg::SearchByReferenceThreadProc(CDatabaseLookupView* view) {
    view->SetSearching(true);
    const CSearchResults* results = resultsOf(view);
    const int protein = view->GetLookupProtein();
    const SearchHitRecord* hit = results ? ProteinLookupHit(*results, protein) : nullptr;
    const std::optional<DatabaseLookupRequest> request =
        hit ? LookupRequestForProtein(*results, protein) : std::nullopt;
    if (!request) {
        view->SetSearching(false);
        return false;
    }
    return startWorker(view, CDatabaseLookupWorker::Kind::ByReference, *results, *hit, *request);
}

bool CDatabaseStatusDlg::startWorker(CDatabaseLookupView* view, CDatabaseLookupWorker::Kind kind,
                                     const CSearchResults& results, const SearchHitRecord& hit,
                                     const DatabaseLookupRequest& request) {
    CDatabaseLookupWorker::Setup setup = LookupSetupFor(results, hit, view->GetReadingFrame());
    FindLookupDatabase(setup, request, results, hit);
    if (!worker_ || !worker_->isBusy())
        worker_ = std::make_unique<CDatabaseLookupWorker>(
            CDatabaseLookupWorker::Targets{view->GetResultsWindow(), this, view->GetLookupOwner()});
    if (!worker_->start(kind, std::move(setup), request)) {
        view->SetSearching(false);
        return false;
    }
    return true;
}

}  // namespace zar
