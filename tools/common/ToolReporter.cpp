#include "ToolReporter.h"

#include "ipc/NotifyClient.h"

#include <cstdio>
#include <cstdlib>

namespace zar {

CToolReporter::CToolReporter(const char* program, const char* message, bool stderrIsPipe)
    : program_(program),
      message_(message),
      pipe_(stderrIsPipe),
      connected_(std::getenv(kNotifyVariable) != nullptr) {}

void CToolReporter::post(std::uintptr_t wParam, std::intptr_t lParam) const {
    postNamed(message_, wParam, lParam);
}

void CToolReporter::postNamed(const char* name, std::uintptr_t wParam,
                              std::intptr_t lParam) const {
    if (connected_) PostRegisteredMessage(name, wParam, lParam);
}

void CToolReporter::fileWritten(const QString& fileName) const {
    if (connected_ && pipe_) {
        PostPipeMessage(message_, (QLatin1Char('$') + fileName).toStdString());
    } else {
        std::printf("%s\n", fileName.toLocal8Bit().constData());
        std::fflush(stdout);
    }
}

void CToolReporter::note(const QString& text) const {
    std::printf("%s\n", text.toLocal8Bit().constData());
    std::fflush(stdout);
}

int CToolReporter::fail(int exitCode, const QString& text) const {
    const QString line = QStringLiteral("%1: %2").arg(QString::fromLatin1(program_), text);
    if (connected_ && pipe_) {
        PostPipeMessage(message_, line.toStdString());
        note(line);
    } else {
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    }
    return exitCode;
}

}  // namespace zar
