#pragma once
// "Display Settings": how every plot frames its axes, edited on a copy of the document's plot
// configuration in three pages (Axes Scaling, Axes Labels, Axes Positions).

#include "controls/DialogBase.h"
#include "fileio/VXConfiguration.h"

#include <memory>

class QPushButton;

namespace zar {

class CAxesPositionPage;
class CLabelsPage;
class CScalingPage;
class CZarDoc;

class CDisplaySettingsPropertySheet : public CPropertySheetBase {
    Q_OBJECT
  public:
    static constexpr int kCaptionId = 8411;
    static constexpr int kHelpId = 8548;
    static constexpr int kMinimumWidth = 420;

    explicit CDisplaySettingsPropertySheet(QWidget* parent, int firstPage = 0);
    ~CDisplaySettingsPropertySheet() override;

    // The copy the pages edit: the caller fills it before DoModal and reads it after OK.
    CVXConfiguration& Configuration() { return *configuration_; }
    CScalingPage* ScalingPage() const { return scaling_; }
    CLabelsPage* LabelsPage() const { return labels_; }
    CAxesPositionPage* PositionPage() const { return positions_; }
    QPushButton* HelpButton() const { return help_; }

  protected:
    bool OnInitDialog() override;

  private:
    std::unique_ptr<CVXConfiguration> configuration_;
    CScalingPage* scaling_;
    CLabelsPage* labels_;
    CAxesPositionPage* positions_;
    QPushButton* help_ = nullptr;
};

// Options > Display: the sheet on a copy of the document's configuration. On OK with a change,
// the document takes the copy, applies it to every plot's display and the views redraw
// (hint 7). True when something changed.
bool RunDisplaySettings(QWidget* parent, CZarDoc& doc);
// The same after the sheet was run (accepted): takes its configuration when it differs.
bool TakeDisplaySettings(CDisplaySettingsPropertySheet& sheet, CZarDoc& doc);

}  // namespace zar
