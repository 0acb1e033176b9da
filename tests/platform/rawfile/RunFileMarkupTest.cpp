// XML runs whose markup is broken are refused with a clear text before anything parses them.

#include "rawfile/VRawfile.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

QByteArray FixtureBytes(const char* name) {
    QFile f(zartest::DataPath(QStringLiteral("rawfile/") + name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(RunFileMarkup, BrokenTagsAreRefusedAndGoodOnesRead) {
    const QByteArray mzml = FixtureBytes("run_composed.mzML");
    const QByteArray mzxml = FixtureBytes("run.mzXML");
    const QByteArray time = R"(accession="MS:1000016" name="scan start time")";
    ASSERT_TRUE(mzml.contains(time));
    ASSERT_TRUE(mzxml.contains(R"(<msRun scanCount="6")"));
    const struct {
        const char* what;
        QByteArray base;
        QByteArray from;
        QByteArray to;
        bool opens;
    } cases[] = {
        {"as written", mzml, time, time, true},
        {"mzXML as written", mzxml, "", "", true},
        {"comment", mzml, "<run ", "<!-- a comment --><run ", true},
        {"unquoted value", mzml, time, QByteArray("accession=MS:1000016 name=\"x\""), false},
        {"NUL byte", mzml, time, QByteArray("accession=\"MS:1000016\0\" name=\"x\"", 30), false},
        {"no blank between", mzml, time, R"(accession="MS:1000016"name="x")", false},
        {"no equals", mzml, time, R"(accession "MS:1000016" name="x")", false},
        {"unclosed value", mzml, "</mzML>", "<x a=\"", false},
        {"'<' in a value", mzml, time, R"(accession="MS:<1000016" name="x")", false},
        {"unclosed comment", mzml, "<run ", "<!-- <run ", false},
        {"mzXML attribute", mzxml, R"(<msRun scanCount="6")", R"(<msRun scanCount=6)", false},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        QByteArray bytes = c.base;
        if (!c.from.isEmpty()) {
            ASSERT_TRUE(bytes.contains(c.from)) << c.what;
            bytes.replace(bytes.indexOf(c.from), c.from.size(), c.to);
        }
        const QString path = dir.filePath(c.base == mzxml ? "run.mzXML" : "run.mzML");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        VRawfile raw;
        EXPECT_EQ(raw.open(path), c.opens) << c.what << ": " << raw.lastError().toStdString();
        if (!c.opens) {
            EXPECT_TRUE(raw.lastError().contains("or it is damaged: the markup is broken at byte"))
                << c.what << ": " << raw.lastError().toStdString();
        }
    }
}

}  // namespace
