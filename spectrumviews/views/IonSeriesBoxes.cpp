#include "IonSeriesBoxes.h"

#include "controls/DialogBase.h"
#include "spectrumviews/PepmatchData.h"

#include <QCheckBox>
#include <QGridLayout>

namespace zar {

namespace {

struct SeriesBox {
    int id;
    const char* text;
    const char* tip;
};

// Options order: A, A*, Ao, B, B*, Bo, C, D', H internal, P internal, W', X, Y, Y*, Yo, Z*.
constexpr SeriesBox kBoxes[kFragmentSeriesCount] = {
    {9013, "A", "Calculate the A fragment ions (loss of CO)"},
    {9014, "A*", "Calculate the A* fragment ions (A - NH3)"},
    {9015, "Ao", "Calculate the Ao fragment ions (A - H2O)"},
    {9017, "B", "Calculate the B fragment ions"},
    {9018, "B*", "Calculate the B* fragment ions (B - NH3)"},
    {9019, "Bo", "Calculate the Bo fragment ions (B - H20)"},
    {9016, "C", "Calculate the C fragment ions (loss of NH3)"},
    {9028, "D'", "Calculate the D' fragment ions (loss of NH3)"},
    {9026, "H Internal", "Calculate the H internal fragment ions"},
    {9025, "P Internal", "Calculate the P internal fragment ions"},
    {9027, "W'", "Calculate the W' fragment ions (loss of CO)"},
    {9020, "X", "Calculate the X fragment ions (loss of CO)"},
    {9021, "Y", "Calculate the Y fragment ions"},
    {9022, "Y*", "Calculate the Y* fragment ions (Y - NH3)"},
    {9023, "Yo", "Calculate the Yo fragment ions (Y - H2O)"},
    {9024, "Z*", "Calculate the Z* fragment ions (H - N)"},
};

// Where each box stands: N-terminal series on the first rows, C-terminal on the next, the
// internal series last.
constexpr int kLayoutOrder[kFragmentSeriesCount] = {
    PepmatchOptions::kA,         PepmatchOptions::kAStar, PepmatchOptions::kAo,
    PepmatchOptions::kC,         PepmatchOptions::kB,     PepmatchOptions::kBStar,
    PepmatchOptions::kBo,        PepmatchOptions::kD,     PepmatchOptions::kX,
    PepmatchOptions::kY,         PepmatchOptions::kYStar, PepmatchOptions::kYo,
    PepmatchOptions::kZStar,     PepmatchOptions::kW,     PepmatchOptions::kHInternal,
    PepmatchOptions::kPInternal,
};

}  // namespace

SeriesFlags DefaultSeriesFlags() {
    SeriesFlags flags{};
    for (int k : {PepmatchOptions::kB, PepmatchOptions::kBStar, PepmatchOptions::kBo,
                  PepmatchOptions::kY, PepmatchOptions::kYStar, PepmatchOptions::kYo})
        flags[static_cast<std::size_t>(k)] = 1;
    return flags;
}

SeriesFlags AllSeriesFlags() {
    SeriesFlags flags;
    flags.fill(1);
    return flags;
}

int SeriesBoxId(int flag) {
    return flag >= 0 && flag < kFragmentSeriesCount ? kBoxes[flag].id : 0;
}

void IonSeriesBoxes::Create(QWidget* parent, CControlTable& table, QGridLayout* layout,
                            const std::function<void()>& onClick) {
    for (int k = 0; k < kFragmentSeriesCount; ++k) {
        auto* box = new QCheckBox(QString::fromLatin1(kBoxes[k].text), parent);
        box->setObjectName(QStringLiteral("Series%1").arg(kBoxes[k].id));
        boxes[static_cast<std::size_t>(k)] = box;
        table.AddControl(kBoxes[k].id, box);
        table.SetToolTipText(kBoxes[k].id, QString::fromLatin1(kBoxes[k].tip));
        if (onClick) QObject::connect(box, &QCheckBox::clicked, parent, [onClick] { onClick(); });
    }
    if (!layout) return;
    for (int i = 0; i < kFragmentSeriesCount; ++i)
        layout->addWidget(boxes[static_cast<std::size_t>(kLayoutOrder[i])], i / 4, i % 4);
}

void IonSeriesBoxes::Load(const SeriesFlags& flags) const {
    for (int k = 0; k < kFragmentSeriesCount; ++k)
        if (QCheckBox* b = boxes[static_cast<std::size_t>(k)])
            b->setChecked(flags[static_cast<std::size_t>(k)] != 0);
}

void IonSeriesBoxes::Save(SeriesFlags& flags) const {
    for (int k = 0; k < kFragmentSeriesCount; ++k)
        if (QCheckBox* b = boxes[static_cast<std::size_t>(k)])
            flags[static_cast<std::size_t>(k)] = b->isChecked() ? 1 : 0;
}

}  // namespace zar
