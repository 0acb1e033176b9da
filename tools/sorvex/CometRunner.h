#pragma once
// Runs Comet (the Debian program "comet-ms"): finds it, asks it for its parameter template, and
// runs one search with an argument list, reporting the percentage it prints. Comet is killed
// with this process, so cancelling the search program leaves no search running.

#include <QString>

#include <functional>

namespace zar {

inline constexpr const char* kCometProgram = "comet-ms";

class CCometRunner {
  public:
    // Finds Comet on the PATH and reads its version; false with a text when it is missing.
    bool locate(QString& error);
    QString program() const { return program_; }
    // "2019.01 rev. 5".
    QString version() const { return version_; }

    // Comet's own parameter template ("comet-ms -p" run in folder); false with a text.
    bool templateText(const QString& folder, QString& text, QString& error) const;

    // Runs "comet-ms -P<params> -D<database> -N<outputBase> <spectra>" in folder; Comet writes
    // <outputBase>.txt there. progress gets 0 when Comet begins its pass over the database
    // (having read the spectra), then each percentage of the pass it prints. False with a text
    // (the end of Comet's own output) when it cannot be started or fails.
    bool search(const QString& folder, const QString& paramsPath, const QString& database,
                const QString& spectraPath, const QString& outputBase,
                const std::function<void(int percent)>& progress, QString& error) const;

  private:
    QString program_;
    QString version_;
};

}  // namespace zar
