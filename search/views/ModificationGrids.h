#pragma once
// The two modification grids of a search sheet, over the sheet's modification tables: up to
// three differential modifications and the 28 static ones. The Sorvex Modification page and
// the Massmap Advanced page each hold one set. The grids are filled when the page is first
// shown; until then every value lives in the tables alone. A right click opens the preset
// menu, whose masses go into the current row.

#include "search/ModificationTables.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>

class QGroupBox;
class QMenu;
class QWidget;

namespace zar {

class CGXGridWnd;
class CModificationGrid;
class CTerminalModificationGrid;

class CModificationGrids : public QObject {
    Q_OBJECT
  public:
    static constexpr int kStaticGridId = 8767;
    static constexpr int kDifferentialGridId = 8768;
    static constexpr int kContextMenuId = 9262;
    static constexpr int kColumnMinimum = 50;
    static constexpr int kStaticNameWidth = 140;
    static constexpr int kResidueWidth = 50;

    // massType gives the basic page's mass type (0 average, 1 monoisotopic) for the presets.
    CModificationGrids(ModificationTables& tables, std::function<int()> massType, QWidget* page,
                       const QString& differentialTitle, const QString& staticTitle);
    ~CModificationGrids() override;

    QGroupBox* DifferentialBox() const { return differentialBox_; }
    QGroupBox* StaticBox() const { return staticBox_; }
    CModificationGrid* DifferentialGrid() const { return differential_; }
    CTerminalModificationGrid* StaticGrid() const { return static_; }

    // Lays the grids out and fills them from the tables (the page's first showing).
    void SetUp();
    bool IsSetUp() const { return setUp_; }

    void SetStaticModification(int index, double mass);
    void SetStaticModificationEntry(int index, const QString& name, double mass);
    // The static mass the sheet saves: the grid's cell once the grid is set up (unreadable
    // text is 0.0), the table's value before.
    double GetStaticModification(int index) const;
    QString GetStaticName(int index) const { return tables_.GetStaticName(index); }
    void SetDifferentialModification(int index, const QString& residues, double mass);
    void GetDifferentialModification(int index, QString& residues, double& mass) const {
        tables_.GetDifferentialModification(index, residues, mass);
    }
    // Grids -> tables (nothing before the grids are set up).
    void ReadGrids();
    // Tables -> grids.
    void RefreshGrids();
    // All masses 0.0 and no differential modification, in the tables and the grids.
    void ResetAll();
    // Enabled grids are white, disabled ones light grey.
    void EnableGrids(bool enable);
    bool AreGridsEnabled() const { return enabled_; }

    // The context menu: presets, then "Reset All", acting on the grid it was opened on.
    std::unique_ptr<QMenu> BuildContextMenu(QWidget* parent);
    void SetMenuGrid(CGXGridWnd* grid) { menuGrid_ = grid; }
    CGXGridWnd* MenuGrid() const { return menuGrid_; }
    void OnPreset(ModificationPreset preset);
    void OnResetAll();
    // Fits the mass columns to the grids' widths.
    void FitColumns();

  signals:
    // The user changed a value in a grid.
    void Changed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FillStatic();
    void FillDifferential();
    void ShowStaticRow(int index);
    void ShowDifferentialRow(int index);
    void ShowContextMenu(CGXGridWnd* grid, const QPoint& globalPos);

    ModificationTables& tables_;
    std::function<int()> massType_;
    QGroupBox* differentialBox_;
    QGroupBox* staticBox_;
    CModificationGrid* differential_;
    CTerminalModificationGrid* static_;
    CGXGridWnd* menuGrid_ = nullptr;
    bool setUp_ = false;
    bool enabled_ = true;
    int filling_ = 0;  // values being put in by the program, not typed
};

}  // namespace zar
