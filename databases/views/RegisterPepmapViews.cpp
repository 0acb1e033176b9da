#include "RegisterPepmapViews.h"

#include "PepmapView.h"
#include "SequenceCalcDlg.h"
#include "SequenceEditorDlg.h"

#include "FrameCommands.h"
#include "MainFrame.h"
#include "ViewFactory.h"

namespace zar {

void RegisterPepmapViews() {
    RegisterViewClass(QString::fromLatin1(CPepmapView::kClassName),
                      [](QWidget* parent) { return new CPepmapView(parent); });
    RegisterFrameCommand(ID_TOOLS_SEQUENCE_EDITOR, [](CMainFrame& frame) {
        CSequenceEditorDlg dialog(&frame);
        dialog.DoModal();
    });
    // The calculator is made once and lives as long as the main window.
    RegisterFrameCommand(ID_TOOLS_SEQUENCE_CALCULATOR, [](CMainFrame& frame) {
        auto* calculator = frame.findChild<CSequenceCalcDlg*>(QString(), Qt::FindDirectChildrenOnly);
        if (!calculator) {
            calculator = new CSequenceCalcDlg(&frame);
            calculator->Create(&frame);
        }
        calculator->show();
        calculator->raise();
    });
}

}  // namespace zar
