#include "PepmatchData.h"

#include "RawFileMessages.h"

#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "document/ZarMessages.h"
#include "messages/Messages.h"
#include "rawfile/VRawfile.h"

#include <algorithm>

namespace zar {

namespace {

const char* const kNoSequenceText = "Please enter a sequence";

QString NumberText(double value) {
    return QCFormat("%.13g", value);
}

QString ResidueText(QChar residue) {
    return QStringLiteral(" ") + residue + QStringLiteral(" ");
}

}  // namespace

CPepmatchIonList::CPepmatchIonList(int residueCount)
    : ions_(static_cast<size_t>(std::max(residueCount, 0)) * kFragmentSeriesCount),
      residueCount_(std::max(residueCount, 0)) {}

IonSlotMask PepmatchOptions::slotMask() const {
    // Options order -> series slot.
    static constexpr int kSlotOf[kFragmentSeriesCount] = {
        kIonA,         kIonAStar,     kIonAo, kIonB, kIonBStar, kIonBo,    kIonC,  kIonD,
        kIonHInternal, kIonPInternal, kIonW,  kIonX, kIonY,     kIonYStar, kIonYo, kIonZStar};
    IonSlotMask mask{};
    for (int k = 0; k < kFragmentSeriesCount; ++k)
        mask[static_cast<size_t>(kSlotOf[k])] = series[static_cast<size_t>(k)] != 0;
    return mask;
}

CPepmatchData::CPepmatchData() = default;
CPepmatchData::~CPepmatchData() = default;

bool CPepmatchData::OpenRawFile(const QString& path, VRawfile* shared) {
    reader_ = nullptr;
    firstScan_ = lastScan_ = 0;
    if (shared && shared->isOpen() && shared->fileName() == path) {
        reader_ = shared;
    } else {
        if (!ownReader_) ownReader_ = std::make_unique<VRawfile>();
        if (!(ownReader_->isOpen() && ownReader_->fileName() == path) && !ownReader_->open(path)) {
            ZarMessageBox(QString::fromLatin1(kRawFileOpenFailedText));
            return false;
        }
        reader_ = ownReader_.get();
    }
    if (!reader_->setCurrentController(0, 1) || reader_->numSpectra() <= 0) {
        reader_ = nullptr;
        ZarMessageBox(QString::fromLatin1(kRawFileNoMSDataText));
        return false;
    }
    firstScan_ = reader_->firstScan();
    lastScan_ = reader_->lastScan();
    return true;
}

bool CPepmatchData::SetScanFromRetentionTime(double retentionTime) {
    int scan = 0;
    if (!reader_ || !reader_->retentionTimeToScan(retentionTime, scan)) return false;
    currentScan_ = scan;
    return true;
}

bool CPepmatchData::prepareGrid(const QString& sequence, const FragmentIonTable& table) {
    if (!grid_) return false;
    const int rows = grid_->rowCount();
    const int columns = grid_->columnCount();
    if (rows >= 1 && columns >= 1) grid_->clearCells(1, 1, rows, columns);
    const int n = std::min(table.residueCount, rows);
    for (int i = 1; i <= n; ++i) {
        if (columns >= kIonGridResidueColumn)
            grid_->setTextCell(i, kIonGridResidueColumn, ResidueText(sequence[i - 1]));
        if (columns >= kIonGridMHColumn)
            grid_->setNumberCell(i, kIonGridMHColumn,
                                 NumberText(table.mh[static_cast<size_t>(i - 1)]), false, 0);
    }
    return true;
}

bool CPepmatchData::CalculateSequenceIons(const QString& sequence, const PepmatchOptions& options,
                                          const ResidueMassShifts& shifts,
                                          const TerminalMassShifts& terminals) {
    if (sequence.isEmpty()) {
        ZarMessageBox(QString::fromLatin1(kNoSequenceText));
        return false;
    }
    const FragmentMassModel model(options.monoisotopic != 0, shifts, terminals);
    const FragmentIonTable table = ComputeFragmentIons(sequence, model, options.slotMask());
    if (!prepareGrid(sequence, table)) return true;
    const int rows = std::min(table.residueCount, grid_->rowCount());
    const int columns = grid_->columnCount();
    for (int i = 1; i <= rows; ++i) {
        for (int slot = 0; slot < kFragmentSeriesCount; ++slot) {
            const double mass = table.ion(i, slot);
            const int column = kIonGridFirstIonColumn + slot;
            if (mass != 0.0 && column <= columns)
                grid_->setNumberCell(i, column, NumberText(mass), false, 0);
        }
    }
    return true;
}

void CPepmatchData::fillIon(PepmatchIon& ion, double mass, int slot, int residue1,
                            int internalStart, int colorSet) {
    ion.mass = mass;
    ion.intensity = 0.0;
    ion.colorSet = colorSet;
    ion.present = 1;
    const int number = IonLabelNumber(slot, residue1, ionList_->residueCount(), internalStart);
    ion.label = QCFormat("%s%d", IonLabelPrefix(slot), number).left(kMaxIonLabelLength);
    ++ionList_->labelledIonCount_;
}

bool CPepmatchData::PerformPepmatch(const QString& sequence, const PepmatchOptions& options) {
    if (sequence.isEmpty()) {
        ZarMessageBox(QString::fromLatin1(kNoSequenceText));
        return false;
    }
    const FragmentMassModel model(options.monoisotopic != 0);
    const FragmentIonTable table = ComputeFragmentIons(sequence, model, options.slotMask());
    const int n = table.residueCount;
    prepareGrid(sequence, table);

    // Appending onto another peptide's ions would label the spectrum with a mixture: only the
    // same sequence appends, and the colour sets stop at the last slot.
    int colorSet = 0;
    if (options.append && ionList_ && ionList_->residueCount() == n &&
        ionList_->sequence() == sequence) {
        colorSet = std::min(colorSetCount_, kMaxColorSets - 1);
        colorSetCount_ = std::min(colorSetCount_ + 1, kMaxColorSets);
    } else {
        ionList_ = std::make_unique<CPepmatchIonList>(n);
        colorSetCount_ = 1;
    }
    labelColors_[static_cast<size_t>(colorSet)] = options.labelColor;

    for (int i = 1; i <= n; ++i) {
        for (int slot = 0; slot < kIonHInternal; ++slot) {
            const double mass = table.ion(i, slot);
            PepmatchIon& ion = ionList_->ion(i, slot);
            if (mass != 0.0 && ion.mass == 0.0) fillIon(ion, mass, slot, i, 0, colorSet);
        }
    }
    const int internalSlots[2] = {kIonHInternal, kIonPInternal};
    const int starts[2] = {table.hPosition, table.pPosition};
    for (int which = 0; which < 2; ++which) {
        if (starts[which] == 0) continue;
        const int slot = internalSlots[which];
        for (int i = starts[which]; i <= n; ++i) {
            const double mass = table.ion(i, slot);
            PepmatchIon& ion = ionList_->ion(i, slot);
            if (mass != 0.0 && ion.mass == 0.0)
                fillIon(ion, mass, slot, i, starts[which], colorSet);
        }
    }

    ionList_->relativeThreshold_ = options.threshold * 0.01;
    matchCurrentScan();

    if (grid_) {
        const int rows = std::min(n, grid_->rowCount());
        const int columns = grid_->columnCount();
        for (int i = 1; i <= rows; ++i) {
            for (int slot = 0; slot < kFragmentSeriesCount; ++slot) {
                const PepmatchIon& ion = ionList_->ion(i, slot);
                const int column = kIonGridFirstIonColumn + slot;
                if (!ion.present || column > columns) continue;
                grid_->setNumberCell(i, column, NumberText(ion.mass), ion.intensity > 0.0,
                                     labelColors_[static_cast<size_t>(ion.colorSet)]);
            }
        }
    }

    ionList_->sequence_ = sequence;
    if (notifyTarget_) PostMessage(notifyTarget_, kMsgPepmatchDone, 0, 0);
    return true;
}

void CPepmatchData::matchCurrentScan() {
    if (!reader_ || currentScan_ < firstScan_ || currentScan_ > lastScan_) return;
    std::vector<CVXDataPeak> peaks;
    RawScanHeader header;
    if (!reader_->spectrum(currentScan_, peaks, &header) || peaks.empty()) return;
    // The header's base peak sets the threshold; the peaks' own maximum stands in when the
    // header has none.
    double basePeak = header.basePeakIntensity;
    if (basePeak <= 0.0) {
        for (const CVXDataPeak& p : peaks) basePeak = std::max(basePeak, p.dIntensity);
    }
    const double threshold = basePeak * ionList_->relativeThreshold_;

    for (PepmatchIon& ion : ionList_->ions_) {
        if (!ion.present) continue;
        const double low = ion.mass - kPepmatchHalfWindow;
        const double high = ion.mass + kPepmatchHalfWindow;
        auto it =
            std::lower_bound(peaks.begin(), peaks.end(), low,
                             [](const CVXDataPeak& p, double mz) { return p.dPosition < mz; });
        const CVXDataPeak* kept = nullptr;
        for (; it != peaks.end() && it->dPosition <= high; ++it) {
            if (!kept || it->dIntensity > kept->dIntensity) kept = &*it;
        }
        if (kept && kept->dIntensity >= threshold) {
            ion.mass = kept->dPosition;
            ion.intensity = kept->dIntensity;
        }
    }
}

}  // namespace zar
