#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "LoopbackClient.hpp"
#include "ServerBoards.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "TestRuns.hpp"
#include "online/HighscoreProtocol.hpp"

// The real server on a new board of either store, with the limits per client
// lifted: the tests send many requests from one address.
class RunServerTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override { ASSERT_FALSE(board.empty()) << testCluster().error(); }

    void start(std::vector<std::string> options = {}) {
        options.insert(options.end(), {"--rate-burst", "100000", "--rate-limit", "100000",
                                       "--max-connections-per-address", "1000"});
        ASSERT_TRUE(server.start(options)) << server.log();
    }

    LoopbackClient::Answer post(std::string_view path, const std::string& body) const {
        return answerTo(server.listeningPort(), httpRequest("POST", path, body, false));
    }
    LoopbackClient::Answer get(std::string_view target) const {
        return answerTo(server.listeningPort(), httpRequest("GET", target, {}, false));
    }
    // A run submission's verdict: the answer, or when it was only queued (a
    // busy machine replays slower than the server waits), the answer to the
    // same run sent again once it has one, within about 20 s.
    LoopbackClient::Answer verdictOf(const std::string& runBody) const {
        LoopbackClient::Answer answer = post(HighscoreProtocol::kRunPath, runBody);
        for (int wait = 0; wait < 100 && answer.body == "OK queued\n"; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            answer = post(HighscoreProtocol::kRunPath, runBody);
        }
        return answer;
    }
    std::string tables() const {
        std::string text;
        for (const CommittedRun& run : kCommittedRuns) {
            text += post(HighscoreProtocol::kTablePath,
                         HighscoreProtocol::tableQueryBody(run.mode, run.level))
                        .body +
                    "|";
        }
        return text;
    }

    TempFolder folder;
    const std::string board = newBoard(GetParam(), folder);
    ServerProcess server{board, folder.file("server.log")};
};
