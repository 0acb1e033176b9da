#include "PepmapViewsTestSupport.h"

#include "FrameCommands.h"
#include "databases/PepmapEngine.h"
#include "databases/views/PepmapStatusDlg.h"
#include "databases/views/RegisterPepmapViews.h"
#include "grids/GridServices.h"
#include "rawfile/RunFileWriter.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "tools/demo/DemoProteins.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace zar;

namespace pepmapviewtest {
namespace {

struct DemoData {
    QTemporaryDir dir;
    DemoRun run;
    QString path;
};

DemoData& demo() {
    static DemoData data;
    static bool made = false;
    if (!made) {
        made = true;
        // The shipped run: its peptides elute far enough apart to be told apart by m/z and time.
        data.run = MakeDemoRun(DemoSettings());
        const QString path = QDir(data.dir.path()).filePath(QStringLiteral("demo.mzML"));
        QString error;
        if (WriteRunFile(
                path, static_cast<int>(data.run.scans.size()),
                [&](int i) { return data.run.scans[static_cast<std::size_t>(i)]; }, error))
            data.path = path;
    }
    return data;
}

}  // namespace

QString DemoRunPath() {
    return demo().path;
}
const DemoRun& DemoRunData() {
    return demo().run;
}

QString DemoProteinSequence(const char* reference) {
    const std::vector<DemoProtein> targets = DemoTargetProteins();
    const int k = DemoTargetIndex(QString::fromLatin1(reference));
    return k < 0 ? QString() : targets[static_cast<std::size_t>(k)].sequence;
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

PepmapWindow::PepmapWindow() {
    RegisterSpectrumViews();
    RegisterPepmapViews();
    doc_ = std::make_unique<CZarDoc>();
    frame_ = std::make_unique<CMainFrame>(doc_.get());
    // The Pepmap table's title clicks tell the main window.
    GetGridServices().mainWindow = frame_.get();
    frame_->resize(1200, 800);
    frame_->show();
    doc_->OnNewDocument();
    (void)QTest::qWaitForWindowExposed(frame_.get());
    if (!DemoRunPath().isEmpty()) doc_->OnOpenDocument(DemoRunPath());
    QCoreApplication::processEvents();
}

PepmapWindow::~PepmapWindow() {
    frame_.reset();
    doc_.reset();
    // Other tests of the executable meet the Tools menu without the sequence tools.
    UnregisterFrameCommand(ID_TOOLS_SEQUENCE_EDITOR);
    UnregisterFrameCommand(ID_TOOLS_SEQUENCE_CALCULATOR);
}

CPepmapView* PepmapWindow::ShowPepmapLayout() {
    frame_->UpdateCommandUI();
    frame_->RunCommand(ID_VIEW_PEPMAP);
    QCoreApplication::processEvents();
    return frame_->findChild<CPepmapView*>();
}

bool PepmapWindow::RunPepmap(CPepmapView& view) {
    QTest::mouseClick(view.UpdateButton(), Qt::LeftButton);
    CPepmapStatusDlg* status = view.StatusDialog();
    if (!status) return false;
    // The table is filled when the run's message has gone round: the window of the run goes.
    return WaitFor([&] { return view.StatusDialog() == nullptr; });
}

}  // namespace pepmapviewtest
