#pragma once
// "Pepmatch Options": the ion series, intensity threshold, mass type, labelling mode and label
// colour of a Pepmatch. Modeless; it belongs to one Pepmatch view, which makes it on its first
// Options click, shows it again on later ones, and reads the settings back when it calculates.
// OK and Apply run the view's calculation.

#include "IonSeriesBoxes.h"
#include "controls/DialogBase.h"
#include "spectrumviews/PepmatchData.h"

#include <memory>

class QButtonGroup;
class QMenu;
class QPushButton;

namespace zar {

class CColorLabel;
class CDoubleEditCtrl;
class CPepmatchView;

class CPepmatchOptionsDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8900;
    static constexpr int kThresholdId = 9001;
    static constexpr int kColorSwatchId = 9004;
    static constexpr int kColorId = 8959;
    static constexpr int kResetColorId = 8960;
    static constexpr int kApplyId = 12321;
    static constexpr int kContextMenuId = 9273;
    static constexpr ColorRef kDefaultLabelColor = 0x00FF0000;
    static constexpr double kDefaultThreshold = 2.0;

    // owner: the Pepmatch view (may be null); parent: the window the dialog belongs to.
    CPepmatchOptionsDlg(CPepmatchView* owner, QWidget* parent);
    ~CPepmatchOptionsDlg() override;

    // The modeless window, placed beside the right edge of parent.
    void Create(QWidget* parent);
    void SetOptions(const PepmatchOptions& options);
    // False (the options untouched, the failing field told) when a field holds no valid value.
    bool GetOptions(PepmatchOptions* options);

    void OnApply();
    void OnCancel();
    void OnColor();
    void OnResetColor();
    void OnSelectAll();
    void OnSelectDefault();
    void OnSelectNone();
    std::unique_ptr<QMenu> BuildContextMenu();

    // Members, as the controls last gave them.
    SeriesFlags series = DefaultSeriesFlags();
    double threshold = kDefaultThreshold;
    int massType = 0;      // 0 average, 1 monoisotopic
    int labellingMode = 0;  // 0 overwrite, 1 append
    ColorRef labelColor = kDefaultLabelColor;

    CDoubleEditCtrl* ThresholdEdit() const { return thresholdEdit_; }
    CColorLabel* ColorSwatch() const { return swatch_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;
    void reject() override { OnCancel(); }
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void enableOwnerOptions(bool enable);
    void place();

    CPepmatchView* owner_;
    CDoubleEditCtrl* thresholdEdit_;
    CColorLabel* swatch_;
    IonSeriesBoxes boxes_;
    QButtonGroup* massTypeGroup_;
    QButtonGroup* labellingGroup_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace zar
