#include <gtest/gtest.h>

#include <regex>

#include "Chromium.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "online/HighscoreTable.hpp"
#include "online/client/HighscoreClient.hpp"
#include "sim/run/ScoreText.hpp"

// The web board as a browser shows it: a real headless Chromium renders the
// pages, and the rows are read from the document it built.

namespace {

using Row = std::vector<std::string>;

// The cell texts of every row with data cells of the document Chromium builds
// from `url`.
std::vector<Row> renderedRows(const std::string& url, const TempFolder& folder) {
    const std::string html = renderedDocument(url, folder);
    EXPECT_FALSE(html.empty()) << url;
    static const std::regex row("<tr>(.*?)</tr>");
    // A verified time is a link to its record's page.
    static const std::regex cell("<td[^>]*>(?:<a [^>]*>)?([^<]*)(?:</a>)?</td>");
    std::vector<Row> rows;
    for (std::sregex_iterator r(html.begin(), html.end(), row), end; r != end; ++r) {
        const std::string inside = (*r)[1];
        Row cells;
        for (std::sregex_iterator c(inside.begin(), inside.end(), cell); c != end; ++c) {
            cells.push_back((*c)[1]);
        }
        if (!cells.empty()) {
            rows.push_back(cells);
        }
    }
    return rows;
}

// The first `count` rows of a table as the game fetched it: position, the time
// as the game shows it, date, name and an empty verified mark.
void appendRows(const HighscoreTable& table, unsigned count, std::vector<Row>& rows) {
    for (unsigned r = 0; r < std::min(count, table.recordCount()); ++r) {
        rows.push_back({table.field(r, 0), tableTimeText(std::stof(table.field(r, 3))),
                        table.field(r, 1), table.field(r, 2), ""});
    }
}

}  // namespace

TEST(WebBoard, ChromiumShowsTheTopTenOfEveryLevelAndWholeTables) {
    TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    ASSERT_TRUE(server.start()) << server.log();
    const HighscoreClient game(server.address());
    const std::vector<std::string> names = {"Mr. Fast, Jr 15",
                                            "ann",
                                            "bob",
                                            "cy",
                                            "dee",
                                            "eve",
                                            "fay",
                                            "gus",
                                            "hal",
                                            "ivy",
                                            "jo 2",
                                            "kim"};
    const float times[] = {75.5f, 12.3456f, 9.9996f, 30, 31, 32, 33, 34, 35, 600.25f, 36, 5};
    for (std::size_t i = 0; i < names.size(); ++i) {
        game.submitScore(names[i], 1, 250, encodeTime(times[i]));
    }
    game.submitScore("zed", 2, 20057, encodeTime(44.5f));
    HighscoreTable race;
    HighscoreTable puzzle;
    game.fetchTable(1, 250, race);
    game.fetchTable(2, 20057, puzzle);
    ASSERT_EQ(race.recordCount(), names.size());

    // Levels with no record show none; the name at the length limit is whole.
    std::vector<Row> front;
    appendRows(race, 10, front);
    appendRows(puzzle, 10, front);
    EXPECT_EQ(renderedRows("http://" + server.address() + "/", folder), front);
    std::vector<Row> whole;
    appendRows(race, 100, whole);
    EXPECT_EQ(renderedRows("http://" + server.address() + "/table/1/250", folder), whole);
}
