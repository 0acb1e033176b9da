// What the writers say when a file cannot be written whole (a full disk, a file too large):
// that writing failed, and why, in the system's words; never "open" for a write, nor "Unknown
// error".

#include "databases/FastaIndexBuilder.h"
#include "databases/FastaSelection.h"
#include "databases/FastaUtilities.h"
#include "databases/SequenceMasses.h"
#include "databases/WorkProgress.h"
#include "core/TextFile.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

using namespace zar;

namespace {

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
}

QByteArray Entries(int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += ">sp|P" + QByteArray::number(i) + " protein\n" + QByteArray(90, 'K') + "\n";
    return bytes;
}

}  // namespace

TEST(WriteFailureText, SaysWhatFailedAndWhy) {
    QTemporaryDir dir;
    const QString fasta = WriteFile(dir, "big.fasta", Entries(3000));
    const QString target = dir.filePath("target.fasta");
    const struct {
        const char* name;
        std::function<QString()> write;  // the text the user is given
    } cases[] = {
        {"a text written atomically",
         [&] {
             AtomicTextWriter w(target);
             w.open();
             for (int i = 0; i < 2000; ++i) w.writeLine(QString(99, QLatin1Char('A')));
             return w.commit() ? QString() : w.errorString();
         }},
        {"a text written without waiting for the disk",
         [&] {
             QString error;
             WriteTextFileUnsynced(target, QString(200000, QLatin1Char('A')), &error);
             return error;
         }},
        {"the fasta index",
         [&] {
             return CFastaIndexBuilder(false, SequenceMassTable::For(true))
                 .build(fasta, {})
                 .statusText;
         }},
        {"selected entries",
         [&] {
             SelectRequest request;
             request.originalPath = fasta;
             request.targetPath = target;
             QString lines;
             WorkProgress progress;
             progress.onListLine = [&](const QString& line) { lines += line; };
             SelectDatabaseEntries(request, progress);
             return lines.mid(lines.indexOf(QLatin1String("ERROR")));
         }},
        {"an entry added to a database",
         [&] {
             zartest::MessageBoxCapture boxes;
             AddEntryRequest request;
             request.databasePath = fasta;
             request.description = QStringLiteral("added");
             request.sequence = QStringLiteral("PEPTIDEK");
             AddDatabaseEntry(request);
             return boxes.texts().join(QLatin1Char('|'));
         }},
    };
    for (const auto& c : cases) {
        // The child reports the text it was given through a file beside the test's.
        const QString told = dir.filePath("told.txt");
        QFile::remove(told);
        const int result = zartest::RunWithFileSizeLimit(12 * 1024, [&] {
            const QByteArray text = c.write().toUtf8();
            std::FILE* out = std::fopen(QFile::encodeName(told).constData(), "wb");
            if (!out) return 2;
            const bool written = std::fwrite(text.constData(), 1, text.size(), out) ==
                                 static_cast<std::size_t>(text.size());
            std::fclose(out);
            return written ? 0 : 3;
        });
        ASSERT_EQ(result, 0) << c.name;
        QFile f(told);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.name;
        const QString text = QString::fromUtf8(f.readAll());
        EXPECT_TRUE(text.contains(QLatin1String("Unable to write"))) << c.name << ": " << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String("File too large"))) << c.name << ": " << text.toStdString();
        EXPECT_FALSE(text.contains(QLatin1String("open"))) << c.name << ": " << text.toStdString();
        EXPECT_FALSE(text.contains(QLatin1String("Unknown error"))) << c.name << ": " << text.toStdString();
    }
}
