#include "ParamFileRestore.h"

#include "ParamFile.h"

#include "core/MessageBox.h"
#include "core/Paths.h"
#include "core/TextFile.h"

#include <QFile>

namespace zar {

QString InvalidParamsIntroText(const QString& stem) {
    return QStringLiteral(
               "A parameter file (\"%1.params\") is required but the current parameter file "
               "is\ninvalid.  Please choose one of the options below (the first 2 choices "
               "will\noverwrite the current parameter file) and then click OK:")
        .arg(stem);
}

QString InvalidParamsCopyOptionText() {
    return QStringLiteral("&Copy the default file located in Veltrix/systems/programs directory");
}

QString InvalidParamsDefaultsOptionText() {
    return QStringLiteral("&Use the default values provided with this program");
}

QString InvalidParamsExitOptionText(const QString& label) {
    return QStringLiteral(
               "&Exit %1 and manually edit the parameters file.\nNote : An editor will not be "
               "started automatically.")
        .arg(label);
}

namespace {

bool ConfirmOverwrite(const ParamFileInfo& info) {
    return ZarMessageBox(QString::fromLatin1(info.question), MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

RestoreResult CopyDefaultFile(CParamFile& store, const ParamFileInfo& info,
                              const QString& defaultCopy) {
    QFile source(defaultCopy);
    if (!source.open(QIODevice::ReadOnly)) {
        ZarMessageBox(QStringLiteral("%1 file \ndoes not exist. This should have been installed \n"
                                     "on your system when you installed ZarvikBrowser.\n"
                                     "Unable to complete request\n")
                          .arg(defaultCopy),
                      MB_OK);
        return RestoreResult::EndStep;
    }
    const QByteArray bytes = source.readAll();
    const bool readOk = source.error() == QFileDevice::NoError;
    source.close();
    if (!ConfirmOverwrite(info)) return RestoreResult::Unchanged;

    // Copied in-process through a temporary file: the old file stays when anything fails.
    const QString target = store.GetPath();
    bool copied = readOk && !target.isEmpty();
    if (copied) {
        AtomicTextWriter writer(target);
        copied = writer.open();
        if (copied) {
            writer.writeBytes(bytes);
            copied = writer.commit();
        }
    }
    if (!copied) {
        ZarMessageBox(QStringLiteral("Couldn't open the parameter file:\n%1\n\n"
                                     "Unable to complete request\n")
                          .arg(target),
                      MB_OK);
        return RestoreResult::EndStep;
    }
    store.Open();
    return RestoreResult::CopiedDefault;
}

RestoreResult UseDefaultValues(CParamFile& store, ParamFileType type, const ParamFileInfo& info) {
    if (!ConfirmOverwrite(info)) return RestoreResult::Unchanged;
    if (!store.GetPath().isEmpty()) QFile::remove(store.GetPath());
    store.Open();  // tells the user the defaults are used, as the file is gone
    store.LoadDefaults(type);
    return RestoreResult::DefaultsLoaded;
}

}  // namespace

RestoreResult RestoreParamFile(CParamFile& store, ParamFileType type,
                               const QString& programDirectory, InvalidParamsPrompt& prompt) {
    if (programDirectory.isEmpty()) return RestoreResult::Unchanged;
    const ParamFileInfo& info = InfoOf(type);
    const QString defaultCopy = JoinPath(programDirectory, QString::fromLatin1(info.fileName));

    switch (prompt.ChooseOption(QString::fromLatin1(info.stem), QString::fromLatin1(info.label))) {
        case InvalidParamsOption::CopyDefaultFile:
            return CopyDefaultFile(store, info, defaultCopy);
        case InvalidParamsOption::UseDefaultValues:
            return UseDefaultValues(store, type, info);
        case InvalidParamsOption::LeaveFile:
            break;
    }
    return RestoreResult::Unchanged;
}

}  // namespace zar
