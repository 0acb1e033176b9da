#pragma once
// The "Disulfide Bonds" dialog of the Sequence Editor: one row per residue of the sequence, and
// for each cysteine a drop-down of the other cysteines' positions to bond it to. OK hands the
// Pepmap engine one marker per residue, 1 for every cysteine named as a partner, once every
// pairing is mutual.

#include "controls/DialogBase.h"

#include <QString>

#include <vector>

namespace zar {

class CDisulfideGrid;

class CDisulfideBondsDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 9143;
    static constexpr int kGridId = 9153;
    static constexpr int kAllId = 9278;
    static constexpr int kNoneId = 9279;
    static constexpr int kDefaultRowCount = 25;
    static constexpr int kAminoAcidWidth = 70;
    static constexpr int kSelectMinWidth = 60;
    static constexpr const char* kNoBond = "No bond";

    explicit CDisulfideBondsDlg(QWidget* parent);
    // Modeless set-up.
    void Create(QWidget* parent);
    // Fills the grid: a row per residue; cysteine rows offer "No bond" and the other cysteines.
    void SetSequence(const QString& sequence);
    // Every cysteine row back to "No bond".
    void OnNone();
    void OnOK() override;

    CDisulfideGrid* Grid() const { return grid_; }
    int RowCount() const { return rowCount_; }
    QString SequenceShown() const { return sequence_; }
    // The markers of the grid's pairing, one per row; false when a partner does not name its
    // row in return (or a row names a position that is not another cysteine).
    bool BondMarkers(std::vector<int>* markers) const;

  protected:
    bool OnInitDialog() override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void stretchSelectColumn();
    void showContextMenu();

    CDisulfideGrid* grid_;
    QString sequence_;
    int rowCount_ = kDefaultRowCount;
    bool gridReady_ = false;
};

}  // namespace zar
