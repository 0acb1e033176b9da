// The Invalid Parameters dialog names the file and the search in its texts, offers the three
// options in their order, and tells the restore procedure the option chosen with OK; a dialog
// closed otherwise leaves the file alone.

#include "search/views/InvalidParamsDlg.h"

#include "SheetTestSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace zar;
using namespace sheettest;

TEST(InvalidParamsDlgTest, TextsNameTheFileAndTheSearch) {
    CInvalidParamsDlg dlg("massmap", "Peptide Mapping", nullptr);
    dlg.EnsureInitialized();
    EXPECT_EQ(dlg.windowTitle(), "Invalid Parameters file");
    EXPECT_EQ(qobject_cast<QLabel*>(dlg.GetDlgItem(CInvalidParamsDlg::kIntroId))->text(),
              "A parameter file (\"massmap.params\") is required but the current parameter file "
              "is\ninvalid.  Please choose one of the options below (the first 2 choices will\n"
              "overwrite the current parameter file) and then click OK:");
    const auto radio = [&dlg](int id) { return qobject_cast<QRadioButton*>(dlg.GetDlgItem(id)); };
    EXPECT_EQ(radio(CInvalidParamsDlg::kCopyDefaultId)->text(),
              "&Copy the default file located in Veltrix/systems/programs directory");
    EXPECT_EQ(radio(CInvalidParamsDlg::kUseDefaultsId)->text(),
              "&Use the default values provided with this program");
    EXPECT_EQ(radio(CInvalidParamsDlg::kLeaveFileId)->text(),
              "&Exit Peptide Mapping and manually edit the parameters file.\nNote : An editor "
              "will not be started automatically.");
    EXPECT_TRUE(radio(CInvalidParamsDlg::kCopyDefaultId)->isChecked());
    EXPECT_EQ(qobject_cast<QPushButton*>(dlg.GetDlgItem(CInvalidParamsDlg::kOkId))->text(), "&OK");
    EXPECT_EQ(qobject_cast<QPushButton*>(dlg.GetDlgItem(CInvalidParamsDlg::kHelpId))->text(),
              "&Help");
    EXPECT_EQ(dlg.findChildren<QPushButton*>().size(), 2);  // no Cancel
}

TEST(InvalidParamsDlgTest, PromptGivesTheOptionChosenWithOk) {
    struct Case {
        int radio;  // 0: none clicked
        bool ok;
        InvalidParamsOption expected;
    } cases[] = {
        {0, true, InvalidParamsOption::CopyDefaultFile},
        {CInvalidParamsDlg::kUseDefaultsId, true, InvalidParamsOption::UseDefaultValues},
        {CInvalidParamsDlg::kLeaveFileId, true, InvalidParamsOption::LeaveFile},
        {CInvalidParamsDlg::kUseDefaultsId, false, InvalidParamsOption::LeaveFile},
    };
    for (const Case& c : cases) {
        ModalAnswer answer([&c](QWidget* w) {
            auto* dlg = qobject_cast<CInvalidParamsDlg*>(w);
            ASSERT_NE(dlg, nullptr);
            if (c.radio) qobject_cast<QRadioButton*>(dlg->GetDlgItem(c.radio))->click();
            if (c.ok)
                qobject_cast<QPushButton*>(dlg->GetDlgItem(CInvalidParamsDlg::kOkId))->click();
            else
                dlg->reject();
        });
        CInvalidParamsDlgPrompt prompt(nullptr);
        EXPECT_EQ(prompt.ChooseOption("sorvex", "Sorvex search"), c.expected) << c.radio;
        EXPECT_EQ(answer.seen, "Invalid Parameters file");
    }
}
