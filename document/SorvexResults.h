#pragma once
// The result set of one search-engine results folder: every ".out" file read into hit
// records, grouped into proteins with consensus scores, given protein masses from the searched
// database, sorted, and (when configured and an engine is installed) quantified by XPRESS.

#include "document/SearchResults.h"

#include <functional>

namespace zar {

// XPRESS settings the document hands over before a load (workers read no settings).
struct XpressOptions {
    bool autoCalculate = false;
    QString residue = QStringLiteral("C");
    double tolerance = 1.5;
};

// The quantitation engine as the result set uses it: given the raw file, the label residue and
// the mass tolerance, returns the function that sets one record's quantitation ratio, or an
// empty function when the raw file cannot be opened (the engine shows its own message).
using XpressQuantifier = std::function<void(SearchHitRecord&)>;
using XpressEngineHook = std::function<XpressQuantifier(const QString& rawFilePath,
                                                        const QString& residue, double tolerance)>;

// The mass difference the engine is built with; the configured difference is not passed.
constexpr double kXpressEngineMassDifference = 8.0;

class CSorvexResults : public CSearchResults {
  public:
    // The results folder starts as the configured one (SorvexResultsDirectory).
    explicit CSorvexResults(QObject* owner = nullptr);

    // The loader: reads every ".out" file of directory (empty keeps the current one). False
    // when there is nothing to read, on cancel, or when no file was found.
    bool ReadResults(const QString& directory = QString());

    // The XPRESS pass over every hit; false without an engine, when the raw file cannot be
    // opened, or on cancel.
    bool CalculateXpressRatios(bool showProgress);

    int ReadOutFile(const QString& fileName, int recordIndex, int& searchTime);
    // The same from the bytes of a file named fileName in the results folder.
    int ReadOutBytes(const QByteArray& bytes, const QString& fileName, int recordIndex,
                     int& searchTime);
    void ParseOutFileForDisplay(const QString& fileName);
    void ParseOutBytesForDisplay(const QByteArray& bytes) { ParseSearchOutBytesForDisplay(bytes); }

    void SetXpressOptions(const XpressOptions& options) { xpress_ = options; }
    const XpressOptions& GetXpressOptions() const { return xpress_; }
    // Installed by the owner of the XPRESS engine; without it there are no ratios.
    void SetXpressEngine(XpressEngineHook hook) { xpressEngine_ = std::move(hook); }
    bool HasXpressEngine() const { return static_cast<bool>(xpressEngine_); }

  protected:
    // What follows the reading of the files (hitCount_ of them): consensus scores, protein
    // masses, sorting and XPRESS. False on cancel.
    bool FinishResults();

  private:
    XpressOptions xpress_;
    XpressEngineHook xpressEngine_;
};

}  // namespace zar
