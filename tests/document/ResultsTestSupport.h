#pragma once
// Helpers of the result-set tests: generated ".out" files and a collector of posted messages.

#include "messages/Messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include <ostream>
#include <vector>

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace doctest {

// One search-engine ".out" file of the test run "run" (revision 11, one hit line).
inline QString SorvexOutText(const QString& name, const QString& reference, const QString& peptide,
                             double xcorr, const QString& raw = QStringLiteral("run")) {
    return QStringLiteral(
               "\n %1\n TurboSORVEX v.27 (rev. 11), (C) 1998-2006\n x\n x\n"
               " 12/10/2026, 01:30 PM, 2 sec. on node01\n"
               " (M+H)+ mass = 1000.5000 ~ 1.5000 (+2), fragment tol = 0.50, MONO/MONO\n x\n"
               " # amino acids = 300, # proteins = 3, test.fasta\n"
               " ion series nABYabcdVWXYZ: 0 1 1 0.0 1.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0\n"
               " display top 10/5\n (M* +15.9949)\n\n  #   Rank/Sp\n ---  ----\n"
               "  1.   1 /  1  1000.5100  0.0000  %2  200.0   6/10  %3      %4\n\n")
        .arg(raw + name.mid(name.indexOf(QLatin1Char('.'))))
        .arg(xcorr, 0, 'f', 4)
        .arg(reference, peptide);
}

inline bool WriteFile(const QString& path, const QString& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(text.toUtf8()) >= 0;
}

// Writes count files run.NNNNN.NNNNN.2.out into folder.
inline bool WriteSorvexFolder(const QString& folder, int count) {
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("run.%1.%1.2.out").arg(i + 1, 5, 10, QLatin1Char('0'));
        const QString reference = QStringLiteral("sp|P%1|PROT").arg(i % 50);
        if (!WriteFile(folder + QLatin1Char('/') + name,
                       SorvexOutText(name, reference, QStringLiteral("K.PEPTIDE%1K.R").arg(i % 7),
                                     1.0 + (i % 100) * 0.01)))
            return false;
    }
    return true;
}

// Collects the messages posted to it.
class MessageCollector : public QObject {
  public:
    struct Entry {
        unsigned message;
        zar::WPARAM wParam;
        zar::LPARAM lParam;
        QString text;
    };
    std::vector<Entry> entries;

    bool event(QEvent* e) override {
        if (e->type() != zar::MessageEvent::eventType()) return QObject::event(e);
        auto* m = static_cast<zar::MessageEvent*>(e);
        Entry entry{m->message(), m->wParam(), m->lParam(), QString()};
        if (const QString* s = std::any_cast<QString>(&m->payload())) entry.text = *s;
        entries.push_back(entry);
        return true;
    }
    void deliver() { QCoreApplication::sendPostedEvents(this); }
    int count(unsigned message) const {
        int n = 0;
        for (const Entry& e : entries) n += e.message == message ? 1 : 0;
        return n;
    }
};

}  // namespace doctest
