#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <regex>
#include <thread>

#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "online/HighscoreClient.hpp"
#include "online/HighscoreTable.hpp"
#include "online/ScoreText.hpp"

// The web board as a browser shows it: the pages are rendered by a real
// headless Chromium and the rows read from the document it built.

extern char** environ;

namespace {

using Row = std::vector<std::string>;
constexpr int kBrowserSeconds = 60;

// The document Chromium builds from `url`; empty when it fails or takes longer
// than a minute.
std::string renderedDom(const std::string& url, const TempFolder& folder) {
    const std::string output = folder.file("dom.html");
    std::vector<std::string> words = {"chromium",
                                      "--headless",
                                      "--no-sandbox",
                                      "--disable-gpu",
                                      "--user-data-dir=" + folder.file("profile"),
                                      "--dump-dom",
                                      url};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t browser = -1;
    const int failed = posix_spawnp(&browser, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        return "";
    }
    int status = 0;
    for (int wait = 0; wait < kBrowserSeconds * 10; ++wait) {
        if (waitpid(browser, &status, WNOHANG) == browser) {
            return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? slurpFile(output) : "";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(browser, SIGKILL);
    waitpid(browser, nullptr, 0);
    return "";
}

// The cell texts of every row with data cells, in document order.
std::vector<Row> tableRows(const std::string& html) {
    static const std::regex row("<tr>(.*?)</tr>");
    static const std::regex cell("<td[^>]*>([^<]*)</td>");
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

// The rows the board should show for a table as the game fetches it: the
// position, the time as the game shows it, the date, the name and an empty
// verified mark.
std::vector<Row> expectedRows(const HighscoreTable& table, unsigned count) {
    std::vector<Row> rows;
    for (unsigned r = 0; r < std::min(count, table.recordCount()); ++r) {
        rows.push_back({table.field(r, 0), tableTimeText(std::stof(table.field(r, 3))),
                        table.field(r, 1), table.field(r, 2), ""});
    }
    return rows;
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
    game.fetchTable(1, 250, race);
    ASSERT_EQ(race.recordCount(), names.size());
    HighscoreTable puzzle;
    game.fetchTable(2, 20057, puzzle);

    const std::string front = renderedDom("http://" + server.address() + "/", folder);
    ASSERT_NE(front.find("Rollavortex highscores"), std::string::npos) << front;
    std::vector<Row> frontRows = expectedRows(race, 10);
    const std::vector<Row> puzzleRows = expectedRows(puzzle, 10);
    frontRows.insert(frontRows.end(), puzzleRows.begin(), puzzleRows.end());
    EXPECT_EQ(tableRows(front), frontRows);
    EXPECT_NE(front.find("The Rope Bridge"), std::string::npos);
    EXPECT_NE(front.find("No times yet."), std::string::npos);

    const std::string whole = renderedDom("http://" + server.address() + "/table/1/250", folder);
    EXPECT_EQ(tableRows(whole), expectedRows(race, 100));
    EXPECT_NE(whole.find("Mr. Fast, Jr 15"), std::string::npos);
}
