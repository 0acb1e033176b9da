#include "databases/SearchInfoReader.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace zar;

TEST(SearchInfoReader, ChargesThatAreNoWholeNumberReadAsNone) {
    const QByteArray original =
        dbtest::ReadFile(zartest::DataPath(QStringLiteral("databases/fasta/search.out")));
    ASSERT_TRUE(original.contains("(+2)"));
    const struct {
        const char* written;
        const char* shown;
    } cases[] = {
        {"(+2)", "Charge:  2"},    {"(+3.7)", "Charge:  3"},
        {"(+1e30)", "Charge:  0"}, {"(+288888888888888888888)", "Charge:  0"},
        {"(+nan)", "Charge:  0"},  {"(+inf)", "Charge:  0"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        QByteArray text = original;
        text.replace("(+2)", c.written);
        const QString path = dbtest::WriteFile(dir, "hit.out", text);
        SearchInfoText info;
        ASSERT_TRUE(ReadSearchInfoText(path, OutHeaderLayout::SearchEngine, info));
        EXPECT_EQ(info.charge.toStdString(), c.shown) << c.written;
        EXPECT_EQ(info.precursor.toStdString(), "Precursor mass:  1234.568 +/- 1.50");
    }
}
