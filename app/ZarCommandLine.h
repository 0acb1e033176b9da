#pragma once
// The program's command line.

#include <QString>
#include <QStringList>

namespace zar {

struct CZarCommandLineInfo {
    QStringList arguments;  // the command line without the program name
    int valid = 1;
    int action = 0;  // 0: new document
    int pFlag = 0;
    int pfFlag = 0;
    int overwriteFlag = 0;
    int verboseFlag = 0;
    int unregisterFlag = 0;
    int qFlag = 0;
    int brValue = -1;
    int spareValue = -1;
    QString rValue;
    QString bValue;
    QString dValue;

    // Reads the switches; comparisons ignore case.
    void Parse();
};

}  // namespace zar
