#include <gtest/gtest.h>

#include "CannedServer.hpp"
#include "online/HighscoreClient.hpp"
#include "online/HttpExchange.hpp"
#include "online/ScoreText.hpp"

namespace {

std::string bodyOf(const std::string& request) {
    const std::size_t end = request.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : request.substr(end + 4);
}

bool checkNameAgainst(const std::string& answerBody, int status = 200) {
    CannedServer server(CannedServer::answer(status, answerBody));
    return HighscoreClient(server.address()).checkName("racer");
}

}  // namespace

TEST(ServerAddress, HostAloneMeansPort80) {
    EXPECT_EQ(parseServerAddress("localhost:8077").port, 8077);
    EXPECT_EQ(parseServerAddress("localhost:8077").host, "localhost");
    EXPECT_EQ(parseServerAddress("scores.example").port, 80);
    EXPECT_EQ(parseServerAddress(" 127.0.0.1:81 ").host, "127.0.0.1");
    EXPECT_EQ(parseServerAddress("scores.example").hostHeader(), "scores.example");
    EXPECT_EQ(parseServerAddress("a:8077").hostHeader(), "a:8077");
    for (const char* bad : {"", "host:", "host:0", "host:65536", "host:8o", ":80", "host:-1"}) {
        EXPECT_FALSE(parseServerAddress(bad).valid()) << bad;
    }
}

TEST(HttpAnswer, BodyOnlyWhenComplete) {
    auto answer = parseHttpAnswer("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nOK\n", false);
    EXPECT_TRUE(answer.complete);
    EXPECT_EQ(answer.body, "OK\n");

    answer = parseHttpAnswer("HTTP/1.0 200 OK\r\ncontent-length: 10\r\n\r\nOK\n", true);
    EXPECT_TRUE(answer.headerRead);
    EXPECT_FALSE(answer.complete);
    EXPECT_EQ(answer.body, "");

    answer = parseHttpAnswer("HTTP/1.0 200 OK\nServer: x\n\nOK", false);
    EXPECT_FALSE(answer.complete);
    answer = parseHttpAnswer("HTTP/1.0 200 OK\nServer: x\n\nOK", true);
    EXPECT_TRUE(answer.complete);
    EXPECT_EQ(answer.body, "OK");

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

TEST(HighscoreClient, SendsHttp10PostsWithTheFormBodies) {
    CannedServer submit(CannedServer::answer(200, "OK\n"));
    HighscoreClient(submit.address()).submitScore("racer", 1, 250, encodeTime(12.5f));
    const std::string request = submit.request();
    EXPECT_EQ(request.rfind("POST /games/Rollavortex/sbmt.php HTTP/1.0\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nContent-Length: "), std::string::npos);
    EXPECT_EQ(bodyOf(request), "name=racer&mode=1&level=250&score=" + encodeTime(12.5f));

    CannedServer table(CannedServer::answer(200, ""));
    HighscoreTable unused;
    HighscoreClient(table.address()).fetchTable(2, 20057, unused);
    EXPECT_EQ(table.request().rfind("POST /games/Rollavortex/hsc.php HTTP/1.0\r\n", 0), 0u);
    EXPECT_EQ(bodyOf(table.request()), "&mode=2&level=20057");

    CannedServer check(CannedServer::answer(200, "OK"));
    HighscoreClient(check.address()).checkName("x&mode=2");
    EXPECT_EQ(check.request().rfind("POST /games/Rollavortex/chk.php HTTP/1.0\r\n", 0), 0u);
    EXPECT_EQ(bodyOf(check.request()), "name=x%26mode%3D2");
}

TEST(HighscoreClient, NameIsFreeOnlyWhenTheAnswerStartsWithOK) {
    for (const char* body : {"OK", "OK\n", "OKAY"}) {
        EXPECT_TRUE(checkNameAgainst(body)) << body;
    }
    for (const char* body : {"ok", " OK", "", "TAKEN\n"}) {
        EXPECT_FALSE(checkNameAgainst(body)) << body;
    }
    // Only the body counts, whatever the status.
    EXPECT_TRUE(checkNameAgainst("OK", 500));
}

TEST(HighscoreClient, FetchAppendsTheAnswersTokens) {
    CannedServer server(
        CannedServer::answer(200, "1\t2024-05-01\tracer\t12.5\r\n2\t2024-05-02\tme\t13\r\n"));
    HighscoreTable table;
    table.tokens = {"kept"};
    HighscoreClient(server.address()).fetchTable(1, 250, table);
    ASSERT_EQ(table.tokens.size(), 9u);
    EXPECT_EQ(table.tokens[1], "1");
    EXPECT_EQ(table.tokens[4], "12.5\r");
    EXPECT_EQ(table.tokens[7], "me");
}

TEST(HighscoreClient, UnusableAddressFailsAtOnce) {
    HighscoreTable table;
    HighscoreClient("").fetchTable(1, 250, table);
    EXPECT_TRUE(table.tokens.empty());
    EXPECT_FALSE(HighscoreClient("127.0.0.1:0").checkName("racer"));
}
