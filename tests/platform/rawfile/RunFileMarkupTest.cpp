// XML runs whose markup is broken are refused with a clear text before anything parses them;
// the check reads them in blocks.

#include "rawfile/RunFileMarkup.h"
#include "rawfile/VRawfile.h"

#include "TestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace zar;

namespace {

QByteArray FixtureBytes(const char* name) {
    QFile f(zartest::DataPath(QStringLiteral("rawfile/") + name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct MarkupCase {
    const char* what;
    QByteArray bytes;
    bool mzxml;
    bool opens;
};

// The fixture runs as written and with one tag written wrongly in each way the check knows.
std::vector<MarkupCase> MarkupCases() {
    const QByteArray mzml = FixtureBytes("run_composed.mzML");
    const QByteArray mzxml = FixtureBytes("run.mzXML");
    const QByteArray time = R"(accession="MS:1000016" name="scan start time")";
    EXPECT_TRUE(mzml.contains(time));
    EXPECT_TRUE(mzxml.contains(R"(<msRun scanCount="6")"));
    const QByteArray longComment = "<!-- " + QByteArray(5000, 'c') + " --><run ";
    const struct {
        const char* what;
        QByteArray base;
        QByteArray from;
        QByteArray to;
        bool opens;
    } edits[] = {
        {"as written", mzml, time, time, true},
        {"mzXML as written", mzxml, "", "", true},
        {"comment", mzml, "<run ", "<!-- a comment --><run ", true},
        {"long comment", mzml, "<run ", longComment, true},
        {"unquoted value", mzml, time, QByteArray("accession=MS:1000016 name=\"x\""), false},
        {"NUL byte", mzml, time, QByteArray("accession=\"MS:1000016\0\" name=\"x\"", 30), false},
        {"NUL byte after a broken tag", mzml, time, QByteArray("accession=MS:1 name=\"x\"\0", 24),
         false},
        {"no blank between", mzml, time, R"(accession="MS:1000016"name="x")", false},
        {"no equals", mzml, time, R"(accession "MS:1000016" name="x")", false},
        {"unclosed value", mzml, "</mzML>", "<x a=\"", false},
        {"unclosed tag at the end", mzml, "</mzML>", "</mzML", false},
        {"'<' in a value", mzml, time, R"(accession="MS:<1000016" name="x")", false},
        {"unclosed comment", mzml, "<run ", "<!-- <run ", false},
        {"mzXML attribute", mzxml, R"(<msRun scanCount="6")", R"(<msRun scanCount=6)", false},
    };
    std::vector<MarkupCase> cases;
    for (const auto& e : edits) {
        QByteArray bytes = e.base;
        if (!e.from.isEmpty()) {
            EXPECT_TRUE(bytes.contains(e.from)) << e.what;
            bytes.replace(bytes.indexOf(e.from), e.from.size(), e.to);
        }
        cases.push_back({e.what, bytes, e.base == mzxml, e.opens});
    }
    return cases;
}

qint64 FaultWithBlocksOf(const QByteArray& bytes, qint64 blockSize) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return rawfile::FirstMarkupFault(buffer, blockSize);
}

TEST(RunFileMarkup, BrokenTagsAreRefusedAndGoodOnesRead) {
    QTemporaryDir dir;
    for (const MarkupCase& c : MarkupCases()) {
        const QString path = dir.filePath(c.mzxml ? "run.mzXML" : "run.mzML");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.bytes);
        f.close();
        VRawfile raw;
        EXPECT_EQ(raw.open(path), c.opens) << c.what << ": " << raw.lastError().toStdString();
        if (!c.opens) {
            EXPECT_TRUE(raw.lastError().contains("or it is damaged: the markup is broken at byte"))
                << c.what << ": " << raw.lastError().toStdString();
        }
    }
}

// The check reads a run in blocks: a tag or comment cut by a block's end is scanned again
// with what follows, so the fault found, and where, never depends on the block size.
TEST(RunFileMarkup, TheFaultIsFoundAtTheSameByteWhateverTheBlockSize) {
    for (const MarkupCase& c : MarkupCases()) {
        const qint64 whole = FaultWithBlocksOf(c.bytes, c.bytes.size() + 1);
        EXPECT_EQ(whole < 0, c.opens) << c.what;
        for (qint64 block : {16, 17, 100, 1023, 4096})
            EXPECT_EQ(FaultWithBlocksOf(c.bytes, block), whole)
                << c.what << ", blocks of " << block;
    }
    // Where the fault lies.
    const QByteArray bad = "<a x=\"1\"><b y=2/></a>";
    for (qint64 block : {16, 3, 64}) EXPECT_EQ(FaultWithBlocksOf(bad, block), 9) << block;
    EXPECT_EQ(FaultWithBlocksOf(QByteArray("<a>\0<b>", 7), 16), 3);
    EXPECT_EQ(FaultWithBlocksOf(QByteArray("<a>text</a>"), 4), -1);
}

}  // namespace

namespace {

// A compressed run is refused: its markup cannot be checked before the library reads it.
TEST(RunFileMarkup, ACompressedRunIsRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath("run.mzML");
    QFile::copy(zartest::DataPath(QStringLiteral("rawfile/run_composed.mzML")), path);
    VRawfile plain;
    ASSERT_TRUE(plain.open(path)) << plain.lastError().toStdString();
    QProcess gzip;
    gzip.start(QStringLiteral("gzip"), {QStringLiteral("-n"), path});
    if (!gzip.waitForFinished(zartest::kWorkWaitMs) || gzip.exitCode() != 0)
        GTEST_SKIP() << "gzip cannot be run";
    VRawfile compressed;
    EXPECT_FALSE(compressed.open(path + QStringLiteral(".gz")));
    EXPECT_TRUE(compressed.lastError().contains("unsupported file format"))
        << compressed.lastError().toStdString();
}

}  // namespace
