#include "RegisterDatabaseTools.h"

#include "EnzymeEditorDlg.h"
#include "FastaDbIndexerDlg.h"
#include "FastaIndexDlg.h"
#include "UtilityPropertySheet.h"

#include "FrameCommands.h"
#include "MainFrame.h"
#include "ZarDoc.h"
#include "core/MessageBox.h"
#include "document/EnzymeTable.h"
#include "search/ParamFileRestore.h"
#include "search/views/InvalidParamsDlg.h"

namespace zar {

namespace {

CEnzymeTable* DocumentEnzymes() {
    CZarDoc* doc = CZarDoc::GetDoc();
    return doc ? doc->GetEnzymeTable() : nullptr;
}

}  // namespace

void RegisterDatabaseTools() {
    RegisterFrameCommand(ID_TOOLS_FASTA_INDEX, [](CMainFrame& frame) {
        CFastaIndexDlg dialog(&frame);
        dialog.DoModal();
    });
    // The frame has checked that the document's enzyme table exists.
    RegisterFrameCommand(ID_TOOLS_DB_INDEXER, [](CMainFrame& frame) {
        CEnzymeTable* enzymes = DocumentEnzymes();
        if (!enzymes) return;
        CInvalidParamsDlgPrompt prompt(&frame);
        CFastaDbIndexerDlg dialog(&frame, &prompt);
        dialog.SetEnzymeList(enzymes->GetRecords().data());
        dialog.DoModal();
    });
    RegisterFrameCommand(ID_TOOLS_ENZYME_EDITOR, [](CMainFrame& frame) {
        CEnzymeEditorDlg dialog(&frame);
        dialog.SetEnzymeTable(DocumentEnzymes());
        dialog.DoModal();
    });
    RegisterFrameCommand(ID_TOOLS_DB_UTILITIES, [](CMainFrame& frame) {
        CUtilityPropertySheet sheet(CUtilityPropertySheet::kCaptionId, &frame, 0);
        sheet.DoModal();
    });
}

}  // namespace zar
