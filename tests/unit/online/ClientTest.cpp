// The client's pure parts: addresses, the request bytes and the reading of
// answers. The exchange with the real server is the server tests' business.
#include <gtest/gtest.h>

#include "online/client/HighscoreClient.hpp"
#include "online/client/HttpExchange.hpp"

TEST(ServerAddress, HostAloneMeansPort80AndRequestsAreHttp10PostsWithTheirFormBody) {
    EXPECT_EQ(parseServerAddress("localhost:8077").port, 8077);
    EXPECT_EQ(parseServerAddress(" 127.0.0.1:81 ").host, "127.0.0.1");
    EXPECT_EQ(parseServerAddress("scores.example").port, 80);
    EXPECT_EQ(parseServerAddress("scores.example").hostHeader(), "scores.example");
    EXPECT_EQ(parseServerAddress("a:8077").hostHeader(), "a:8077");
    for (const char* bad : {"", "host:", "host:0", "host:65536", "host:8o", ":80", "host:-1"}) {
        EXPECT_FALSE(parseServerAddress(bad).valid()) << bad;
    }

    const std::string request =
        buildPostRequest(parseServerAddress("a:8077"), "/games/Rollavortex/hsc.php", "&mode=2");
    EXPECT_EQ(request.rfind("POST /games/Rollavortex/hsc.php HTTP/1.0\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nHost: a:8077\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\nContent-Length: 7\r\n"), std::string::npos) << request;
    EXPECT_EQ(request.substr(request.size() - 11), "\r\n\r\n&mode=2");
}

TEST(HttpAnswer, BodyOnlyWhenComplete) {
    auto answer = parseHttpAnswer("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nOK\n", false);
    EXPECT_TRUE(answer.complete);
    EXPECT_EQ(answer.body, "OK\n");

    answer = parseHttpAnswer("HTTP/1.0 200 OK\r\ncontent-length: 10\r\n\r\nOK\n", true);
    EXPECT_TRUE(answer.headerRead);
    EXPECT_FALSE(answer.complete);
    EXPECT_EQ(answer.body, "");

    // Without a length the body ends when the server closes.
    EXPECT_FALSE(parseHttpAnswer("HTTP/1.0 200 OK\nServer: x\n\nOK", false).complete);
    EXPECT_EQ(parseHttpAnswer("HTTP/1.0 200 OK\nServer: x\n\nOK", true).body, "OK");

    answer = parseHttpAnswer("HTTP/1.1 400 Bad\r\nContent-Length: 4\r\n\r\nNO\n\nextra", false);
    EXPECT_EQ(answer.status, 400);
    EXPECT_EQ(answer.body, "NO\n\n");

    EXPECT_FALSE(
        parseHttpAnswer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nOK", true)
            .complete);
    EXPECT_FALSE(parseHttpAnswer("OK\r\n\r\nOK", true).headerRead);
    EXPECT_FALSE(parseHttpAnswer("HTTP/1.0 2x0 OK\r\n\r\nOK", true).headerRead);
    EXPECT_FALSE(parseHttpAnswer("HTTP/1.0 200 OK\r\nContent-Length: -1\r\n\r\nOK", true).complete);
}

TEST(HighscoreClient,
     AnUnusableAddressFailsAtOnceAndATableAnswerSaysNotOnThisServerOnlyForALevelTheServerLacks) {
    HighscoreTable table;
    HighscoreClient("").fetchTable(1, 250, table);
    EXPECT_TRUE(table.tokens.empty());
    EXPECT_FALSE(HighscoreClient("127.0.0.1:0").checkName("racer"));

    const LevelIdentity custom = LevelIdentity::ofFile(std::string(64, 'a'));
    const LevelIdentity shipped = LevelIdentity::shipped(250);
    struct Row {
        const char* answer;
        bool complete;
        const LevelIdentity& level;
        TableAnswer expected;
    };
    const Row rows[] = {
        // The server's word for a level it does not keep, for any level.
        {"HTTP/1.0 404 Not Found\r\n\r\nERROR level not on this server\n", true, custom,
         TableAnswer::notOnServer},
        {"HTTP/1.0 404 Not Found\r\n\r\nERROR level not on this server\n", true, shipped,
         TableAnswer::notOnServer},
        // A server from before custom levels refuses the hash as a level.
        {"HTTP/1.0 400 Bad Request\r\n\r\nERROR mode and level must be plain decimal numbers\n",
         true, custom, TableAnswer::notOnServer},
        {"HTTP/1.0 400 Bad Request\r\n\r\nERROR unknown mode or level\n", true, shipped,
         TableAnswer::table},
        // Another 404 (a wrong path), a failing database, no answer: a table,
        // empty, as ever.
        {"HTTP/1.0 404 Not Found\r\n\r\nERROR no such page\n", true, custom, TableAnswer::table},
        {"HTTP/1.0 500 Error\r\n\r\nERROR storage\n", true, custom, TableAnswer::table},
        {"HTTP/1.0 404 Not Found\r\nContent-Length: 90\r\n\r\nERROR level not", false, custom,
         TableAnswer::table},
        {"HTTP/1.0 200 OK\r\n\r\n1\t2026-12-06\tme\t12.5\n", true, custom, TableAnswer::table},
    };
    for (const Row& row : rows) {
        const HttpAnswer answer = parseHttpAnswer(row.answer, row.complete);
        EXPECT_EQ(tableAnswerOf(answer, row.level), row.expected) << row.answer;
    }
}
