#pragma once
// The search daemon ("SorvexDaemonService.SorvexDaemon.1"): an automation object of the
// SorvexDaemonService library, registered through the COM layer. Its one method, Submit, takes
// the seven texts of a search and hands the job to the SORVEX Queue. The program drives it
// late-bound, by dispatch id.

#include "com/ComTypes.h"

#include <QString>

#include <memory>

namespace zar {

constexpr const char* kSorvexDaemonProgId = "SorvexDaemonService.SorvexDaemon.1";
constexpr const char* kSorvexDaemonIndependentProgId = "SorvexDaemonService.SorvexDaemon";
constexpr CLSID CLSID_SorvexDaemon{
    0x6D1C2E47, 0x93A8, 0x4F1B, {0xA5, 0x2E, 0x71, 0x0C, 0x94, 0x3B, 0xD8, 0x16}};
constexpr DISPID kDispidSubmit = 1;
// The library's file beside the program.
constexpr const char* kSorvexDaemonLibrary = "SorvexDaemonService.so";

// The automation driver the launcher holds.
class CSorvexDaemonDriver {
  public:
    // The daemon by its ProgID; null when it cannot be created.
    static std::unique_ptr<CSorvexDaemonDriver> Create();
    ~CSorvexDaemonDriver();

    // Raw file, database path, results folder, the caller's folder, the command (as
    // CommandListText), the command without the list, the priority text.
    HRESULT Submit(const QString& rawFile, const QString& databasePath,
                   const QString& resultsDirectory, const QString& callerDirectory,
                   const QString& command, const QString& commandNoList, const QString& priority,
                   QString* error = nullptr);

  private:
    explicit CSorvexDaemonDriver(IDispatch* dispatch) : dispatch_(dispatch) {}
    IDispatch* dispatch_;  // one reference, released by the destructor
};

// Registers the daemon library beside the program unless the registry already names it; false
// when there is no such library or it could not be registered.
bool EnsureSorvexDaemonRegistered(const QString& libraryPath);

}  // namespace zar
