#include <gtest/gtest.h>

#include <tuple>

#include "TestTables.hpp"
#include "online/HighscoreTable.hpp"

namespace {

HighscoreTable split(const std::string& text) {
    HighscoreTable table;
    splitTokens(text, "\n\t", table.tokens);
    return table;
}

}  // namespace

// Times rounded and cut to milliseconds, positions right-aligned in six or
// written whole; a carriage return stays part of the last field.
TEST(RowText, ShowsPositionTimeDayAndName) {
    const std::pair<const char*, const char*> rows[] = {
        {"1\tx\tracer\t12.5\r\n", "     1. 12.500  x  racer"},
        {"1\tx\tracer\t75.5", "     1. 1:15.500  x  racer"},
        {"1\tx\tracer\t12.3456", "     1. 12.346  x  racer"},
        {"1\tx\tracer\t9.9996", "     1. 10.000  x  racer"},
        // Not a number: shown as no time rather than anything undefined.
        {"1\tx\tracer\tabc", "     1. 0.000  x  racer"},
        {"123456\ta\tb\t1", "123456. 1.000  a  b"},
        {"1234567\tc\td\t2", "1234567. 2.000  c  d"},
    };
    for (const auto& [text, shown] : rows) {
        EXPECT_EQ(split(text).rowText(0), shown) << text;
    }
    EXPECT_EQ(split("1\tx\tracer\t12.5\r\n2\ty\tother\t13\r\n").field(1, 3), "13\r");
    EXPECT_EQ(tableTimeText(3599.5f), "59:59.500");
    EXPECT_EQ(tableTimeText(999999.0f).find('e'), std::string::npos);
}

TEST(HighscoreTable, OnlyCompleteRecordsCount) {
    HighscoreTable table = split("1\tx\tracer\t12.5\n2\ty\tme");
    EXPECT_EQ(table.tokens.size(), 7u);
    EXPECT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(table.rowText(1), "");
    EXPECT_EQ(table.field(1, 2), "");
    // The incomplete record's name is not searched.
    table.findOwnRecord("me", 5);
    EXPECT_EQ(table.ownRecord, HighscoreTable::kNoRecord);
}

TEST(HighscoreTable, OwnRecordScrollsItBelowTheLeadRowsAndTheFirstOfEqualNamesWins) {
    // Own index, lead rows kept above it, first row shown.
    for (auto [own, lead, first] :
         {std::tuple{5u, 5u, 0u}, {12u, 5u, 7u}, {9u, 9u, 0u}, {10u, 9u, 1u}}) {
        HighscoreTable table = tableOf(30, own, "me");
        table.findOwnRecord("me", lead);
        EXPECT_EQ(table.ownRecord, static_cast<int>(own));
        EXPECT_EQ(table.firstShown, first) << own << " " << lead;
    }

    HighscoreTable table = tableOf(12, 3, "me");
    table.tokens[8 * 4 + 2] = "me";
    table.tokens[1 * 4 + 2] = "Me";
    table.findOwnRecord("me", 0);
    EXPECT_EQ(table.ownRecord, 3);
    EXPECT_EQ(table.firstShown, 3u);

    // A later search that finds nothing resets both.
    table.findOwnRecord("nobody", 5);
    EXPECT_EQ(table.ownRecord, HighscoreTable::kNoRecord);
    EXPECT_EQ(table.firstShown, 0u);
}
