#include "document/OutFilePrefetcher.h"

#include "core/Paths.h"
#include "core/TextFile.h"
#include "document/OutFileFormat.h"

#include <climits>

namespace zar {

QString FolderPaths::join(const QString& folder, QStringView name) {
    if (folder.isEmpty()) return name.toString();
    if (!known_ || folder != folder_) {
        folder_ = folder;
        portable_ = PortablePath(folder);
        if (!portable_.endsWith(QLatin1Char('/'))) portable_.append(QLatin1Char('/'));
        known_ = true;
    }
    // The name's separators become '/', and it starts inside the folder.
    qsizetype start = 0;
    while (start < name.size() &&
           (name[start] == QLatin1Char('/') || name[start] == QLatin1Char('\\')))
        ++start;
    QString path;
    path.reserve(portable_.size() + name.size() - start);
    path.append(portable_);
    const qsizetype from = path.size();
    path.append(name.mid(start));
    QChar* text = path.data();
    for (qsizetype i = from; i < path.size(); ++i) {
        if (text[i] == QLatin1Char('\\')) text[i] = QLatin1Char('/');
    }
    return path;
}

QString FolderPaths::filePath(const QString& folder, const QString& fileName) {
    return fileName.startsWith(QLatin1Char('/')) ? fileName : join(folder, fileName);
}

OutFilePrefetcher::OutFilePrefetcher(const QString& folder, const QStringList& files)
    : folder_(folder), files_(files), thread_([this] { run(); }) {}

OutFilePrefetcher::~OutFilePrefetcher() {
    stop_.store(true);
    // Frees the reader from waiting for a slot.
    consumed_.store(INT_MAX / 2, std::memory_order_release);
    consumed_.notify_one();
    thread_.join();
}

void OutFilePrefetcher::run() {
    FolderPaths paths;
    const int count = static_cast<int>(files_.size());
    for (int i = 0; i < count; ++i) {
        for (int handed = consumed_.load(std::memory_order_acquire); i - handed >= kSlots;
             handed = consumed_.load(std::memory_order_acquire))
            consumed_.wait(handed);
        if (stop_.load()) return;
        Slot& slot = slots_[static_cast<size_t>(i % kSlots)];
        slot.read = ReadRegularFile(paths.filePath(folder_, files_[i]), slot.bytes,
                                    kMaxOutFileBytes);
        produced_.store(i + 1, std::memory_order_release);
        // Waking the other side costs a call to the system: it is woken a batch at a time.
        if ((i + 1) % kBatch == 0 || i + 1 == count) produced_.notify_one();
    }
}

OutFilePrefetcher::Take OutFilePrefetcher::takeNext(const QString& folder,
                                                    const QString& fileName, QByteArray& bytes) {
    const int i = consumed_.load(std::memory_order_relaxed);
    if (i >= files_.size() || folder != folder_ || files_[i] != fileName) return Take::NotNext;
    for (int read = produced_.load(std::memory_order_acquire); read <= i;
         read = produced_.load(std::memory_order_acquire))
        produced_.wait(read);
    Slot& slot = slots_[static_cast<size_t>(i % kSlots)];
    bytes.swap(slot.bytes);
    const bool read = slot.read;
    consumed_.store(i + 1, std::memory_order_release);
    if ((i + 1) % kBatch == 0) consumed_.notify_one();
    return read ? Take::Read : Take::Failed;
}

}  // namespace zar
