#pragma once
// The program around a search run, shared by sorvex27 and massmap: the command line
// ("-R<list file>", "-P<parameter file>"), the progress messages (code 2: file and database
// percent, code 3: file and its seconds, code 0 at the end whatever happened) and the exit code.

#include "SearchSetup.h"

#include <functional>

namespace zar {

struct SearchProgram {
    const char* name;     // "sorvex27"
    const char* message;  // its registered progress message
    const char* usage;
    std::function<SearchRunResult(const SearchRunOptions&, const SearchRunEvents&)> run;
    // An environment variable that names the engine's work folder to keep; may be null.
    const char* workFolderVariable = nullptr;
};

int RunSearchProgram(int argc, char* argv[], const SearchProgram& program);

}  // namespace zar
