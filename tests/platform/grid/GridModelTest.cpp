// The cell store without a window: every cell keeps its own kind (number, text, empty) in a
// column of any mix, texts that repeat stay right however their cells change, and the counts can
// grow and shrink around the values.

#include "grid/GridModel.h"

#include <QFont>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <variant>

using namespace zar;

namespace {

using Entry = std::variant<std::monostate, double, QString>;

void Put(CGXGridModel& model, int row, int col, const Entry& entry) {
    if (const auto* number = std::get_if<double>(&entry)) model.SetNumber(row, col, *number);
    else if (const auto* text = std::get_if<QString>(&entry)) model.SetValue(row, col, *text);
    else model.ClearValue(row, col);
}

Qt::Alignment AlignmentOf(const CGXGridModel& model, int row, int col) {
    return model.data(model.index(row - 1, col - 1), Qt::TextAlignmentRole).value<Qt::Alignment>();
}

}  // namespace

TEST(GridModel, EachCellKeepsItsKindValueAndFormat) {
    struct Case {
        const char* what;
        Entry entry;
        CGXStyle columnStyle;
        bool number;
        bool empty;
        QString value;    // as stored
        QString display;  // as shown
        Qt::Alignment alignment;
    };
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const std::vector<Case> cases = {
        {"number, general", 1234.5678, CGXStyle(), true, false, "1234.5678", "1234.5678", right},
        {"number, fixed", 1234.5678, CGXStyle().setFormat(GridNumberFormat::Fixed, 2), true, false, "1234.5678",
         "1234.57", right},
        {"number, scientific", 0.00123, CGXStyle().setFormat(GridNumberFormat::Scientific, 1), true, false, "0.00123",
         "1.2e-03", right},
        {"zero is a number", 0.0, CGXStyle().setFormat(GridNumberFormat::Fixed, 1), true, false, "0", "0.0", right},
        {"text that reads as a number", QStringLiteral("42"), CGXStyle().setFormat(GridNumberFormat::Fixed, 2), false,
         false, "42", "42", left},
        {"text", QStringLiteral("K.LVNELTEFAK.T"), CGXStyle(), false, false, "K.LVNELTEFAK.T", "K.LVNELTEFAK.T", left},
        {"empty text empties the cell", QString(), CGXStyle(), false, true, "", "", left},
        {"cleared", std::monostate(), CGXStyle(), false, true, "", "", left},
        {"aligned by the style", 7.0, CGXStyle().setAlignment(Qt::AlignCenter), true, false, "7", "7",
         Qt::AlignCenter},
    };
    for (const Case& c : cases) {
        CGXGridModel model;
        model.SetColCount(3);
        model.SetRowCount(4);
        // The column mixes kinds: a text above, a number below, the case in between.
        model.SetValue(1, 2, QStringLiteral("above"));
        model.SetNumber(3, 2, 99.0);
        model.SetStyle(CGXRange::cols(2, 2), c.columnStyle);
        model.SetNumber(2, 2, -1.0);  // overwritten by the case
        Put(model, 2, 2, c.entry);
        EXPECT_EQ(model.IsNumber(2, 2), c.number) << c.what;
        EXPECT_EQ(model.IsEmpty(2, 2), c.empty) << c.what;
        EXPECT_EQ(model.GetValue(2, 2), c.value) << c.what;
        EXPECT_EQ(model.GetDisplayText(2, 2), c.display) << c.what;
        EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString(), c.display) << c.what;
        EXPECT_EQ(AlignmentOf(model, 2, 2), c.alignment) << c.what;
        EXPECT_EQ(model.GetNumber(2, 2), c.number ? std::get<double>(c.entry) : 0.0) << c.what;
        EXPECT_EQ(model.GetValue(1, 2), QStringLiteral("above")) << c.what << ": the neighbours stay";
        EXPECT_EQ(model.GetNumber(3, 2), 99.0) << c.what;
        EXPECT_TRUE(model.IsEmpty(4, 2)) << c.what << ": a cell never set is empty";
    }
}

// A view that sorts a column by what the cells hold orders numbers by value and puts them apart
// from texts; a text column of digits would sort "10" before "9".
TEST(GridModel, NumbersSortAsNumbersAndTextsAsTexts) {
    CGXGridModel model;
    model.SetColCount(2);
    const std::vector<double> numbers = {10.0, 9.0, 100.5, -3.0, 0.5};
    model.SetRowCount(static_cast<int>(numbers.size()) + 2);
    for (int r = 1; r <= static_cast<int>(numbers.size()); ++r) {
        model.SetNumber(r, 1, numbers[static_cast<std::size_t>(r - 1)]);
        model.SetValue(r, 2, QString::number(numbers[static_cast<std::size_t>(r - 1)]));
    }
    model.SetValue(6, 1, QStringLiteral("n/a"));  // a text among the numbers; row 7 stays empty
    std::vector<int> rows(static_cast<std::size_t>(model.GetRowCount()));
    std::iota(rows.begin(), rows.end(), 1);
    // Numbers first by value, then texts by text, then empty cells.
    const auto byColumn1 = [&](int a, int b) {
        const auto rank = [&](int r) { return model.IsNumber(r, 1) ? 0 : model.IsEmpty(r, 1) ? 2 : 1; };
        if (rank(a) != rank(b)) return rank(a) < rank(b);
        if (rank(a) == 0) return model.GetNumber(a, 1) < model.GetNumber(b, 1);
        return model.GetValue(a, 1) < model.GetValue(b, 1);
    };
    std::stable_sort(rows.begin(), rows.end(), byColumn1);
    EXPECT_EQ(rows, (std::vector<int>{4, 5, 2, 1, 3, 6, 7}));
    std::stable_sort(rows.begin(), rows.begin() + 5,
                     [&](int a, int b) { return model.GetValue(a, 2) < model.GetValue(b, 2); });
    EXPECT_EQ(rows, (std::vector<int>{4, 5, 1, 3, 2, 6, 7})) << "\"-3\" \"0.5\" \"10\" \"100.5\" \"9\"";
}

// Many cells share a text; changing, clearing or cutting off some of them leaves the others'.
TEST(GridModel, RepeatedTextsStayRightAsTheirCellsChange) {
    CGXGridModel model;
    model.SetColCount(3);
    const int rows = 2000;
    model.SetRowCount(rows);
    const QString names[] = {QStringLiteral("ALBU_BOVIN"), QStringLiteral("MYG_HORSE"), QStringLiteral("CYC_HORSE")};
    for (int r = 1; r <= rows; ++r) {
        model.SetValue(r, 1, names[r % 3]);                                   // repeats
        model.SetValue(r, 2, QStringLiteral("scan %1").arg(r));               // never repeats
        model.SetValue(r, 3, r % 2 ? names[0] : QStringLiteral("scan 7"));    // repeats a text of column 2
    }
    model.SetValue(0, 1, names[1]);  // a title equal to cell texts
    for (int r = 1; r <= rows; r += 5) model.ClearValue(r, 1);
    for (int r = 2; r <= rows; r += 7) model.SetValue(r, 1, QStringLiteral("changed"));
    for (int r = 3; r <= rows; r += 11) model.SetNumber(r, 1, r);
    model.SetValue(7, 2, QStringLiteral("scan 7b"));  // the text column 3 shares goes from column 2
    model.SetRowCount(rows - 100);
    model.SetRowCount(rows);
    for (int r = 1; r <= rows - 100; ++r) {
        QString expected = names[r % 3];
        if ((r - 1) % 5 == 0) expected.clear();
        if ((r - 2) % 7 == 0 && r >= 2) expected = QStringLiteral("changed");
        if ((r - 3) % 11 == 0 && r >= 3) expected = QString::number(r);
        ASSERT_EQ(model.GetValue(r, 1), expected) << r;
        ASSERT_EQ(model.GetValue(r, 2), r == 7 ? QStringLiteral("scan 7b") : QStringLiteral("scan %1").arg(r)) << r;
        ASSERT_EQ(model.GetValue(r, 3), r % 2 ? names[0] : QStringLiteral("scan 7")) << r;
    }
    for (int r = rows - 99; r <= rows; ++r)
        for (int c = 1; c <= 3; ++c) ASSERT_TRUE(model.IsEmpty(r, c)) << "rows cut off and grown again are empty";
    EXPECT_EQ(model.GetValue(0, 1), names[1]);
    // Freed texts are reused for new ones without touching the cells that kept theirs.
    for (int r = 1; r <= rows; ++r) model.SetValue(r, 1, QStringLiteral("new %1").arg(r % 4));
    EXPECT_EQ(model.GetValue(0, 1), names[1]);
    EXPECT_EQ(model.GetValue(5, 1), QStringLiteral("new 1"));
    EXPECT_EQ(model.GetValue(5, 3), names[0]);
}

// Cells styled one by one keep their styles through inserted and removed rows and columns.
TEST(GridModel, CellStylesMoveWithTheirRows) {
    CGXGridModel model;
    model.SetColCount(2);
    model.SetRowCount(3);
    model.SetStyle(CGXRange::cell(2, 2), CGXStyle().setBold(true).setFormat(GridNumberFormat::Fixed, 1));
    model.SetNumber(2, 2, 1.25);
    model.InsertRows(1, 2);
    EXPECT_EQ(model.GetDisplayText(4, 2), QStringLiteral("1.2"));
    EXPECT_TRUE(model.GetStyle(4, 2).bold.value_or(false));
    EXPECT_FALSE(model.GetStyle(2, 2).bold.has_value());
    EXPECT_EQ(model.data(model.index(3, 1), Qt::FontRole).value<QFont>().bold(), true);
    model.RemoveRows(1, 3);
    EXPECT_TRUE(model.GetStyle(1, 2).bold.value_or(false));
    EXPECT_EQ(model.GetDisplayText(1, 2), QStringLiteral("1.2"));
    model.SetColCount(1);
    model.SetColCount(2);
    EXPECT_FALSE(model.GetStyle(1, 2).bold.has_value()) << "a column taken away and added again starts plain";
    EXPECT_TRUE(model.IsEmpty(1, 2));
}
