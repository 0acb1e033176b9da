// Texts the program reads: parameter files, enzyme rules (with a digest by the rule), scan
// filters, the line reader and the settings store.

#include "FuzzSupport.h"

#include "core/TextFile.h"
#include "databases/PepmapDigest.h"
#include "databases/PepmapRules.h"
#include "document/EnzymeTable.h"
#include "fileio/VXFilter.h"
#include "registry/RegKey.h"
#include "search/ParamFile.h"
#include "search/SearchParamsModel.h"

#include <QDir>

#include <functional>

namespace zarfuzz {
namespace {

// Residues digested, at most. A rule that cleaves everywhere turns a sequence into as many
// peptides as residues, each written out, so longer sequences only slow the fuzzer down
// without reaching code the first hundred residues do not.
constexpr qsizetype kMaxDigestResidues = 100;

class QuietProgress : public zar::PepmapProgress {
  public:
    void showMessage(const QString&) override {}
};

}  // namespace

namespace {

// A parameter file read into the model as a sheet reads it: the file's section picks the sheet,
// as the program reads each kind of search's file in its own sheet.
void UseParamFile(const QByteArray& bytes, const std::function<bool(zar::CParamFile&)>& load) {
    const auto kind =
        bytes.contains("[MASSMAP]") ? zar::SearchKind::Massmap : zar::SearchKind::Sorvex;
    zar::SearchParamsModel model(kind, zar::SearchSettings{});
    if (!load(model.Store())) return;
    model.LoadPages();
    model.BuildExtractionOptions();
    model.OptionSummaryText();
    model.IsAtDefaults();
    model.WriteEntries();
    model.Store().Text();
}

}  // namespace

int FuzzParamFile(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QByteArray bytes = InputBytes(data, size);
    UseParamFile(bytes, [&bytes](zar::CParamFile& store) {
        store.LoadBytes(bytes);
        return true;
    });
    return 0;
}

int FuzzParamFileOnDisk(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QByteArray bytes = InputBytes(data, size);
    const QString path = WriteInput(QStringLiteral("input.params"), bytes);
    UseParamFile(bytes, [&path](zar::CParamFile& store) { return store.Open(path); });
    return 0;
}

int FuzzEnzymeText(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    // The first line is the rule, the rest a sequence to digest by it.
    const QString text = QString::fromUtf8(InputBytes(data, size));
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
    zar::EnzymeRecord record;
    zar::ParseEnzymeRecord(lineEnd < 0 ? text : text.left(lineEnd), record);
    zar::PepmapDigestInput input;
    input.rule = zar::MakePepmapRule(record.sense, record.cleavage, record.blocking);
    input.sequence = lineEnd < 0 ? QStringLiteral("MKWVTFISLLLLFSSAYSRGVFRRDTHKSEIAHRFK")
                                 : text.mid(lineEnd + 1, kMaxDigestResidues);
    zar::FindCleavageSites(input.rule, input.sequence);
    input.options.completeDigest = 1;
    input.options.incompleteDigest = 1;
    input.options.undigestedSitesMax = 2;
    zar::PepmapPeptideList rows;
    const zar::PepmapCancelFlag cancel{false};
    QuietProgress progress;
    zar::DigestSequence(input, &rows, cancel, progress);
    return 0;
}

int FuzzScanFilter(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QString text = QString::fromUtf8(InputBytes(data, size));
    zar::CVXFilter filter;
    if (filter.FilterString(text)) {
        const QString written = filter.FilterString(2, -1, 2);
        zar::CVXFilter again;
        again.FilterString(written);
        filter.Matches(again);
        filter.IsAcceptAll();
    }
    zar::CVX_FilterStruct checked(9, 2, 2);
    if (checked.FilterInRng(text)) {
        double low = 0.0;
        double high = 0.0;
        for (int i = 0; i < checked.GetMassRangeCount(); ++i) checked.GetMassRangeN(i, low, high);
        checked.text();
    }
    return 0;
}

int FuzzLineReader(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QByteArray bytes = InputBytes(data, size);
    for (const qsizetype maxLength : {0, 1, 7, 80}) {
        zar::TextLineReader reader = zar::TextLineReader::fromBytes(bytes, maxLength);
        QString line;
        while (reader.readLine(line)) reader.lastLineWasCut();
    }
    zar::TextLineReader fromFile(WriteInput(QStringLiteral("lines.txt"), bytes), 16);
    fromFile.readAll();
    return 0;
}

namespace {

// Every value of every key, as each type.
void WalkSettings() {
    const std::function<void(const zar::RegKey&, int)> walk = [&walk](const zar::RegKey& key,
                                                                      int depth) {
        for (const QString& name : key.valueNames()) {
            QString text;
            int number = 0;
            double real = 0.0;
            QStringList list;
            QByteArray bytes;
            key.readString(name, text);
            key.readInt(name, number);
            key.readDouble(name, real);
            key.readStringList(name, list);
            key.readBinary(name, bytes);
        }
        if (depth >= 8) return;
        for (const QString& name : key.subKeyNames()) walk(key.subKey(name, false), depth + 1);
    };
    walk(zar::RegKey(zar::RegRoot::CurrentUser, QString(), false), 0);
}

}  // namespace

int FuzzSettings(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    // A folder without a settings file: the bytes stand for it.
    static const QString folder = EmptyFolder(QStringLiteral("settings-in-memory"));
    qputenv("ZAR_CONFIG_DIR", folder.toLocal8Bit());
    zar::LoadRegistryBytes(zar::RegRoot::CurrentUser, InputBytes(data, size));
    WalkSettings();
    zar::ResetRegistryCache();
    return 0;
}

int FuzzSettingsOnDisk(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    // A fresh store each time: a damaged file is kept aside beside it.
    static const QByteArray folder = EmptyFolder(QStringLiteral("settings")).toLocal8Bit();
    EmptyFolder(QStringLiteral("settings"));
    qputenv("ZAR_CONFIG_DIR", folder);
    WriteInput(QStringLiteral("settings/HKEY_CURRENT_USER.json"), data, size);
    zar::ResetRegistryCache();
    WalkSettings();
    // A value written beside what was read (one write: each is a locked, synced file).
    zar::RegKey written(zar::RegRoot::CurrentUser, QString(), false);
    written.writeInt(QStringLiteral("Runs"), 1);
    zar::ResetRegistryCache();
    return 0;
}

}  // namespace zarfuzz
