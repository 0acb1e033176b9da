#pragma once
// Helpers of the result-view tests: a document with its main frame and the views registered, a
// loaded copy of a fixture folder, and a result set filled by hand.

#include "ConsensusView.h"
#include "MainFrame.h"
#include "MassmapView.h"
#include "MultiConsensusView.h"
#include "RegisterResultViews.h"
#include "SplitterViews.h"
#include "SummaryView.h"
#include "TestSupport.h"
#include "ViewFactory.h"
#include "ZarDoc.h"
#include "document/MassmapResults.h"
#include "document/MultiConsensusResults.h"
#include "document/SorvexResults.h"
#include "tools/demo/DemoResults.h"
#include "tools/demo/DemoWriter.h"

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
            if (!EnsureCapacity(static_cast<int>(i))) return;
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
bool WaitFor(F done, int ms = zartest::kWorkWaitMs) {
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

    zar::CMassmapView* Massmap() const {
        auto* layout = Layout();
        return layout ? dynamic_cast<zar::CMassmapView*>(layout->FindPane("CMassmapView"))
                      : nullptr;
    }
    // View type 11 shows the table by itself.
    zar::CMultiConsensusView* Multi() const {
        return dynamic_cast<zar::CMultiConsensusView*>(frame->CurrentView());
    }
    zar::CMassmapResults& MassmapSet() const { return *doc->GetMassmapResults(); }
    zar::CMultiConsensusResults& MultiSet() const { return *doc->GetMultiConsensusResults(); }

    // Loads a peptide-mapping folder, or the listed result folders, and waits for the end.
    bool LoadMassmap(const QString& folder) {
        if (!zar::OpenMassmapResults(*frame, folder)) return false;
        return WaitFor([this] { return !frame->IsLoadingResults(); }, zartest::kWorkWaitMs);
    }
    bool LoadMultiple(const QStringList& folders) {
        doc->GetMultiConsensusResults()->ClearResultList();
        for (const QString& f : folders)
            doc->GetMultiConsensusResults()->GetResultList().push_back({QString(), f});
        if (!zar::OpenMultipleResults(*frame)) return false;
        return WaitFor([this] { return !frame->IsLoadingResults(); }, zartest::kWorkWaitMs);
    }
};

// What a protein table shows: each protein row's protein index and the hit numbers of the
// match rows below it.
struct ShownProtein {
    int protein;
    std::vector<zar::HitNumber> hits;
};
inline std::vector<ShownProtein> ShownTable(const zar::CProteinTableView& view) {
    std::vector<ShownProtein> shown;
    for (const zar::ConsensusRowEntry& e : view.RowEntries()) {
        if (e.kind == zar::ConsensusRowEntry::kProteinRow)
            shown.push_back({e.protein, {}});
        else if (!shown.empty())
            shown.back().hits.push_back(e.hit);
    }
    return shown;
}

// The demo data set of a short run, written once for the whole test program.
struct DemoData {
    QTemporaryDir dir;
    zar::DemoRun run;
    QString folder;
    QString failure;
};

inline DemoData& Demo() {
    static DemoData data;
    static bool made = false;
    if (!made) {
        made = true;
        zar::DemoSettings settings;
        settings.runMinutes = 9.0;
        settings.firstElution = 1.0;
        settings.lastElution = 8.0;
        settings.intactMinutes = 8.6;
        data.run = zar::MakeDemoRun(settings);
        const QString target = data.dir.filePath(QStringLiteral("demo"));
        if (zar::WriteDemoFolder(target, data.run, false, data.failure)) data.folder = target;
    }
    return data;
}

}  // namespace rvtest
