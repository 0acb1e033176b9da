#pragma once
// The modeless "ZARMASS" sheet in which the user drives the charge-state deconvolution of the
// open run: "Calculation" (a molecular weight from typed or clicked m/z values),
// "Deconvolution" (the parent-ion transform of the current scan or of an averaged range, and
// component masses picked in it) and "Smoothing and Averaging" (what the two action pages apply
// first). The main window keeps one sheet from its first opening until Close; the spectrum
// panes reach the active page through it.

#include "app/ZarmassSheetTarget.h"
#include "controls/DialogBase.h"
#include "grids/ZarmassCalcGrid.h"

#include <QPointer>
#include <QString>

class QLabel;

namespace zar {

class CZarmassCalcPage;
class CZarmassDeconvolutionPage;
class CZarmassSmoothPage;

class CZarmassPropertySheet : public CPropertySheetBase,
                              public CZarmassCalcGridOwner,
                              public CZarmassSheetTarget {
    Q_OBJECT
  public:
    static constexpr int kCaptionId = 8418;
    static constexpr int kHelpId = 8947;
    static constexpr int kHelpCommand = 8548;
    enum Page { kCalculationPage = 0, kDeconvolutionPage = 1, kSmoothingPage = 2 };

    // parent: the main window, which receives the pages' messages.
    CZarmassPropertySheet(int captionId, QWidget* parent, int firstPage = 0);
    ~CZarmassPropertySheet() override;

    // Sets the sheet up as a modeless window with the Calculation page active (not shown yet).
    bool Create();
    // The run the sheet works on; with readInfo its mass range goes to both action pages and
    // its scans to the Smoothing page.
    void SetSpectrum(const QString& fileName, bool readInfo);
    // The window that shows the molecular weight (the main window decides which).
    void SetOwnerView(QLabel* mwText);
    // Empties the mass grids of the Calculation and Deconvolution pages.
    void ClearMassGrids();
    // The molecular-weight text the pages set.
    void SetMwText(const QString& text);
    QString MwText() const { return mwText_; }
    // Where the pages post their messages: the main window.
    QObject* OwnerWindow() const { return owner_; }

    // CZarmassSheetTarget
    bool IsCalculationPageActive() const override;
    bool IsDeconvolutionPageActive() const override;
    // To the Calculation page while it is active, else to the Deconvolution page.
    void SetSelectedMass(double mass) override;
    void SetTrackedMassRange(double low, double high) override;
    bool DestroySheetWindow() override;
    void DropRunningWork() override;

    // CZarmassCalcGridOwner: the grids report changes of their values.
    void EnableCalculation() override;
    void SetCappedValue(int n) override;

    // A time range zoomed in a trace: while the Smoothing page is active, its scans become the
    // averaging range (when Track is checked).
    void SetSmoothingScanRange(double startTime, double endTime);
    // The Smoothing page stores its averaging range and smoothing in the document; false when
    // one of its fields holds no valid value (the page is shown and the field told).
    bool ApplySmoothingSettings();
    // Select Peak(s): the Deconvolution page's buttons and its re-transform.
    void EnableDeconvolutionButtons();
    void RunSelectedTransform();

    CZarmassCalcPage* CalcPage() const { return calcPage_; }
    CZarmassDeconvolutionPage* DeconvolutionPage() const { return deconvPage_; }
    CZarmassSmoothPage* SmoothPage() const { return smoothPage_; }
    QString RawFileName() const { return rawFileName_; }
    double MassLow() const { return massLow_; }
    double MassHigh() const { return massHigh_; }

  public slots:
    // Close: the main window releases the sheet, which goes.
    void reject() override;

  protected:
    bool OnInitDialog() override;
    void showEvent(QShowEvent* event) override;

  private:
    bool loadRawFileInfo();
    // Beside the top-right corner of the owner window, inside the desktop.
    void place();

    QObject* owner_;
    CZarmassCalcPage* calcPage_;
    CZarmassDeconvolutionPage* deconvPage_;
    CZarmassSmoothPage* smoothPage_;
    QPointer<QLabel> mwTextWindow_;
    QString mwText_;
    QString rawFileName_;
    double massLow_ = 0.0;
    double massHigh_ = 0.0;
    bool firstShow_ = true;
};

}  // namespace zar
