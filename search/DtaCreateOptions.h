#pragma once
// The options the Dta dialog gives the extraction program, each one argument, in the order
// the program expects them.

#include <QStringList>

namespace zar {

struct DtaCreateOptions {
    int firstScan = 1;
    int lastScan = 100;
    double threshold = 100000.0;
    int chargeState = 0;
    double precursorTolerance = 1.4;
    int groupScan = 1;
    int minIonCount = 35;
    int minGroupCount = 2;
    double lowMass = 700.0;
    double highMass = 3500.0;

    // "-F", "-L", "-E", "-C", "-M", "-S", "-I", "-G", "-B", "-T" items where they apply; one scan
    // makes "-G1" whatever the group count.
    QStringList Arguments() const;
};

}  // namespace zar
