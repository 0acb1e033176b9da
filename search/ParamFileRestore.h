#pragma once
// Restoring a parameter file that a search sheet found unusable: the user chooses between
// copying the installed default file, using the built-in default values, or leaving the file
// to be edited by hand. The choice is asked through a prompt so that the procedure runs
// without windows; the Invalid Parameters dialog implements the prompt.

#include "DefaultParamTexts.h"

#include <QString>

namespace zar {

class CParamFile;

enum class InvalidParamsOption {
    CopyDefaultFile = 0,   // "&Copy the default file ..."
    UseDefaultValues = 1,  // "&Use the default values provided with this program"
    LeaveFile = 2,         // "&Exit ... and manually edit the parameters file."
};

class InvalidParamsPrompt {
  public:
    virtual ~InvalidParamsPrompt() = default;
    // Shows the choice for the file named by stem ("sorvex") and label ("Sorvex search") and
    // returns the option taken. A prompt closed without OK returns LeaveFile.
    virtual InvalidParamsOption ChooseOption(const QString& stem, const QString& label) = 0;
};

// Texts of the Invalid Parameters dialog.
inline constexpr int kInvalidParamsDialogId = 8785;
inline constexpr const char* kInvalidParamsTitle = "Invalid Parameters file";
QString InvalidParamsIntroText(const QString& stem);
QString InvalidParamsCopyOptionText();
QString InvalidParamsDefaultsOptionText();
QString InvalidParamsExitOptionText(const QString& label);

enum class RestoreResult {
    Unchanged,       // nothing found, left by the user, or the question was cancelled
    CopiedDefault,   // the default file was copied over the parameter file and read again
    DefaultsLoaded,  // the parameter file was removed and the store holds the default values
    EndStep,         // the request could not be completed: the launcher ends its step
};

// Runs the procedure for the store's file. programDirectory holds the installed default files;
// when it is empty nothing happens. Messages go through ZarMessageBox.
RestoreResult RestoreParamFile(CParamFile& store, ParamFileType type,
                               const QString& programDirectory, InvalidParamsPrompt& prompt);

}  // namespace zar
