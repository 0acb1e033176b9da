#include "DtaCreateOptions.h"

#include "core/Numbers.h"

namespace zar {

QStringList DtaCreateOptions::Arguments() const {
    QStringList a;
    if (firstScan > 0) a << QCFormat("-F%d", firstScan);
    if (lastScan > 0) a << QCFormat("-L%d", lastScan);
    if (threshold >= 0.0) a << QCFormat("-E%.0lf", threshold);
    if (chargeState > 0) a << QCFormat("-C%d", chargeState);
    if (precursorTolerance >= 0.0) a << QCFormat("-M%2.2f", precursorTolerance);
    if (groupScan >= 0) a << QCFormat("-S%d", groupScan);
    if (minIonCount >= 0) a << QCFormat("-I%d", minIonCount);
    if (firstScan == lastScan)
        a << QCFormat("-G%d", 1);
    else if (minGroupCount >= 0)
        a << QCFormat("-G%d", minGroupCount);
    if (lowMass > 0.0) a << QCFormat("-B%2.2f", lowMass);
    if (highMass > 0.0) a << QCFormat("-T%2.2f", highMass);
    return a;
}

}  // namespace zar
