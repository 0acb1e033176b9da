// The Dta dialog: filled from the run, its options, the defaults it saves, its checks, and the
// extraction it starts and leaves alone.

#include "search/views/DtaCreateDialog.h"

#include "LauncherTestSupport.h"

#include "controls/NumericEditCtrl.h"
#include "core/Paths.h"

#include <QCheckBox>
#include <QRadioButton>

using namespace zar;
using namespace launchertest;
using Dlg = CDtaCreateDialog;

namespace {

class DtaDialogFixture : public LauncherFixture {
  protected:
    std::unique_ptr<Dlg> Open() {
        auto dialog = std::make_unique<Dlg>(&owner, true);
        dialog->SetRawFile(run, false);
        dialog->Create();
        dialog->SetFolderPicker([this](QWidget*, const QString&) { return picked; });
        return dialog;
    }
    template <class T = QWidget>
    static T* Item(Dlg& dialog, int id) {
        return dynamic_cast<T*>(dialog.GetDlgItem(id));
    }
    static void PressOK(Dlg& dialog) { dialog.OnOK(); }
    // The extraction was started detached: its arguments appear when it has run.
    QStringList ExtractionArguments() {
        const QString path = logs + "/dravel_msn.args";
        if (!QTest::qWaitFor([&] { return QFile::exists(path) && !ReadAll(path).isEmpty(); },
                             zartest::kWorkWaitMs))
            return {};
        QTest::qWait(100);
        return LoggedArguments("dravel_msn").mid(1);
    }
    QString picked;
};

}  // namespace

TEST_F(DtaDialogFixture, OpensOnTheRunWithTheWebPagesGreyed) {
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), "TurboSORVEX Dta");
    EXPECT_EQ(Item<QLineEdit>(*dialog, Dlg::kScanLimitsId)->text(), "1-10");
    EXPECT_EQ(Item<QLineEdit>(*dialog, Dlg::kDirectoryId)->text(), results);
    EXPECT_TRUE(Item(*dialog, Dlg::kFirstActionId)->isEnabled());
    for (int i = 1; i <= 3; ++i)
        EXPECT_FALSE(Item(*dialog, Dlg::kFirstActionId + i)->isEnabled()) << i;
    EXPECT_TRUE(Item<QCheckBox>(*dialog, Dlg::kTrackId)->isChecked());
    EXPECT_TRUE(Item<QCheckBox>(*dialog, Dlg::kRemoveDtaId)->isChecked());
    Dlg closed(&owner, false);
    closed.Create();
    EXPECT_FALSE(closed.GetDlgItem(Dlg::kFirstActionId)->isEnabled());
}

TEST_F(DtaDialogFixture, OkSavesTheDefaultsRemovesOldFilesAndStartsTheExtraction) {
    sheettest::WriteBytes(results + "/old.0099.0099.2.dta", "x");
    auto dialog = Open();
    Item<QLineEdit>(*dialog, Dlg::kThresholdId)->setText("5000");
    Item<QLineEdit>(*dialog, Dlg::kMinIonCountId)->setText("12");
    PressOK(*dialog);
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(QFile::exists(results + "/old.0099.0099.2.dta"));
    EXPECT_EQ(GetDtaThreshold(), 5000.0);
    EXPECT_EQ(GetDtaMinIonCount(), 12);
    const QStringList args = ExtractionArguments();
    ASSERT_FALSE(args.isEmpty());
    EXPECT_EQ(args.mid(0, 3), (QStringList{"-Z", "-V", "-D" + results}));
    EXPECT_EQ(args.mid(3, 7),
              (QStringList{"-F1", "-L10", "-E5000", "-M1.40", "-S1", "-I12", "-G2"}));
    EXPECT_EQ(args.last(), run);
    // Nobody waits for this program: it has no way to the main window.
    EXPECT_TRUE(ReadAll(logs + "/dravel_msn.env").isEmpty());
}

TEST_F(DtaDialogFixture, ATrackedRangeOfOneScanGroupsByOne) {
    auto dialog = Open();
    dialog->SetScanRangeIfTracking(5, 5);
    EXPECT_EQ(Item<QLineEdit>(*dialog, Dlg::kScanLimitsId)->text(), "5-5");
    Item<QCheckBox>(*dialog, Dlg::kTrackId)->click();  // off: the trace no longer sets the scans
    dialog->SetScanRangeIfTracking(7, 9);
    EXPECT_EQ(Item<QLineEdit>(*dialog, Dlg::kScanLimitsId)->text(), "5-5");
    PressOK(*dialog);
    const QStringList args = ExtractionArguments();
    EXPECT_TRUE(args.contains("-F5") && args.contains("-L5") && args.contains("-G1"))
        << qPrintable(args.join(' '));
}

TEST_F(DtaDialogFixture, WhatOkRefuses) {
    struct Case {
        const char* name;
        std::function<void(Dlg&)> change;
        QString message;
    } cases[] = {
        {"no folder", [](Dlg& d) { Item<QLineEdit>(d, Dlg::kDirectoryId)->clear(); },
         "No valid directory name provided"},
        {"a folder with a blank",
         [this](Dlg& d) { Item<QLineEdit>(d, Dlg::kDirectoryId)->setText(root + "/a b"); },
         "Cannot use directories\n\n" + root + "/a b\n\nwith a space in the name.\n"},
        {"defaults forget the run", [](Dlg& d) { d.OnDefaults(); },
         "No valid analysis file name provided"},
    };
    for (const Case& c : cases) {
        boxes.clear();
        auto dialog = Open();
        c.change(*dialog);
        PressOK(*dialog);
        EXPECT_EQ(boxes.texts(), QStringList{c.message}) << c.name;
    }
    EXPECT_FALSE(QFile::exists(logs + "/dravel_msn.args"));
}

TEST_F(DtaDialogFixture, AMissingFolderIsMadeWhenTheUserAgrees) {
    const QString folder = root + "/new";
    for (int answer : {IDNO, IDYES}) {
        boxes.clear();
        boxes.answerNext(answer);
        auto dialog = Open();
        Item<QLineEdit>(*dialog, Dlg::kDirectoryId)->setText(folder);
        PressOK(*dialog);
        ASSERT_EQ(boxes.texts().size(), 1);
        EXPECT_TRUE(boxes.texts()[0].startsWith("The directory name supplied"));
        EXPECT_EQ(QFileInfo(folder).isDir(), answer == IDYES);
    }
    EXPECT_TRUE(ExtractionArguments().contains("-D" + folder));
}

TEST_F(DtaDialogFixture, BrowseAndDefaults) {
    auto dialog = Open();
    picked = root + "/picked";
    dialog->OnBrowse();
    EXPECT_EQ(Item<QLineEdit>(*dialog, Dlg::kDirectoryId)->text(), picked);
    Item<QLineEdit>(*dialog, Dlg::kPrecursorToleranceId)->setText("3");
    dialog->OnDefaults();
    EXPECT_EQ(Item<QLineEdit>(*dialog, Dlg::kDirectoryId)->text(), results);
    EXPECT_EQ(Item<CDoubleEditCtrl>(*dialog, Dlg::kPrecursorToleranceId)->text().toDouble(), 1.4);
    EXPECT_TRUE(dialog->RawFile().isEmpty());
}

// After OK the dialog comes back with the folder and the values it used: shown again with a run
// (which sets the scans and masses anew), and made anew as the next program start makes it.
TEST_F(DtaDialogFixture, ComesBackWithTheLastFolderAndSettings) {
    const QString folder = root + "/extracted";
    ASSERT_TRUE(QDir().mkpath(folder));
    auto dialog = Open();
    const std::pair<int, const char*> typed[] = {
        {Dlg::kPrecursorToleranceId, "2.5"}, {Dlg::kThresholdId, "5000"},
        {Dlg::kGroupScanId, "3"},            {Dlg::kMinGroupCountId, "4"},
        {Dlg::kMinIonCountId, "12"},         {Dlg::kChargeStateId, "2"},
    };
    Item<QLineEdit>(*dialog, Dlg::kDirectoryId)->setText(folder);
    for (const auto& [id, text] : typed) Item<QLineEdit>(*dialog, id)->setText(text);
    Item<QCheckBox>(*dialog, Dlg::kRemoveDtaId)->setChecked(false);
    PressOK(*dialog);
    ASSERT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    ASSERT_FALSE(ExtractionArguments().isEmpty());
    EXPECT_EQ(PortablePath(GetSorvexResultsDirectory()), folder);

    struct Case {
        const char* name;
        bool sessionValues;  // shown again: also the values no setting holds (charge, Remove)
    } cases[] = {{"shown again", true}, {"made anew", false}};
    for (const Case& c : cases) {
        std::unique_ptr<Dlg> back;
        if (c.sessionValues) {
            dialog->SetRawFile(run, true);
            back = std::move(dialog);
        } else {
            back = Open();
        }
        EXPECT_EQ(Item<QLineEdit>(*back, Dlg::kDirectoryId)->text(), folder) << c.name;
        for (const auto& [id, text] : typed) {
            if (id == Dlg::kChargeStateId && !c.sessionValues) continue;
            EXPECT_EQ(Item<QLineEdit>(*back, id)->text().toDouble(), QString(text).toDouble())
                << c.name << " " << id;
        }
        if (c.sessionValues) {
            EXPECT_FALSE(Item<QCheckBox>(*back, Dlg::kRemoveDtaId)->isChecked()) << c.name;
        }
        EXPECT_EQ(back->Options().threshold, 5000.0) << c.name;
        EXPECT_EQ(Item<QLineEdit>(*back, Dlg::kScanLimitsId)->text(), "1-10") << c.name;
    }
}
