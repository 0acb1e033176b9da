// Sequence files: the residues of every line, never a line end or a blank.

#include "SequenceFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

QString WriteFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("s.pep"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return QString();
    return path;
}

}  // namespace

TEST(SequenceFile, TheResiduesOfEveryLine) {
    const struct {
        const char* name;
        QByteArray bytes;
        const char* sequence;
    } cases[] = {
        {"one line with its end", "MKWVTFISLL\n", "MKWVTFISLL"},
        {"one line without an end", "MKWVTFISLL", "MKWVTFISLL"},
        {"a DOS line end", "MKWVTFISLL\r\n", "MKWVTFISLL"},
        {"wrapped over lines", "MKWVT\nFISLL\r\nLLFSS\n\n", "MKWVTFISLLLLFSS"},
        {"blanks and tabs inside", "  MKW VT\tFIS LL \n", "MKWVTFISLL"},
        {"empty file", "", ""},
        {"only line ends", "\n\r\n\n", ""},
        {"UTF-16 with its mark", QByteArray("\xFF\xFE" "M\0K\0\n\0W\0", 10), "MKW"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = WriteFile(dir, c.bytes);
        ASSERT_FALSE(path.isEmpty()) << c.name;
        QString sequence = QStringLiteral("before");
        ASSERT_TRUE(ReadSequenceFile(path, sequence)) << c.name;
        EXPECT_EQ(sequence, QString::fromLatin1(c.sequence)) << c.name;
    }
}

TEST(SequenceFile, ALongSequenceIsReadWhole) {
    QByteArray residues;
    for (int k = 0; k < 100000; ++k) residues += "ACDEFGHIKLMNPQRSTVWY"[k % 20];
    QTemporaryDir dir;
    const QString path = WriteFile(dir, residues + "\n");
    QString sequence;
    ASSERT_TRUE(ReadSequenceFile(path, sequence));
    EXPECT_EQ(sequence.size(), 100000);
    EXPECT_EQ(sequence, QString::fromLatin1(residues));
}

TEST(SequenceFile, AMissingFileLeavesTheSequence) {
    QTemporaryDir dir;
    QString sequence = QStringLiteral("KEPT");
    EXPECT_FALSE(ReadSequenceFile(dir.filePath(QStringLiteral("absent.pep")), sequence));
    EXPECT_FALSE(ReadSequenceFile(QString(), sequence));
    EXPECT_EQ(sequence, QStringLiteral("KEPT"));
}

TEST(SequenceFile, ResiduesOfAText) {
    EXPECT_EQ(SequenceResidues(u"PEP TIDE\r\n"), QStringLiteral("PEPTIDE"));
    EXPECT_EQ(SequenceResidues(u""), QString());
}
