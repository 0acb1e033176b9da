#pragma once
// The "Deconvolution" page of the deconvolution sheet: the parent-ion transform of the current
// scan (or of the averaged scan range) over a mass range and step, run on a worker with its
// progress and a Cancel; then component masses picked in the deconvoluted spectrum: Average
// fits the charge series of the first listed mass, Convolute marks its ions, and the Select
// Peak(s) dialog runs the transform again without the listed masses' ions.

#include "SelectPeaksDlg.h"
#include "ZarmassPageBase.h"

#include "interpretation/ZarmassTransformWorker.h"

#include <QPointer>

#include <memory>

class QButtonGroup;
class QProgressBar;
class QPushButton;

namespace zar {

class CZarmassTransform;

class CZarmassDeconvolutionPage : public CZarmassPageBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8964;

    explicit CZarmassDeconvolutionPage(CZarmassPropertySheet* sheet);
    // Stops a running transform and waits for it.
    ~CZarmassDeconvolutionPage() override;

    bool OnInitDialog() override;
    void SetSelectedMass(double mass) override;
    // The Select Peak(s) dialog's OK follows the list: enabled when it holds a mass.
    void EnableCalculation(int n) override;
    // The engine's record from the page: limits, adduct, step, width, mode and the masses.
    // False (the failing field told) when a field holds no valid value.
    bool FillParams(ZarmassParams& params);

    void OnDeconvolute();
    void OnAverage();
    void OnConvolute();
    // The Select Peak(s) OK: the transform again, leaving out the listed masses' ions.
    void StartSelectedTransform();
    // Stops the running transform; the previous result stays.
    void OnCancelTransform();
    // Another run replaced the one the transform works on: it is stopped and its result, even
    // one already on its way, is dropped; the Select Peak(s) dialog closes and Average and
    // Convolute wait for a transform of the new run.
    void DropRunningTransform();
    // Deconvolute, Average and Convolute together.
    void EnableButtons(bool enable);

    bool IsTransformRunning() const { return worker_.IsRunning() || running_; }
    CSelectPeaksDlg* SelectPeaksDialog() const { return selectPeaks_; }
    CDoubleRangeEditCtrl* DeconvolutedEdit() const { return deconvoluted_; }
    QButtonGroup* StepGroup() const { return step_; }
    QPushButton* DeconvoluteButton() const { return deconvolute_; }
    QPushButton* AverageButton() const { return average_; }
    QPushButton* ConvoluteButton() const { return convolute_; }
    QPushButton* CancelButton() const { return cancel_; }
    QProgressBar* ProgressBar() const { return progress_; }

  protected:
    void DoDataExchange(CDataExchange& dx) override;

  private:
    void startJob(const ZarmassTransformJob& job);
    void onProgress(const Message& m);
    void onTransformDone(const Message& m);
    void onSelectedDone(const Message& m);
    void endRun();
    void showSelectPeaks();

    CDoubleRangeEditCtrl* deconvoluted_;
    QButtonGroup* step_;
    QPushButton* deconvolute_;
    QPushButton* average_;
    QPushButton* convolute_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QPointer<CSelectPeaksDlg> selectPeaks_;
    MessageReceiver* receiver_;
    // The preparation of a transform until its result is taken (a cancel drops it).
    std::unique_ptr<CZarmassTransform> staged_;
    CZarmassTransformWorker worker_;
    double massLow_ = 5000.0;
    double massHigh_ = 20000.0;
    double deconvLow_ = 5000.0;  // the mass range as the page last read it
    double deconvHigh_ = 20000.0;
    int stepIndex_ = 2;
    bool running_ = false;
    // The result of the running transform is not to be taken.
    bool dropResult_ = false;
    // Average and Convolute before a run, given back when it is cancelled.
    bool calculationsBefore_ = true;
};

}  // namespace zar
