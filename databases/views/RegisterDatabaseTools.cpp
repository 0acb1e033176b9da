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

namespace zar {

namespace {

// The three choices of the Invalid Parameters prompt as one question.
class MessageBoxParamsPrompt : public InvalidParamsPrompt {
  public:
    InvalidParamsOption ChooseOption(const QString& stem, const QString& label) override {
        const int answer = ZarMessageBox(
            InvalidParamsIntroText(stem) + QStringLiteral("\n\nYes: ") +
                InvalidParamsCopyOptionText().remove(QLatin1Char('&')) + QStringLiteral("\nNo: ") +
                InvalidParamsDefaultsOptionText().remove(QLatin1Char('&')) +
                QStringLiteral("\nCancel: ") +
                InvalidParamsExitOptionText(label).remove(QLatin1Char('&')),
            MB_YESNOCANCEL | MB_ICONQUESTION, QString::fromLatin1(kInvalidParamsTitle));
        if (answer == IDYES) return InvalidParamsOption::CopyDefaultFile;
        if (answer == IDNO) return InvalidParamsOption::UseDefaultValues;
        return InvalidParamsOption::LeaveFile;
    }
};

InvalidParamsPromptFactory& PromptFactory() {
    static InvalidParamsPromptFactory factory;
    return factory;
}

std::unique_ptr<InvalidParamsPrompt> MakePrompt(QWidget* parent) {
    if (PromptFactory()) return PromptFactory()(parent);
    return std::make_unique<MessageBoxParamsPrompt>();
}

CEnzymeTable* DocumentEnzymes() {
    CZarDoc* doc = CZarDoc::GetDoc();
    return doc ? doc->GetEnzymeTable() : nullptr;
}

}  // namespace

void SetDatabaseToolsParamsPrompt(InvalidParamsPromptFactory factory) {
    PromptFactory() = std::move(factory);
}

void RegisterDatabaseTools() {
    RegisterFrameCommand(ID_TOOLS_FASTA_INDEX, [](CMainFrame& frame) {
        CFastaIndexDlg dialog(&frame);
        dialog.DoModal();
    });
    // The frame has checked that the document's enzyme table exists.
    RegisterFrameCommand(ID_TOOLS_DB_INDEXER, [](CMainFrame& frame) {
        CEnzymeTable* enzymes = DocumentEnzymes();
        if (!enzymes) return;
        const std::unique_ptr<InvalidParamsPrompt> prompt = MakePrompt(&frame);
        CFastaDbIndexerDlg dialog(&frame, prompt.get());
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
