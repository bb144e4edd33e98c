#include <gtest/gtest.h>

#include <tuple>

#include "online/HighscoreTable.hpp"

namespace {

// A table of `count` records named "p0", "p1", ..., with the given names put
// in at chosen indexes.
HighscoreTable tableOf(unsigned count, std::vector<std::pair<unsigned, std::string>> names = {}) {
    HighscoreTable table;
    for (unsigned r = 0; r < count; ++r) {
        std::string name = "p" + std::to_string(r);
        for (const auto& [index, given] : names) {
            if (index == r) {
                name = given;
            }
        }
        table.tokens.insert(table.tokens.end(),
                            {std::to_string(r + 1), "2024-05-01", name, "12.5"});
    }
    return table;
}

std::string rowFor(const std::string& seconds) {
    HighscoreTable table;
    splitTokens("1\tx\tracer\t" + seconds + "\n", "\n\t", table.tokens);
    return table.rowText(0);
}

}  // namespace

TEST(SplitTokens, CarriageReturnIsPartOfTheLastField) {
    HighscoreTable table;
    splitTokens("1\tx\tracer\t12.5\r\n2\ty\tother\t13\r\n", "\n\t", table.tokens);
    ASSERT_EQ(table.recordCount(), 2u);
    EXPECT_EQ(table.field(0, 3), "12.5\r");
    EXPECT_EQ(table.field(1, 3), "13\r");
    EXPECT_EQ(table.rowText(0), "     1. 12.500  x  racer");
}

TEST(HighscoreTable, OnlyCompleteRecordsCount) {
    HighscoreTable table;
    splitTokens("1\tx\tracer\t12.5\n2\ty\tme", "\n\t", table.tokens);
    EXPECT_EQ(table.tokens.size(), 7u);
    EXPECT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(table.rowText(1), "");
    EXPECT_EQ(table.field(1, 2), "");
    // The incomplete record's name is not searched.
    table.findOwnRecord("me", 5);
    EXPECT_EQ(table.ownRecord, HighscoreTable::kNoRecord);
}

TEST(HighscoreTable, OwnRecordScrollsItBelowTheLeadRows) {
    // Own index, lead rows kept above it, first row shown.
    for (auto [own, lead, first] :
         {std::tuple{5u, 5u, 0u}, {12u, 5u, 7u}, {9u, 9u, 0u}, {10u, 9u, 1u}}) {
        HighscoreTable table = tableOf(30, {{own, "me"}});
        table.findOwnRecord("me", lead);
        EXPECT_EQ(table.ownRecord, static_cast<int>(own));
        EXPECT_EQ(table.firstShown, first) << own << " " << lead;
    }
}

TEST(HighscoreTable, FirstOfSeveralEqualNamesWinsAndCaseMatters) {
    HighscoreTable table = tableOf(12, {{3, "me"}, {8, "me"}, {1, "Me"}});
    table.findOwnRecord("me", 0);
    EXPECT_EQ(table.ownRecord, 3);
    EXPECT_EQ(table.firstShown, 3u);

    // A later search that finds nothing resets both.
    table.findOwnRecord("nobody", 5);
    EXPECT_EQ(table.ownRecord, HighscoreTable::kNoRecord);
    EXPECT_EQ(table.firstShown, 0u);
}

TEST(RowText, TimesAreRoundedAndCutToMilliseconds) {
    EXPECT_EQ(rowFor("75.5"), "     1. 1:15.500  x  racer");
    EXPECT_EQ(rowFor("12.3456"), "     1. 12.346  x  racer");
    EXPECT_EQ(rowFor("9.9996"), "     1. 10.000  x  racer");
    // Not a number: shown as no time rather than anything undefined.
    EXPECT_EQ(rowFor("abc"), "     1. 0.000  x  racer");
}

TEST(RowText, PositionIsRightAlignedInSixOrWrittenWhole) {
    HighscoreTable table;
    splitTokens("123456\ta\tb\t1\n1234567\tc\td\t2\n", "\n\t", table.tokens);
    EXPECT_EQ(table.rowText(0), "123456. 1.000  a  b");
    EXPECT_EQ(table.rowText(1), "1234567. 2.000  c  d");
}

TEST(TableTimeText, KeepsTheMinuteFormAcrossLargeTimes) {
    EXPECT_EQ(tableTimeText(3599.5f), "59:59.500");
    EXPECT_EQ(tableTimeText(999999.0f).find('e'), std::string::npos);
}
