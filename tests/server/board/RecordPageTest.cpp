#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <regex>

#include "Chromium.hpp"
#include "RunServerTest.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/HighscoreTable.hpp"
#include "online/client/HighscoreClient.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/level/TileKinds.hpp"
#include "sim/level/TileMap.hpp"
#include "sim/run/ScoreText.hpp"

// The web board as a real headless Chromium renders it: the top ten of every
// level, whole tables, and the page of a record the real server verified, the
// level's map with the route of the server's own replay over it, and the run
// to download.

using namespace HighscoreProtocol;

namespace {

const CommittedRun& kLabyrinth = kCommittedRuns[0];
const std::string kName = "Mr. Fast, Jr 15";
// Positions in cells: the map's viewBox has one unit per cell.
constexpr double kBallRadius = 30.0 / 64.0;
// The ball moves on for the rest of the frame in which it touched the finish.
constexpr double kFinishSlack = 0.25;

using Row = std::vector<std::string>;

// The cell texts of every row of a document's tables.
std::vector<Row> renderedRows(const std::string& html) {
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

// The first `count` rows of a table as the game fetched it, as the board
// shows them: position, time, day, name and the verified mark.
void appendRows(const HighscoreTable& table, unsigned count, std::vector<Row>& rows) {
    for (unsigned r = 0; r < std::min(count, table.recordCount()); ++r) {
        const std::string day = table.field(r, 1);  // " replay" follows a verified one's
        rows.push_back({table.field(r, 0), tableTimeText(std::stof(table.field(r, 3))),
                        day.substr(0, 10), table.field(r, 2), day.size() > 10 ? "\u2713" : ""});
    }
}

struct Point {
    double x = 0;
    double y = 0;
};

std::vector<Point> routePoints(const std::string& document) {
    static const std::regex polyline("<polyline points=\"([^\"]*)\"");
    std::smatch found;
    std::vector<Point> points;
    if (!std::regex_search(document, found, polyline)) {
        return points;
    }
    static const std::regex point("(-?[0-9.]+),(-?[0-9.]+)");
    const std::string text = found[1];
    for (std::sregex_iterator p(text.begin(), text.end(), point), end; p != end; ++p) {
        points.push_back({std::stod((*p)[1]), std::stod((*p)[2])});
    }
    return points;
}

// How far the point is from the cell (column, row), 0 inside it.
double distanceFromCell(const Point& point, int column, int row) {
    const double dx = std::max({column - point.x, 0.0, point.x - (column + 1)});
    const double dy = std::max({row - point.y, 0.0, point.y - (row + 1)});
    return std::hypot(dx, dy);
}

std::vector<std::pair<int, int>> cellsOf(const TileMap& map, int tileId) {
    std::vector<std::pair<int, int>> cells;
    for (int row = 0; row < map.height; ++row) {
        for (int column = 0; column < map.width; ++column) {
            if (map.tiles[static_cast<std::size_t>(row * map.width + column)] == tileId) {
                cells.emplace_back(column, row);
            }
        }
    }
    return cells;
}

bool changeStore(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    const bool done = sqlite3_open(file.c_str(), &db) == SQLITE_OK &&
                      sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return done;
}

}  // namespace

using RecordPage = RunServerTest;
INSTANTIATE_TEST_SUITE_P(Sqlite, RecordPage, ::testing::Values(Backend::Sqlite), backendName);

// The Labyrinth's board: a faster time without a run, then the committed run
// verified, then more times, three of them faster than the verified one, and
// a puzzle level's; other levels show none.
TEST_P(RecordPage, ChromiumShowsTablesAndTheServersRouteTheRunDownloadsAndHostilePathsAreRefused) {
    start();
    const auto url = [&](const std::string& path) { return "http://" + server.address() + path; };
    const std::string run = slurpFile(kLabyrinth.file);
    post(kSubmitPath, submissionBody("quick", kLabyrinth.mode, kLabyrinth.level, encodeTime(5.0f)));
    ASSERT_EQ(verdictOf(runSubmission(kName, run)).body, "OK verified\n");
    const HighscoreClient game(server.address());
    const std::pair<const char*, float> more[] = {
        {"ann", 12.3456f}, {"bob", 9.9996f}, {"cy", 30},    {"dee", 31},
        {"eve", 32},       {"fay", 33},      {"gus", 34},   {"hal", 35},
        {"ivy", 600.25f},  {"jo 2", 36},     {"kim", 75.5f}};
    for (const auto& [name, seconds] : more) {
        game.submitScore(name, 1, 250, encodeTime(seconds));
    }
    game.submitScore("zed", 2, 20057, encodeTime(44.5f));
    HighscoreTable race;
    HighscoreTable puzzle;
    game.fetchTable(1, 250, race);
    game.fetchTable(2, 20057, puzzle);
    ASSERT_EQ(race.recordCount(), 13u);
    std::vector<Row> front;
    appendRows(race, 10, front);
    appendRows(puzzle, 10, front);
    EXPECT_EQ(renderedRows(renderedDocument(url("/"), folder)), front);

    TileMap level;
    ASSERT_TRUE(parseTileMap(level, slurpFile("data/levels/TheLabyrinth.tmx")));
    const std::string viewBox =
        "viewBox=\"0 0 " + std::to_string(level.width) + " " + std::to_string(level.height) + "\"";

    // The level page: the map without a route; the verified time links to
    // its page, the faster time without a run to none.
    const std::string table = renderedDocument(url("/table/1/250"), folder);
    std::vector<Row> whole;
    appendRows(race, 100, whole);
    EXPECT_EQ(renderedRows(table), whole);
    EXPECT_NE(table.find("<svg class=\"map\" " + viewBox), std::string::npos) << table;
    EXPECT_EQ(table.find("<polyline"), std::string::npos);
    const std::regex recordLink("href=\"/run/");
    EXPECT_EQ(std::distance(std::sregex_iterator(table.begin(), table.end(), recordLink), {}), 1);
    EXPECT_NE(table.find("href=\"/run/1/250/4\""), std::string::npos);

    const std::string page = renderedDocument(url("/run/1/250/4"), folder);
    EXPECT_NE(page.find("<svg class=\"map\" " + viewBox), std::string::npos) << page;
    const float seconds = static_cast<float>(recordedMs(run)) / 1000.0f;
    EXPECT_TRUE(std::regex_search(
        page, std::regex("<dd>4</dd>.*<dd>" + tableTimeText(seconds) + "</dd>.*<dd>" + kName +
                         "</dd>.*<dd>\\d{4}-\\d\\d-\\d\\d</dd>")))
        << page;
    EXPECT_NE(page.find("twenty points a second"), std::string::npos);

    // The route: inside the level, from the ball's start cell to the finish.
    const auto points = routePoints(page);
    ASSERT_GE(points.size(), 100u) << page;
    for (const Point& point : points) {
        EXPECT_TRUE(point.x >= 0 && point.x <= level.width && point.y >= 0 &&
                    point.y <= level.height)
            << point.x << "," << point.y;
    }
    const auto starts = cellsOf(level, TileId::ballStart);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NEAR(points.front().x, starts[0].first + 0.5, 0.01);
    EXPECT_NEAR(points.front().y, starts[0].second + 0.5, 0.01);
    const auto finishes = cellsOf(level, TileId::finish);
    ASSERT_FALSE(finishes.empty());
    double nearest = level.width;
    for (const auto& [column, row] : finishes) {
        nearest = std::min(nearest, distanceFromCell(points.back(), column, row));
    }
    EXPECT_LE(nearest, kBallRadius + kFinishSlack) << points.back().x << "," << points.back().y;

    // The page's link hands out the run as the server keeps it: the committed
    // file itself.
    const std::string runPath = "/run/1/250/4/" + sha256Hex(run) + ".run";
    EXPECT_NE(page.find("href=\"" + runPath + "\" download="), std::string::npos) << page;
    const auto answer = get(runPath);
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.body, run);
    EXPECT_NE(answer.headers.find("Content-Disposition: attachment; "
                                  "filename=\"TheLabyrinth-4-MrFastJr15.run\"\r\n"),
              std::string::npos)
        << answer.headers;

    const std::string hash(64, 'a');
    std::vector<std::tuple<std::string, int, std::string>> paths = {
        {"/run/1/250/1", 404, "not verified"},
        {"/run/1/250/14", 404, "no record at this place"},
        {"/run/1/250/999999", 404, "no record at this place"},
        {"/run/1/250/4/" + sha256Hex("another run") + ".run", 404, "has left its place"},
        {"/table/1/" + hash, 404, "No such table"},
        {"/table/1/0250", 404, "No such table"},
    };
    const std::string noSuchRecord[] = {"/run/1/250/9999999999999999999999",
                                        "/run/1/250/0",
                                        "/run/1/250/04",
                                        "/run/1/250/-4",
                                        "/run/1/250/four",
                                        "/run/1/251/1",
                                        "/run/2/250/1",
                                        "/run/1/" + hash + "/1",
                                        "/run/1//4",
                                        "/run/",
                                        "/run/1/250/4/",
                                        "/run/1/250/4/" + sha256Hex(run) + ".txt",
                                        "/run/1/250/4" + runPath};
    for (const std::string& path : noSuchRecord) {
        paths.emplace_back(path, 404, "No such record");
    }
    for (const auto& [path, status, says] : paths) {
        const auto refused = get(path);
        EXPECT_EQ(refused.status, status) << path;
        EXPECT_NE(refused.body.find(says), std::string::npos) << path << refused.body;
    }
    EXPECT_EQ(post("/run/1/250/4", "x").status, 405);

    // A route spoiled in the store: the record keeps its page and its run,
    // and the page says why it shows no route.
    const std::pair<const char*, const char*> spoiled[] = {
        {"X'02000000000000000000'", "cannot be read"},
        {"X'01'", "cannot be read"},
        {"X'01000000000000'", "cannot be read"},
        {"X'0100000000'", "cannot be read"},
        {"X'01' || zeroblob(200000)", "cannot be read"},
        {"NULL", "verified before the server kept routes"},
    };
    for (const auto& [route, says] : spoiled) {
        ASSERT_TRUE(changeStore(board, std::string("UPDATE best_times SET verified_route = ") +
                                           route + " WHERE name = '" + kName + "'"));
        const auto spoiledPage = get("/run/1/250/4");
        EXPECT_EQ(spoiledPage.status, 200) << route;
        EXPECT_NE(spoiledPage.body.find(says), std::string::npos) << route;
        EXPECT_EQ(spoiledPage.body.find("<polyline"), std::string::npos) << route;
        EXPECT_EQ(get(runPath).body, run);
    }
    EXPECT_NE(server.log().find("its stored route cannot be read"), std::string::npos);
}
