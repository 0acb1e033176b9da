// What the launchers build on: program look-up, argument lists, starting and ending children,
// list files, removal of old files, Dta options and queue jobs.

#include "search/DtaCreateOptions.h"
#include "search/DtaListFile.h"
#include "search/OutsideProgram.h"
#include "search/SorvexQueueJob.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace zar;

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

ProgramStart Program(const QString& program, const QStringList& arguments = {},
                     const QString& folder = {}) {
    ProgramStart start;
    start.program = program;
    start.arguments = arguments;
    start.workingDirectory = folder;
    return start;
}

}  // namespace

TEST(OutsideProgramTest, TheSettingsNameIsFoundWithOrWithoutItsExe) {
    QTemporaryDir dir;
    WriteFile(dir.filePath("sorvex27"), "");
    EXPECT_EQ(ResolveOutsideProgram(dir.path(), "sorvex27.exe"), dir.filePath("sorvex27"));
    WriteFile(dir.filePath("sorvex27.exe"), "");
    EXPECT_EQ(ResolveOutsideProgram(dir.path(), "sorvex27.exe"), dir.filePath("sorvex27.exe"));
    EXPECT_EQ(ResolveOutsideProgram(dir.path(), "missing.exe"), dir.filePath("missing.exe"));
}

TEST(OutsideProgramTest, OptionTextsBecomeArguments) {
    EXPECT_EQ(SplitOptionText(" -Z  -X "), (QStringList{"-Z", "-X"}));
    EXPECT_EQ(SplitOptionText("-F10 -L20 -E100000 "), (QStringList{"-F10", "-L20", "-E100000"}));
    EXPECT_TRUE(SplitOptionText("").isEmpty());
}

TEST(OutsideProgramTest, StartFailuresAreToldAsTheProgramTellsThem) {
    QTemporaryDir dir;
    WriteFile(dir.filePath("notexec"), "#!/bin/sh\n");
    struct Case {
        ProgramStart start;
        QString text;
    } cases[] = {
        {Program(dir.filePath("nofolder/prog")), "bad path"},
        {Program(dir.filePath("prog"), {"-R/tmp/x y"}),
         "program or batch file not found: " + dir.filePath("prog") + " -R/tmp/x y"},
        {Program("/bin/true", {}, dir.filePath("nowhere")), "bad starting directory"},
        {Program(dir.filePath("notexec")), "CreateProcess error 5"},
        {Program("/bin/true", {}, dir.path()), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StartFailureText(c.start), c.text) << qPrintable(c.start.program);
}

TEST(OutsideProgramTest, ArgumentsReachTheChildAsGivenAndItsFolderIsItsOwn) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("a folder; with $(blanks)");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString before = QDir::currentPath();
    COutsideProgram child;
    const ProgramStart start = Program(
        "/bin/sh",
        {"-c", "pwd > out.txt; printf '%s|' \"$@\" >> out.txt", "sh", "-D" + folder, "x'y\"z"},
        folder);
    QString failure;
    ASSERT_TRUE(child.Start(start, &failure)) << qPrintable(failure);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !child.IsRunning(); }, zartest::kWorkWaitMs));
    QFile out(QDir(folder).filePath("out.txt"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(out.readAll()), folder + "\n-D" + folder + "|x'y\"z|");
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST(OutsideProgramTest, OnlyAChildThatRunsIsEnded) {
    COutsideProgram child;
    QString failure;
    ASSERT_TRUE(child.Start(Program("/bin/sleep", {"600"}), &failure));
    const qint64 pid = child.ProcessId();
    EXPECT_TRUE(child.IsRunning());
    EXPECT_TRUE(child.Terminate());
    EXPECT_FALSE(child.IsRunning());
    EXPECT_EQ(::kill(static_cast<pid_t>(pid), 0), -1);  // gone, and not waited for by anyone else
    // Nothing is held any more: ending again touches no process.
    EXPECT_TRUE(child.Terminate());
    ASSERT_TRUE(child.Start(Program("/bin/true"), &failure));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !child.IsRunning(); }, zartest::kWorkWaitMs));
    EXPECT_TRUE(child.Terminate());
}

// A child is asked to end first, so that it can end its own children and remove its scratch
// files; one that does not listen is killed after the grace time.
TEST(OutsideProgramTest, AnEndedChildIsAskedFirstAndCleansUp) {
    QTemporaryDir dir;
    const QString marker = dir.filePath("cleaned");
    const QString ready = dir.filePath("ready");
    COutsideProgram child;
    QString failure;
    ASSERT_TRUE(child.Start(Program("/bin/sh", {"-c", "trap 'touch \"" + marker + "\"; exit 0' TERM; "
                                                      "touch '" + ready + "'; "
                                                      "while :; do sleep 0.05; done"}),
                            &failure));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(ready); }, zartest::kWorkWaitMs));
    EXPECT_TRUE(child.Terminate());
    EXPECT_TRUE(QFile::exists(marker));
}

TEST(OutsideProgramTest, AChildOfAnEndedRunFinishesItsWork) {
    QTemporaryDir dir;
    const QString marker = dir.filePath("done");
    {
        COutsideProgram child;
        QString failure;
        ASSERT_TRUE(
            child.Start(Program("/bin/sh", {"-c", "sleep 0.3; touch '" + marker + "'"}), &failure));
        child.Release();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, zartest::kWorkWaitMs));
}

TEST(DtaListFileTest, TheListIsUtf16WithAByteOrderMarkAndAppearsWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath("SorvexList");
    CDtaListFile list;
    ASSERT_TRUE(list.Open(path));
    list.AddName("run.0001.0001.2.dta");
    list.AddName("run.0002.0003.3.dta");
    EXPECT_FALSE(QFile::exists(path));  // not before it is closed
    ASSERT_TRUE(list.Close());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(
        bytes.startsWith("\xFF\xFE"
                         "r\0u\0n\0"));
    EXPECT_EQ(ReadDtaList(path), (QStringList{"run.0001.0001.2.dta", "run.0002.0003.3.dta"}));
    CDtaListFile dropped;
    ASSERT_TRUE(dropped.Open(dir.filePath("Other")));
    dropped.AddName("x.dta");
    dropped.Discard();
    EXPECT_FALSE(QFile::exists(dir.filePath("Other")));
    EXPECT_FALSE(list.Open(dir.filePath("no/such/folder/SorvexList")));
}

// The names are buffered until the list is closed: a disk that fills then fails the list, and
// no half list is left for the search to take whole.
TEST(DtaListFileTest, AListThatCannotBeWrittenWholeFailsAndLeavesNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath("SorvexList");
    const int code = zartest::RunWithFileSizeLimit(1024, [&] {
        CDtaListFile list;
        if (!list.Open(path)) return 2;
        for (int i = 0; i < 100; ++i) list.AddName(QString("run.%1.%1.2.dta").arg(i, 4, 10, QChar('0')));
        return list.Close() ? 0 : 1;
    });
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(DtaListFileTest, OldFilesGoAtOnceAndFailuresAreNamed) {
    QTemporaryDir dir;
    for (const char* name : {"a.dta", "b.DTA", "c.out", "keep.txt"})
        WriteFile(dir.filePath(name), "x");
    EXPECT_EQ(ExistingDtaFiles(dir.path()), (QStringList{"a.dta", "b.DTA"}));
    EXPECT_TRUE(RemoveFiles(dir.path(), "*.dta").isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"c.out", "keep.txt"}));
    zartest::ScopedUnwritableFolder locked(dir.path());
    if (!locked.ok()) GTEST_SKIP() << "no way to make a folder unwritable here";
    const QStringList failed = RemoveFiles(dir.path(), "*.out");
    EXPECT_EQ(failed, QStringList{"c.out"});
    EXPECT_EQ(RemovalFailureText(dir.path(), failed),
              "Unable to remove 1 old result files in\n" + dir.path() + "\n\nc.out");
}

TEST(DtaCreateOptionsTest, OptionsFollowTheirRules) {
    struct Case {
        const char* name;
        DtaCreateOptions options;
        QStringList arguments;
    } cases[] = {
        {"defaults",
         {},
         {"-F1", "-L100", "-E100000", "-M1.40", "-S1", "-I35", "-G2", "-B700.00", "-T3500.00"}},
        {"one scan groups by one",
         {5, 5, 0.0, 2, 1.4, 1, 35, 7, 300.0, 4000.0},
         {"-F5", "-L5", "-E0", "-C2", "-M1.40", "-S1", "-I35", "-G1", "-B300.00", "-T4000.00"}},
        {"nothing that does not apply", {0, 0, -1.0, 0, -1.0, -1, -1, -1, 0.0, 0.0}, {"-G1"}},
        {"no group count",
         {1, 9, 5e5, 0, 2.5, 3, 10, -1, 0.0, 2500.5},
         {"-F1", "-L9", "-E500000", "-M2.50", "-S3", "-I10", "-T2500.50"}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.options.Arguments(), c.arguments) << c.name;
}

TEST(SorvexQueueJobTest, AJobTravelsWholeAndTheHigherPriorityRunsFirst) {
    SorvexQueueJob job;
    job.rawFile = "/data/my run.mzML";
    job.resultsDirectory = "/res";
    job.command = {"/p/sorvex27", "-R/res/SorvexList"};
    job.commandNoList = {"/p/sorvex27"};
    job.priority = "Low";
    job.list = QByteArray(
        "\xFF\xFE"
        "a\0",
        4);
    job.params = "database_name = x\n";
    job.submitted = QDateTime::fromString("2024-01-02T03:04:05.006", Qt::ISODateWithMs);
    const auto back = SorvexQueueJob::FromJson(job.ToJson());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->rawFile, job.rawFile);
    EXPECT_EQ(back->command, job.command);
    EXPECT_EQ(back->list, job.list);
    EXPECT_EQ(back->params, job.params);
    EXPECT_EQ(back->submitted, job.submitted);
    EXPECT_FALSE(SorvexQueueJob::FromJson("{}"));
    EXPECT_FALSE(SorvexQueueJob::FromJson("not json"));
    SorvexQueueJob high = job, normal = job, later = job;
    high.priority = "High";
    normal.priority = "";
    later.priority = "High";
    later.submitted = job.submitted.addSecs(1);
    EXPECT_TRUE(RunsBefore(high, normal));
    EXPECT_TRUE(RunsBefore(normal, job));
    EXPECT_TRUE(RunsBefore(high, later));
    EXPECT_FALSE(RunsBefore(later, high));
    EXPECT_EQ(CommandListFromText(CommandListText({"/a b/c", "-Rx"})),
              (QStringList{"/a b/c", "-Rx"}));
    EXPECT_TRUE(CommandListFromText("/bin/sh -c x").isEmpty());
}
