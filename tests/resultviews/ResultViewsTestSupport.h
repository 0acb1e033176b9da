#pragma once
// Helpers of the result-view tests: a document with its main frame and the views registered, a
// loaded copy of a fixture folder, and a result set filled by hand.

#include "ConsensusView.h"
#include "MainFrame.h"
#include "RegisterResultViews.h"
#include "SplitterViews.h"
#include "SummaryView.h"
#include "TestSupport.h"
#include "ViewFactory.h"
#include "ZarDoc.h"
#include "document/SorvexResults.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace rvtest {

// A set whose hits a test writes directly.
struct HandSet : zar::CSorvexResults {
    void SetHits(const std::vector<zar::SearchHitRecord>& hits) {
        Initialize();
        for (size_t i = 0; i < hits.size(); ++i) {
            hits_[i] = hits[i];
            hits_[i].recordIndex = static_cast<int>(i);
        }
        hitCount_ = static_cast<int>(hits.size());
        RebuildHitPositions();
    }
};

inline bool CopyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        if (!QFile::copy(from + "/" + name, to + "/" + name)) return false;
    return true;
}

// Processes events until done() holds or the time runs out.
template <class F>
bool WaitFor(F done, int ms = 20000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
    return true;
}

// A pane of another folder that the layouts hold (the trace and spectrum panes).
class StandInPane : public zar::CZarViewWidget {
  public:
    explicit StandInPane(const char* name) : name_(name) {}
    const char* ViewClassName() const override { return name_; }

  private:
    const char* name_;
};

// The program around the views: one document, its main frame, the views registered.
struct Program {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    std::unique_ptr<zar::CZarDoc> doc = std::make_unique<zar::CZarDoc>();
    std::unique_ptr<zar::CMainFrame> frame = std::make_unique<zar::CMainFrame>(doc.get());

    Program() {
        for (const char* pane : {"CTraceView", "CSpecView"})
            if (!zar::IsViewClassRegistered(QString::fromLatin1(pane)))
                zar::RegisterViewClass(QString::fromLatin1(pane),
                                       [pane](QWidget*) { return new StandInPane(pane); });
        zar::RegisterResultViews(*frame);
        frame->resize(1100, 800);
    }
    ~Program() {
        frame.reset();
        doc.reset();
    }

    QString Folder() const { return dir.path() + "/results"; }

    // Loads a copy of a fixture folder through the status dialog and waits for its end.
    bool Load(const QString& fixture = QStringLiteral("resultviews/seven")) {
        if (!QDir(Folder()).exists() && !CopyFolder(zartest::DataPath(fixture), Folder()))
            return false;
        if (!zar::OpenSorvexResults(*frame, Folder())) return false;
        return WaitFor([this] { return !frame->IsLoadingResults(); });
    }

    zar::CSplitterLayoutView* Layout() const {
        return dynamic_cast<zar::CSplitterLayoutView*>(frame->CurrentView());
    }
    zar::CSummaryView* Summary() const {
        auto* layout = Layout();
        return layout ? dynamic_cast<zar::CSummaryView*>(layout->FindPane("CSummaryView"))
                      : nullptr;
    }
    zar::CConsensusView* Consensus() const {
        auto* layout = Layout();
        return layout ? dynamic_cast<zar::CConsensusView*>(layout->FindPane("CConsensusView"))
                      : nullptr;
    }
    zar::CSorvexResults& Set() const { return *doc->GetSorvexResults(); }
    void Refill() { doc->UpdateAllViews(nullptr, 52); }
};

}  // namespace rvtest
