#pragma once
// What the main frame's messages hand to the Info Bar. The bar implements it; while there is no
// bar, the frame drops these.

#include <QString>

class QLabel;

namespace zar {

class CInfoBarTarget {
public:
    virtual ~CInfoBarTarget() = default;
    virtual void ShowPage(int page) = 0;
    virtual void SetDtaCount(int count) = 0;
    virtual void ClearDtaListPage() = 0;
    virtual void SetDtaList(int row, const QString& name) = 0;
    virtual void SetDtaInfo(int row, double time) = 0;
    virtual void SetZarmassInfo(int first, double value) = 0;
    virtual void SetZarmassResults(int first, int second) = 0;
    virtual void ClearZarmassPage() = 0;
    // The text that shows the deconvolution's average molecular weight; null while it has no
    // window.
    virtual QLabel* ZarmassAverageMwText() { return nullptr; }
    // After a run was opened: the ZARMASS, Dta files and MSn pages start again.
    virtual void Reset() = 0;
    // The document holds a new list of MSn experiments.
    virtual void UpdateMSnListPage() = 0;
    // The chromatogram's time range changed (minutes).
    virtual void UpdateMSnTimeRange(double start, double end) = 0;
    // Hands the MSn page's chosen scans to the document again (after the de novo settings changed).
    virtual void ParseScanList() = 0;
};

}  // namespace zar
