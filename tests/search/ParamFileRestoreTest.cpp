#include "search/ParamFile.h"
#include "search/ParamFileRestore.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

// Answers the Invalid Parameters choice with a scripted option and records what it was shown.
class FakePrompt : public InvalidParamsPrompt {
  public:
    explicit FakePrompt(InvalidParamsOption option) : option_(option) {}
    InvalidParamsOption ChooseOption(const QString& stem, const QString& label) override {
        ++calls;
        shownStem = stem;
        shownLabel = label;
        return option_;
    }
    int calls = 0;
    QString shownStem;
    QString shownLabel;

  private:
    InvalidParamsOption option_;
};

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class RestoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        programs = dir.filePath("programs");
        results = dir.filePath("results");
        QDir().mkpath(programs);
        QDir().mkpath(results);
        paramPath = results + "/sorvex.params";
        WriteBytes(paramPath, "[SORVEX]\nbroken = 1\n");
        ASSERT_TRUE(store.Open(paramPath));
    }
    QTemporaryDir dir;
    QString programs;
    QString results;
    QString paramPath;
    CParamFile store;
    zartest::MessageBoxCapture boxes;
};

TEST_F(RestoreTest, CopiesTheInstalledDefaultFileAfterTheQuestion) {
    WriteBytes(programs + "/sorvex.params", "[SORVEX]\nfirst_database_name = x.fasta\r\n");
    FakePrompt prompt(InvalidParamsOption::CopyDefaultFile);
    boxes.answerNext(IDOK);
    EXPECT_EQ(RestoreParamFile(store, ParamFileType::Sorvex, programs, prompt),
              RestoreResult::CopiedDefault);
    EXPECT_EQ(prompt.shownStem, "sorvex");
    EXPECT_EQ(prompt.shownLabel, "Sorvex search");
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_EQ(boxes.texts()[0],
              "Your Sorvex Search parameters file (sorvex.params) will be overwritten. Is this "
              "OK?\n");
    EXPECT_EQ(boxes.shown()[0].style & MB_TYPEMASK, unsigned(MB_OKCANCEL));
    EXPECT_EQ(ReadBytes(paramPath), "[SORVEX]\nfirst_database_name = x.fasta\r\n");
    QString value;
    ASSERT_TRUE(store.GetEntryString("first_database_name", value));
    EXPECT_EQ(value, "x.fasta");
    EXPECT_FALSE(QFile::exists(results + "/TEMP.LOG"));
}

TEST_F(RestoreTest, CancelledQuestionChangesNothing) {
    WriteBytes(programs + "/sorvex.params", "[SORVEX]\nfirst_database_name = x.fasta\n");
    FakePrompt prompt(InvalidParamsOption::CopyDefaultFile);
    boxes.answerNext(IDCANCEL);
    EXPECT_EQ(RestoreParamFile(store, ParamFileType::Sorvex, programs, prompt),
              RestoreResult::Unchanged);
    EXPECT_EQ(ReadBytes(paramPath), "[SORVEX]\nbroken = 1\n");
}

TEST_F(RestoreTest, MissingDefaultFileEndsTheStep) {
    FakePrompt prompt(InvalidParamsOption::CopyDefaultFile);
    EXPECT_EQ(RestoreParamFile(store, ParamFileType::Sorvex, programs, prompt),
              RestoreResult::EndStep);
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_EQ(boxes.texts()[0], programs +
                                    "/sorvex.params file \ndoes not exist. This should have been "
                                    "installed \non your system when you installed "
                                    "ZarvikBrowser.\nUnable to complete request\n");
    EXPECT_EQ(ReadBytes(paramPath), "[SORVEX]\nbroken = 1\n");
}

TEST_F(RestoreTest, CopyThatCannotBeWrittenKeepsWhatIsThereAndEndsTheStep) {
    WriteBytes(programs + "/sorvex.params", "[SORVEX]\nfirst_database_name = x.fasta\n");
    // A folder now stands where the parameter file was: it cannot be replaced.
    ASSERT_TRUE(QFile::remove(paramPath));
    ASSERT_TRUE(QDir().mkpath(paramPath + "/inside"));
    FakePrompt prompt(InvalidParamsOption::CopyDefaultFile);
    boxes.answerNext(IDOK);
    EXPECT_EQ(RestoreParamFile(store, ParamFileType::Sorvex, programs, prompt),
              RestoreResult::EndStep);
    EXPECT_TRUE(QDir(paramPath + "/inside").exists());
    EXPECT_EQ(store.Text(), "[SORVEX]\nbroken = 1\n");
    ASSERT_EQ(boxes.texts().size(), 2);
    EXPECT_TRUE(boxes.texts()[1].startsWith("Couldn't open the parameter file:\n" + paramPath));
}

TEST_F(RestoreTest, DefaultValuesReplaceTheFileContents) {
    FakePrompt prompt(InvalidParamsOption::UseDefaultValues);
    boxes.answerNext(IDOK);
    EXPECT_EQ(RestoreParamFile(store, ParamFileType::Sorvex, programs, prompt),
              RestoreResult::DefaultsLoaded);
    EXPECT_FALSE(QFile::exists(paramPath));
    EXPECT_EQ(store.GetLineCount(), 75);
    EXPECT_EQ(store.GetPath(), paramPath);
    // The question, then the open message as the file is gone.
    ASSERT_EQ(boxes.texts().size(), 2);
    EXPECT_TRUE(boxes.texts()[1].startsWith("Couldn't open the parameter file\n\n"));
}

TEST_F(RestoreTest, LeavingTheFileChangesNothing) {
    FakePrompt prompt(InvalidParamsOption::LeaveFile);
    EXPECT_EQ(RestoreParamFile(store, ParamFileType::Massmap, programs, prompt),
              RestoreResult::Unchanged);
    EXPECT_EQ(prompt.shownStem, "massmap");
    EXPECT_EQ(prompt.shownLabel, "Peptide Mapping");
    EXPECT_TRUE(boxes.texts().isEmpty());
    EXPECT_EQ(store.Text(), "[SORVEX]\nbroken = 1\n");
}

TEST_F(RestoreTest, NoProgramFolderDoesNothing) {
    FakePrompt prompt(InvalidParamsOption::UseDefaultValues);
    EXPECT_EQ(RestoreParamFile(store, ParamFileType::Sorvex, QString(), prompt),
              RestoreResult::Unchanged);
    EXPECT_EQ(prompt.calls, 0);
    EXPECT_TRUE(QFile::exists(paramPath));
}

TEST(InvalidParamsTexts, AreFormattedWithStemAndLabel) {
    EXPECT_EQ(InvalidParamsIntroText("sorvex"),
              "A parameter file (\"sorvex.params\") is required but the current parameter file "
              "is\ninvalid.  Please choose one of the options below (the first 2 choices "
              "will\noverwrite the current parameter file) and then click OK:");
    EXPECT_EQ(InvalidParamsExitOptionText("Peptide Mapping"),
              "&Exit Peptide Mapping and manually edit the parameters file.\nNote : An editor "
              "will not be started automatically.");
}

}  // namespace
