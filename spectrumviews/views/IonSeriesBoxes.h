#pragma once
// The sixteen ion-series check boxes of the Pepmatch Options dialog and the Select Ions page,
// in the order of the options record's series flags, with their control ids, texts and tool
// tips, and the All / None / Default selections.

#include "spectrumviews/FragmentIons.h"

#include <array>
#include <functional>

class QCheckBox;
class QGridLayout;
class QWidget;

namespace zar {

class CControlTable;

using SeriesFlags = std::array<int, kFragmentSeriesCount>;

// B, B*, Bo, Y, Y*, Yo.
SeriesFlags DefaultSeriesFlags();
SeriesFlags AllSeriesFlags();

struct IonSeriesBoxes {
    std::array<QCheckBox*, kFragmentSeriesCount> boxes{};

    // Makes the boxes as children of parent, registers them by id with their tool tips, and
    // lays them out four to a row. onClick runs after every click.
    void Create(QWidget* parent, CControlTable& table, QGridLayout* layout,
                const std::function<void()>& onClick);
    void Load(const SeriesFlags& flags) const;
    void Save(SeriesFlags& flags) const;
};

// The control id of a series flag (options order).
int SeriesBoxId(int flag);

}  // namespace zar
