#include "DtaListFile.h"

#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace zar {

namespace {

QByteArray Utf16LE(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

}  // namespace

CDtaListFile::CDtaListFile() = default;

CDtaListFile::~CDtaListFile() {
    Discard();
}

bool CDtaListFile::Open(const QString& path) {
    Discard();
    auto file = std::make_unique<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly)) return false;
    file->write(Utf16LE(QString(QChar(0xFEFF))));
    file_ = std::move(file);
    count_ = 0;
    return true;
}

void CDtaListFile::AddName(const QString& name) {
    if (!file_) return;
    file_->write(Utf16LE(name + QLatin1Char('\n')));
    ++count_;
}

bool CDtaListFile::Close() {
    if (!file_) return false;
    // The buffered names reach the disk only here; commit alone would take a failed last
    // write for a whole list.
    const bool flushed = file_->flush() && file_->error() == QFileDevice::NoError;
    if (!flushed) file_->cancelWriting();
    const bool written = file_->commit() && flushed;
    file_.reset();
    return written;
}

void CDtaListFile::Discard() {
    if (file_) file_->cancelWriting();
    file_.reset();
}

QStringList ExistingDtaFiles(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.dta")}, QDir::Files, QDir::Name);
}

QStringList ReadDtaList(const QString& path) {
    QStringList lines;
    if (!ReadTextLines(path, lines)) return {};
    lines.removeAll(QString());
    return lines;
}

QStringList RemoveFiles(const QString& folder, const QString& pattern) {
    QStringList failed;
    QDir dir(folder);
    for (const QString& name :
         dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (!QFile::remove(dir.filePath(name))) failed << name;
    }
    return failed;
}

QString RemovalFailureText(const QString& folder, const QStringList& failed) {
    constexpr int kNamesShown = 10;
    QString names = failed.mid(0, kNamesShown).join(QLatin1Char('\n'));
    if (failed.size() > kNamesShown) names += QStringLiteral("\n...");
    return QStringLiteral("Unable to remove %1 old result files in\n%2\n\n%3")
        .arg(failed.size())
        .arg(folder, names);
}

}  // namespace zar
