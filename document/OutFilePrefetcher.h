#pragma once
// Reading the ".out" files of a results folder ahead of their parsing: a thread of its own reads
// the next files, in the folder's order, while the loader parses the one before, so that a
// folder of many small files costs about the larger of the two instead of their sum.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <atomic>
#include <thread>

namespace zar {

// JoinPath for the many files of one folder: the folder's portable form is made once.
class FolderPaths {
  public:
    QString join(const QString& folder, QStringView name);
    // The path a loader reads for fileName: the name itself when it is absolute.
    QString filePath(const QString& folder, const QString& fileName);

  private:
    QString folder_;
    QString portable_;  // PortablePath(folder_), ending in '/'
    bool known_ = false;
};

class OutFilePrefetcher {
  public:
    // Starts reading folder/files[0], folder/files[1], ... (regular files only, at most
    // kMaxOutFileBytes each).
    OutFilePrefetcher(const QString& folder, const QStringList& files);
    // Stops the reading where it is.
    ~OutFilePrefetcher();
    OutFilePrefetcher(const OutFilePrefetcher&) = delete;
    OutFilePrefetcher& operator=(const OutFilePrefetcher&) = delete;

    enum class Take {
        Read,    // bytes hold the file
        Failed,  // the file could not be read (bytes empty)
        NotNext  // fileName in folder is not the next file of the list: nothing was taken
    };
    // Hands over the bytes of the next file of the list, waiting for them if need be. The
    // array's previous storage goes back to the ring for a later file.
    Take takeNext(const QString& folder, const QString& fileName, QByteArray& bytes);

  private:
    void run();

    // Files read ahead at most, and handed over between two wake-ups of the reading thread
    // (when it waits for room) or of the loader (when it waits for a file).
    static constexpr int kSlots = 64;
    static constexpr int kBatch = kSlots / 4;
    struct Slot {
        QByteArray bytes;
        bool read = false;
    };
    const QString folder_;
    const QStringList files_;
    std::array<Slot, kSlots> slots_;
    std::atomic<int> produced_{0};  // files read into their slots
    std::atomic<int> consumed_{0};  // files handed over
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace zar
