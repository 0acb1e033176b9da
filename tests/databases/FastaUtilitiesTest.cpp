#include "databases/FastaUtilities.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace zar;

TEST(FastaUtilities, ValidityOfADatabase) {
    QTemporaryDir dir;
    zartest::MessageBoxCapture boxes;
    const struct {
        QString path;
        bool valid;
        const char* message;
    } cases[] = {
        {"", false, "Please select a database"},
        {dir.filePath("absent.fasta"), false, "Problem opening database."},
        {dbtest::WriteFile(dir, "a.fasta", "PEPTIDE\n"), false,
         "The database is not a valid Protein database.\nPlease select another file."},
        {dbtest::WriteFile(dir, "b.fasta", ">only a header"), false,
         "The database is not a valid Protein database.\nPlease select another file."},
        {dbtest::WriteFile(dir, "c.fasta", ">ok\nK\n"), true, ""},
        {dbtest::WriteFile(dir, "d.fasta", ">" + QByteArray(5000, 'h') + "\nK\n"), true, ""},
    };
    for (const auto& c : cases) {
        boxes.clear();
        EXPECT_EQ(IsValidProteinDatabase(c.path), c.valid) << c.path.toStdString();
        EXPECT_EQ(boxes.texts().join(""), c.message);
    }
}

TEST(FastaUtilities, SequenceLinesOfEighty) {
    EXPECT_EQ(SequenceLines(QByteArray(200, 'A')),
              QByteArray(80, 'A') + "\n" + QByteArray(80, 'A') + "\n" + QByteArray(40, 'A') + "\n");
    EXPECT_EQ(SequenceLines(""), "\n");
}

TEST(FastaUtilities, AddEntryWithEachMassOption) {
    QTemporaryDir dir;
    zartest::MessageBoxCapture boxes;
    const QString db = dbtest::WriteFile(dir, "db.fasta", ">first\nK");  // no final line end
    AddEntryRequest request;
    request.databasePath = db;
    request.description = "nuc";
    request.sequence = "acgx";
    request.nucleotide = true;
    ASSERT_TRUE(AddDatabaseEntry(request).added);
    request.description = ">prot";
    request.sequence = "GG";
    request.nucleotide = false;
    request.massOption = 1;
    request.userMass = 1234.6;
    ASSERT_TRUE(AddDatabaseEntry(request).added);
    request.massOption = 2;
    ASSERT_TRUE(AddDatabaseEntry(request).added);
    EXPECT_EQ(dbtest::ReadFile(db),
              ">first\nK\n>nuc [MASS=932]\nACGX\n>prot [MASS=1235]\nGG\n>prot\nGG\n");
    EXPECT_EQ(boxes.texts(), QStringList(3, "Entry added successfully."));
    EXPECT_EQ(boxes.shown()[0].style & MB_ICONMASK, unsigned(MB_ICONINFORMATION));
}

TEST(FastaUtilities, AddEntryRefusesCharactersWithoutMass) {
    QTemporaryDir dir;
    zartest::MessageBoxCapture boxes;
    const QByteArray before = ">first\nK\n";
    const QString db = dbtest::WriteFile(dir, "db.fasta", before);
    AddEntryRequest request;
    request.databasePath = db;
    request.description = "x";
    request.sequence = "MKJV";
    auto result = AddDatabaseEntry(request);
    EXPECT_FALSE(result.added);
    EXPECT_EQ(result.badIndex, 2);
    request.sequence = "ACGB";
    request.nucleotide = true;
    result = AddDatabaseEntry(request);
    EXPECT_EQ(result.badIndex, 3);
    request.sequence = QString::fromUtf8("AC\xc3\x9f");  // a letter outside ASCII
    result = AddDatabaseEntry(request);
    EXPECT_EQ(result.badIndex, 2);
    EXPECT_EQ(dbtest::ReadFile(db), before);
    ASSERT_EQ(boxes.texts().size(), 3);
    EXPECT_TRUE(boxes.texts()[0].startsWith("Protein sequence contains character"));
    EXPECT_TRUE(boxes.texts()[1].startsWith("Nucleotide sequence contains character"));
}

TEST(FastaUtilities, AnnotationRemoval) {
    EXPECT_EQ(WithoutMassAnnotation("a b [MASS=12] c"), "a b c");
    EXPECT_EQ(WithoutMassAnnotation("a [MASS=12"), "a");
    EXPECT_EQ(WithoutMassAnnotation("plain"), "plain");
}
