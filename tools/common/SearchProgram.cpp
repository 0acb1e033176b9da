#include "SearchProgram.h"

#include "StopSignal.h"
#include "ToolArguments.h"
#include "ToolReporter.h"

#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "ipc/NotifyClient.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace zar {

int RunSearchProgram(int argc, char* argv[], const SearchProgram& program) {
    QCoreApplication app(argc, argv);
    UseCNumericLocale();
    CatchStopSignals();
    const CToolReporter reporter(program.name, program.message, false);
    const char* name = program.name;
    SetMessageBoxHandler([name](const MessageBoxRequest& r) {
        std::fprintf(stderr, "%s: %s\n", name, qPrintable(r.text.simplified()));
        return DefaultAnswer(r.style);
    });
    CToolArguments arguments(app.arguments().mid(1));
    if (arguments.helpAsked()) {
        std::fputs(program.usage, stdout);
        return kToolOk;
    }
    // The launcher ends its run at code 0, whatever happened.
    const auto finish = [&reporter](int code) {
        reporter.post(0, 0);
        return code;
    };
    if (!arguments.words().isEmpty()) {
        std::fputs(program.usage, stderr);
        return finish(reporter.fail(kToolUsage, QStringLiteral("unexpected arguments: %1")
                                                    .arg(arguments.words().join(QLatin1Char(' ')))));
    }
    const QString unknown = arguments.unknownFlags("RP");
    if (!unknown.isEmpty())
        reporter.note(QStringLiteral("%1: ignoring %2").arg(QString::fromLatin1(name), unknown));

    SearchRunOptions options;
    options.folder = QDir::currentPath();
    options.listPath = arguments.text('R');
    options.paramsPath = arguments.text('P');
    if (program.workFolderVariable)
        options.workFolder = qEnvironmentVariable(program.workFolderVariable);
    SearchRunEvents events;
    events.searching = [&reporter](int file, int percent) {
        reporter.post(MakeWParam(static_cast<unsigned>(file), static_cast<unsigned>(percent)), 2);
    };
    events.fileDone = [&reporter](int file, int seconds) {
        reporter.post(MakeWParam(static_cast<unsigned>(file), static_cast<unsigned>(seconds)), 3);
    };
    const SearchRunResult result = program.run(options, events);
    for (const QString& note : result.notes) std::fprintf(stderr, "%s: %s\n", name, qPrintable(note));
    if (result.exitCode != kToolOk) return finish(reporter.fail(result.exitCode, result.message));
    reporter.note(QStringLiteral("%1: %2 .out files written").arg(QString::fromLatin1(name)).arg(result.outFiles));
    return finish(kToolOk);
}

}  // namespace zar
