#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <thread>

#include "LoopbackClient.hpp"
#include "ServerBoards.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "online/FormBody.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/ScoreText.hpp"

// Submitted runs replayed by the real server: what verifies is kept and shown
// as verified, everything else is refused and changes nothing.

using namespace HighscoreProtocol;

namespace {

struct CommittedRun {
    const char* file;
    int mode;
    int level;
};
const CommittedRun kRuns[] = {{"levels/runs/TheLabyrinth.run", 1, 250},
                              {"levels/runs/TheRopeBridge.run", 1, 275},
                              {"levels/runs/Fortified.run", 2, 20000},
                              {"levels/runs/ChaosUnleashed.run", 2, 20057}};
const CommittedRun& kLabyrinth = kRuns[0];
// The longest of them in game time.
const CommittedRun& kLongest = kRuns[3];

int recordedMilliseconds(const std::string& run) {
    std::smatch match;
    std::regex_search(run, match, std::regex("time-ms: (\\d+)"));
    return std::stoi(match[1]);
}

std::string runBody(const std::string& name, int mode, int level, int milliseconds,
                    const std::string& run) {
    return submissionBody(name, mode, level, encodeTime(milliseconds / 1000.0f)) +
           "&run=" + escapeFormValue(run);
}

std::string bodyFor(const CommittedRun& committed, const std::string& run, int extraMs = 0) {
    return runBody("bot", committed.mode, committed.level, recordedMilliseconds(run) + extraMs,
                   run);
}

// The frame lines rewritten by `change(count, time, events)`; header lines stay.
std::string rewriteFrames(const std::string& run,
                          const std::function<std::string(int, std::string, std::string)>& change) {
    std::istringstream lines(run);
    std::string out;
    const std::regex frame("(\\d+) (\\S+)(.*)");
    for (std::string line; std::getline(lines, line);) {
        std::smatch parts;
        out += std::regex_match(line, parts, frame)
                   ? change(std::stoi(parts[1]), parts[2], parts[3])
                   : line;
        out += "\n";
    }
    return out;
}

// The fifth key event of the run given one frame earlier.
std::string eventMovedOneFrame(const std::string& run) {
    std::istringstream lines(run);
    std::vector<std::string> kept;
    int events = 0;
    for (std::string line; std::getline(lines, line);) {
        std::smatch parts;
        const bool takesEvent = std::regex_match(line, parts, std::regex("(\\d+) (\\S+) (.+)")) &&
                                ++events >= 5 && events < 1000;
        std::smatch before;
        if (takesEvent && std::regex_match(kept.back(), before, std::regex("(\\d+) (\\S+)(.*)")) &&
            std::stoi(before[1]) > 1) {
            kept.back() =
                std::to_string(std::stoi(before[1]) - 1) + " " + before[2].str() + before[3].str();
            line = std::to_string(std::stoi(parts[1]) + 1) + " " + parts[2].str() + " " +
                   parts[3].str();
            events = 1000;
        }
        kept.push_back(line);
    }
    std::string out;
    for (const std::string& line : kept) {
        out += line + "\n";
    }
    return out;
}

std::string withFrameTime(const std::string& run, const std::string& time) {
    return rewriteFrames(run, [&](int count, const std::string&, const std::string& events) {
        return std::to_string(count) + " " + time + events;
    });
}

class RunVerificationServer : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override { ASSERT_FALSE(board.empty()) << testCluster().error(); }

    void start(std::vector<std::string> options = {}) {
        options.insert(options.end(), {"--rate-burst", "100000", "--rate-limit", "100000",
                                       "--max-connections-per-address", "1000"});
        ASSERT_TRUE(server.start(options)) << server.log();
    }

    LoopbackClient::Answer post(std::string_view path, const std::string& body) const {
        LoopbackClient client(server.listeningPort());
        client.send(httpRequest("POST", path, body, false));
        return client.readAnswer().value_or(LoopbackClient::Answer{});
    }

    std::string table(const CommittedRun& run) const {
        return post(kTablePath, tableQueryBody(run.mode, run.level)).body;
    }
    std::string allTables() const {
        std::string text;
        for (const CommittedRun& run : kRuns) {
            text += table(run) + "|";
        }
        return text;
    }

    TempFolder folder;
    const std::string board = newBoard(GetParam(), folder);
    ServerProcess server{board, folder.file("server.log")};
};

}  // namespace

TEST_P(RunVerificationServer, CommittedRunsVerifyAndShowAsVerified) {
    start();
    post(kSubmitPath, submissionBody("plain", 1, 250, encodeTime(99)));
    for (const CommittedRun& committed : kRuns) {
        SCOPED_TRACE(committed.file);
        const std::string run = slurpFile(committed.file);
        const auto answer = post(kRunSubmitPath, bodyFor(committed, run));
        EXPECT_EQ(answer.status, 200) << answer.body;
        EXPECT_EQ(answer.body, "OK verified\n");
        EXPECT_TRUE(std::regex_search(table(committed),
                                      std::regex("^1\t\\d{4}-\\d\\d-\\d\\d replay\tbot\t")));
        const std::string position = "&position=1";
        EXPECT_EQ(
            post(kRunFetchPath, tableQueryBody(committed.mode, committed.level) + position).body,
            run);
    }
    // An unverified record keeps a plain day and has no run to give.
    EXPECT_TRUE(std::regex_search(table(kLabyrinth), std::regex("\n2\t[-0-9]+\tplain\t99\n")));
    EXPECT_EQ(post(kRunFetchPath, "mode=1&level=250&position=2").body, "");
    EXPECT_EQ(post(kRunFetchPath, "mode=1&level=250&position=3").body, "");
    EXPECT_EQ(post(kRunFetchPath, "mode=1&level=250&position=0").status, 400);
    EXPECT_EQ(post(kRunFetchPath, "mode=1&level=251&position=1").status, 400);
}

TEST_P(RunVerificationServer, RefusedRunsChangeNothing) {
    // A data folder whose Labyrinth differs from the committed one by a byte.
    const std::filesystem::path edited = folder.path() / "data";
    std::filesystem::copy("data", edited, std::filesystem::copy_options::recursive);
    const std::string levelFile = (edited / "levels/TheLabyrinth.tmx").string();
    std::string level = slurpFile(levelFile);
    level.back() = level.back() == ' ' ? '\n' : ' ';
    writeFileBytes(levelFile, level);
    ServerProcess editedServer{folder.file("edited.db"), folder.file("edited.log")};
    {
        ScopedDataFolder data(edited);
        ASSERT_TRUE(editedServer.start()) << editedServer.log();
    }
    start();

    const std::string run = slurpFile(kLabyrinth.file);
    const int ms = recordedMilliseconds(run);
    const std::string noEvents = rewriteFrames(run, [](int count, std::string time, std::string) {
        return std::to_string(count) + " " + time;
    });
    const std::string tenMillionFrames =
        std::regex_replace(run.substr(0, run.find("\n300 ")), std::regex("frames: \\d+"),
                           "frames: 10000000") +
        "\n10000000 0.016666668\n";
    const struct {
        const char* what;
        const char* reason;
        std::string body;
    } refusals[] = {
        {"time off by 1 ms", "does not reproduce", bodyFor(kLabyrinth, run, 1)},
        {"time off by -1 ms", "does not reproduce", bodyFor(kLabyrinth, run, -1)},
        {"event moved one frame", "never finishes", bodyFor(kLabyrinth, eventMovedOneFrame(run))},
        {"run of another level", "another level", runBody("bot", 1, 275, ms, run)},
        {"truncated", "do not add up", bodyFor(kLabyrinth, run.substr(0, run.size() / 2))},
        {"frame time 0", "frame time", bodyFor(kLabyrinth, withFrameTime(run, "0"))},
        {"frame time negative", "frame time",
         bodyFor(kLabyrinth, withFrameTime(run, "-0.016666668"))},
        {"frame time NaN", "frame time", bodyFor(kLabyrinth, withFrameTime(run, "nan"))},
        {"frame time over 0.25 s", "frame time", bodyFor(kLabyrinth, withFrameTime(run, "0.26"))},
        {"10^7 frames", "frames must be", bodyFor(kLabyrinth, tenMillionFrames)},
        {"never finishes", "never finishes", bodyFor(kLabyrinth, noEvents)},
        {"garbage", "not a recorded run",
         runBody("bot", 1, 250, ms, std::string("\x01\xff\x80 garbage\0\n%&=", 16))},
        {"empty run", "empty run", runBody("bot", 1, 250, ms, "")},
    };
    const std::string before = allTables();
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        const auto answer = post(kRunSubmitPath, refusal.body);
        EXPECT_EQ(answer.status, 400);
        EXPECT_TRUE(answer.body.starts_with("ERROR ")) << answer.body;
        EXPECT_NE(answer.body.find(refusal.reason), std::string::npos) << answer.body;
    }
    EXPECT_EQ(allTables(), before);

    LoopbackClient editedClient(editedServer.listeningPort());
    editedClient.send(httpRequest("POST", kRunSubmitPath, bodyFor(kLabyrinth, run), false));
    const auto onEdited = editedClient.readAnswer();
    ASSERT_TRUE(onEdited);
    EXPECT_EQ(onEdited->status, 400);
    EXPECT_NE(onEdited->body.find("another version of the level"), std::string::npos)
        << onEdited->body;

    // 50 MB announced, and a 50 MB body in chunks: refused before it is read,
    // or as soon as it passes 1 MiB.
    const std::string head =
        std::string("POST ") + std::string(kRunSubmitPath) + " HTTP/1.1\r\nHost: x\r\n";
    const std::string announced = head + "Content-Length: 52428800\r\n\r\n";
    const std::string chunked = head + "Transfer-Encoding: chunked\r\n\r\n";
    for (const std::string& start : {announced, chunked}) {
        LoopbackClient client(server.listeningPort());
        client.send(start);
        const std::string chunk = announced == start
                                      ? std::string(65536, 'a')
                                      : "10000\r\n" + std::string(65536, 'a') + "\r\n";
        for (int i = 0; i < 32 && client.send(chunk); ++i) {
        }
        const auto answer = client.readAnswer();
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, 413);
    }
    EXPECT_EQ(allTables(), before);
}

TEST_P(RunVerificationServer, VerifiedOnlyTablesHideUnverifiedTimes) {
    start({"--verified-only"});
    post(kSubmitPath, submissionBody("quick", 1, 250, encodeTime(1.5f)));
    post(kSubmitPath, submissionBody("slow", 1, 250, encodeTime(99)));
    EXPECT_EQ(table(kLabyrinth), "");
    const std::string run = slurpFile(kLabyrinth.file);
    ASSERT_EQ(post(kRunSubmitPath, bodyFor(kLabyrinth, run)).body, "OK verified\n");
    EXPECT_TRUE(std::regex_match(table(kLabyrinth), std::regex("1\t[-0-9]+ replay\tbot\t18.05\n")));
    LoopbackClient browser(server.listeningPort());
    browser.send(httpRequest("GET", "/table/1/250", {}, false));
    const auto html = browser.readAnswer();
    ASSERT_TRUE(html);
    EXPECT_NE(html->body.find("bot"), std::string::npos);
    EXPECT_NE(html->body.find("&#10003;"), std::string::npos);
    EXPECT_EQ(html->body.find("quick"), std::string::npos);
    EXPECT_EQ(post(kRunFetchPath, "mode=1&level=250&position=1").body, run);
}

TEST_P(RunVerificationServer, VerificationFloodDelaysNoTableFetch) {
    // A short queue, so that the runs it takes are answered within the
    // client's 5 s on a loaded machine; no table cache, so that every fetch
    // goes to the workers and the database.
    start({"--verify-queue", "4", "--table-cache-ms", "0"});
    const std::string run = slurpFile(kLongest.file);
    const std::string body = bodyFor(kLongest, run);
    std::atomic<int> verified{0}, busy{0}, other{0};
    std::atomic<bool> flooding{true};
    std::vector<std::thread> flood;
    for (int i = 0; i < 100; ++i) {
        flood.emplace_back([&] {
            const int status = post(kRunSubmitPath, body).status;
            (status == 200 ? verified : status == 503 ? busy : other)++;
        });
    }
    std::vector<double> fetchMs;
    std::thread fetcher([&] {
        while (flooding) {
            const auto start = std::chrono::steady_clock::now();
            const bool answered =
                !post(kTablePath, tableQueryBody(1, 250)).body.starts_with("ERROR");
            fetchMs.push_back(answered ? std::chrono::duration<double, std::milli>(
                                             std::chrono::steady_clock::now() - start)
                                             .count()
                                       : 1e9);
            post(kNameCheckPath, nameCheckBody("someone"));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    for (std::thread& thread : flood) {
        thread.join();
    }
    flooding = false;
    fetcher.join();
    EXPECT_GE(verified, 1);
    EXPECT_GE(busy, 1);
    EXPECT_EQ(other, 0);
    ASSERT_GE(fetchMs.size(), 10u);
    EXPECT_LT(*std::max_element(fetchMs.begin(), fetchMs.end()), 100.0);
}

INSTANTIATE_TEST_SUITE_P(Stores, RunVerificationServer, bothBackends(), backendName);
