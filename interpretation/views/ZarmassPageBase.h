#pragma once
// What the Calculation and Deconvolution pages of the deconvolution sheet share: the m/z limits
// of the original spectrum (typed, or tracked from the spectrum shown), the adduct, the peak
// width, the label mode and colour, the grid of masses with its Clear All / Delete / Refresh
// menu, reading the current scan, and reporting the identified ions to the main window.

#include "controls/DialogBase.h"
#include "interpretation/ZarmassTypes.h"
#include "messages/Messages.h"

#include <QString>

#include <cstdint>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLayout;
class QPushButton;

namespace zar {

class CColorLabel;
class CDoubleEditCtrl;
class CDoubleRangeEditCtrl;
class CZarmassCalcGrid;
class CZarmassDeconvolution;
class CZarmassPropertySheet;
struct ZarmassSpectrum;

// Control ids of the pages.
enum ZarmassPageControl : int {
    IDC_ZARMASS_ORIGINAL = 8948,
    IDC_ZARMASS_ADDUCT = 8949,
    IDC_ZARMASS_TRACK = 8950,
    IDC_ZARMASS_GRID = 8953,
    IDC_ZARMASS_WIDTH = 8954,
    IDC_ZARMASS_OVERWRITE = 8955,
    IDC_ZARMASS_APPEND = 8956,
    IDC_ZARMASS_CALC_COLOUR = 8957,
    IDC_ZARMASS_DECONV_COLOUR = 8958,
    IDC_ZARMASS_COLOR = 8959,
    IDC_ZARMASS_RESET_COLOR = 8960,
    IDC_ZARMASS_AUTOMATIC = 8961,
    IDC_ZARMASS_MANUAL = 8962,
    IDC_ZARMASS_CONVOLUTE = 8963,
    IDC_ZARMASS_STEP_01 = 8965,
    IDC_ZARMASS_STEP_1 = 8966,
    IDC_ZARMASS_STEP_10 = 8967,
    IDC_ZARMASS_STEP_025 = 8968,
    IDC_ZARMASS_DECONVOLUTE = 8969,
    IDC_ZARMASS_AVERAGE = 8970,
    IDC_ZARMASS_DECONVOLUTED = 8971,
    ID_ZARMASS_CLEAR_ALL = 9246,
    ID_ZARMASS_DELETE = 9247,
    ID_ZARMASS_REFRESH = 9248,
};

// The adduct combo's entries, in order.
QStringList ZarmassAdductEntries();
// The adduct of an entry's text: read from its first digit on, a '-' just before it included.
// False when the text holds no number.
bool ParseAdductText(const QString& text, double& adduct);
// The text of the average molecular weight: its value and spread when the fit gave one, else
// none ("Avg MW:").
QString AverageMwText(const CZarmassDeconvolution& engine);
// m/z x 100, rounded, as the main window's ion rows carry it.
std::uintptr_t IonRowMz(double mz);

// The wait cursor while a page's button works.
class ZarmassWaitCursor {
  public:
    ZarmassWaitCursor();
    ~ZarmassWaitCursor();
    ZarmassWaitCursor(const ZarmassWaitCursor&) = delete;
    ZarmassWaitCursor& operator=(const ZarmassWaitCursor&) = delete;
};

class CZarmassPageBase : public CPropertyPageBase {
    Q_OBJECT
  public:
    static constexpr int kGridRows = 20;
    static constexpr double kDefaultWidthMmu = 2500.0;
    static constexpr std::uint32_t kDefaultColour = 0xFF0000;
    static constexpr double kEditLower = 0.0;
    static constexpr double kEditUpper = 200000.0;

    CZarmassPageBase(int templateId, const QString& title, CZarmassPropertySheet* sheet,
                     int colourSampleId);

    bool OnInitDialog() override;

    // A mass picked in a spectrum goes into the next row (the last row once all are used).
    virtual void SetSelectedMass(double mass);
    void SetCappedValue(int n);
    virtual void EnableCalculation(int n) = 0;
    // Only while Track is checked: the shown range becomes the original spectrum's m/z limits.
    void SetTrackedMassRange(double low, double high);
    // (low1, high1) the limits shown, (low2, high2) the stored ones used when none are typed.
    void SetSpectrumRanges(double low1, double high1, double low2, double high2);
    // Empties the grid.
    void ClearMassGrid();
    // Filled cells of the grid's mass column.
    int CountValues() const;
    // The grid's masses in row order.
    std::vector<double> GridMasses() const;

    CZarmassCalcGrid* Grid() const { return grid_; }
    CDoubleRangeEditCtrl* OriginalEdit() const { return original_; }
    QCheckBox* TrackBox() const { return track_; }
    QComboBox* AdductCombo() const { return adduct_; }
    CDoubleEditCtrl* WidthEdit() const { return width_; }
    CColorLabel* ColourSample() const { return colourSample_; }
    std::uint32_t Colour() const { return colour_; }
    void SetColour(std::uint32_t colour);
    int NextRow() const { return nextRow_; }
    int ValueCount() const { return valueCount_; }
    // The stored input m/z range.
    double InputLow() const { return inputLow_; }
    double InputHigh() const { return inputHigh_; }

    // The grid's context menu commands.
    void OnClearAll();
    void OnDelete();
    void OnRefresh();
    void OnResetColor();

  protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool event(QEvent* e) override;

    // A range field of the page: its range, or the stored one while the field is empty; any
    // other text fails the pass.
    static void ExchangeRange(CDataExchange& dx, CDoubleRangeEditCtrl* edit, double storedLow,
                              double storedHigh, double& low, double& high);
    // The adduct of the chosen entry; message 8430, entry 0 and 1.0 when it cannot be read.
    double ReadAdduct();
    // The grid's masses sorted ascending, at most kZarmassMaxParamValues.
    void ReadMasses(ZarmassParams& params) const;
    // What the calculations of both pages take from the fields: the m/z limits, the adduct,
    // the masses, the width (u) and the label mode (and what a page adds in its data exchange).
    // False, with the failing field told and focused, when a field holds no valid value:
    // nothing may then run on the values of before.
    bool ReadParams(ZarmassParams& params);
    bool AppendChosen() const;
    // The spectrum of the document's current scan (or of its selected range when allowed),
    // smoothed when the document says so. False after "Failed to read spectrum from raw file."
    bool ReadCurrentSpectrum(bool allowRange, ZarmassSpectrum& spectrum,
                             std::vector<PeakRecord>& peaks);
    // 0x40B9 and 0x40BA for each identified ion, rows numbered from 1.
    void ReportLabels(const CZarmassDeconvolution& engine);
    void PostToOwner(unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);
    // A labelled field of the page's form, with an optional control beside it.
    void AddFormRow(QGridLayout* layout, int row, const QString& label, QWidget* field,
                    QWidget* extra = nullptr);
    // Overwrite / Append, the colour sample and the colour buttons in one row.
    QLayout* MakeLabelRow();
    QPushButton* MakeButton(int id, const QString& text);
    CZarmassPropertySheet* Sheet() const { return sheet_; }

  private:
    void OnColor();
    void OnContextMenu(const QPoint& global);
    void recount();

    CZarmassPropertySheet* sheet_;
    CDoubleRangeEditCtrl* original_;
    QCheckBox* track_;
    QComboBox* adduct_;
    CDoubleEditCtrl* width_;
    QButtonGroup* labelMode_;
    CColorLabel* colourSample_;
    QPushButton* colorButton_;
    QPushButton* resetColorButton_;
    CZarmassCalcGrid* grid_;
    MessageMap messages_;
    std::uint32_t colour_ = kDefaultColour;
    double inputLow_ = 700.0;
    double inputHigh_ = 3500.0;
    double mzLow_ = 700.0;  // the m/z limits as the page last read them
    double mzHigh_ = 3500.0;
    double secondLow_ = 700.0;
    double secondHigh_ = 3500.0;
    double widthMmu_ = kDefaultWidthMmu;
    int mode_ = 0;  // 0 Overwrite, 1 Append
    int trackOn_ = 1;
    int nextRow_ = 1;
    int valueCount_ = 0;
    bool gridReady_ = false;
};

}  // namespace zar
