#pragma once
// What every fuzz target shares: one set-up for the process, the input as bytes, and a private
// folder where the inputs of the on-disk targets become the files the readers open.
//
// A target is a function `int Fuzz<Name>(const std::uint8_t* data, std::size_t size)` that
// hands the bytes to one parser and returns 0. It must be deterministic and quick, touch no
// widget, and leave nothing behind that changes the next run. The same functions are the
// libFuzzer entry points (FuzzMain.cpp, built with clang) and are replayed over the stored
// corpora by the normal test run (FuzzReplayTest.cpp).

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace zarfuzz {

// Every target, in one list: X(Name) for each Fuzz<Name>. A reader's target hands it the bytes
// in memory; its "<Name>OnDisk" target writes them to a file first and goes through the reader's
// file path (and shares the seeds and past failures of <Name>).
#define ZAR_FUZZ_TARGETS(X)   \
    X(OutFile)                \
    X(DtaFile)                \
    X(DtaFileOnDisk)          \
    X(Fasta)                  \
    X(FastaOnDisk)            \
    X(FastaIndex)             \
    X(DatabaseHeader)         \
    X(DatabaseHeaderOnDisk)   \
    X(ParamFile)              \
    X(ParamFileOnDisk)        \
    X(EnzymeText)             \
    X(ScanFilter)             \
    X(LineReader)             \
    X(Settings)               \
    X(SettingsOnDisk)         \
    X(Bitmap)                 \
    X(Mzml)                   \
    X(Mzxml)                  \
    X(Mgf)                    \
    X(MzmlOnDisk)

#define ZAR_DECLARE_FUZZ_TARGET(Name) int Fuzz##Name(const std::uint8_t* data, std::size_t size);
ZAR_FUZZ_TARGETS(ZAR_DECLARE_FUZZ_TARGET)
#undef ZAR_DECLARE_FUZZ_TARGET

// Once per process: the "C" numeric locale, message boxes answered by default, and the
// settings store moved into the private folder. Creates an application object when there is
// none.
void InitializeFuzzing();

// The input as the bytes of a file read into memory.
QByteArray InputBytes(const std::uint8_t* data, std::size_t size);

// The process's private folder (made on first use).
QString WorkFolder();

// Writes the input as WorkFolder()/name (replacing what was there) and returns its path.
QString WriteInput(const QString& name, const std::uint8_t* data, std::size_t size);
QString WriteInput(const QString& name, const QByteArray& bytes);

// Removes every file of the private folder's sub-folder `name` and returns the emptied
// folder's path.
QString EmptyFolder(const QString& name);

}  // namespace zarfuzz
