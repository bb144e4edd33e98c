#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>
#include <tuple>

#include "LoopbackClient.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/client/HighscoreClient.hpp"

// The server on a public address: slow, greedy and malicious clients get a
// 4xx answer and a closed connection, and never slow down anyone else.

using namespace HighscoreProtocol;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A field of /proc/PID/status in kB ("VmRSS", "VmHWM").
long statusKilobytes(pid_t pid, const std::string& field) {
    const std::string status = slurpFile("/proc/" + std::to_string(pid) + "/status");
    std::smatch kilobytes;
    std::regex_search(status, kilobytes, std::regex(field + ":\\s*(\\d+)"));
    return kilobytes.empty() ? 0 : std::stol(kilobytes[1]);
}

long openDescriptors(pid_t pid) {
    const std::filesystem::directory_iterator fds("/proc/" + std::to_string(pid) + "/fd");
    return std::distance(fds, std::filesystem::directory_iterator());
}

class ServerLimits : public ::testing::Test {
  protected:
    void start(const std::vector<std::string>& options = {}) {
        ASSERT_TRUE(server.start(options)) << server.log();
    }
    int port() const { return server.listeningPort(); }

    // The status of one request on a connection of its own; 0 without answer.
    int statusOf(const std::string& request, const std::string& from = "127.0.0.1") const {
        return answerTo(port(), request, from).status;
    }

    TempFolder folder;
    ServerProcess server{folder.file("scores.db"), folder.file("server.log")};
};

}  // namespace

TEST_F(ServerLimits, SlowClientsCostNoThreadAndDelayNoOne) {
    constexpr int kSlowClients = 500;
    start();
    SlowClients slow(port(), kSlowClients);
    ASSERT_EQ(slow.connected(), kSlowClients);
    // The server must hold every one of them, or the test proves nothing.
    for (int wait = 0; wait < 250 && openDescriptors(server.processId()) < kSlowClients; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_GE(openDescriptors(server.processId()), kSlowClients);

    const HighscoreClient game(server.address());
    for (int check = 0; check < 15; ++check) {
        const auto start = Clock::now();
        EXPECT_TRUE(game.checkName("racer"));
        EXPECT_LT(millisecondsSince(start), 100.0) << "check " << check;
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    EXPECT_GE(openDescriptors(server.processId()), kSlowClients);
}

TEST_F(ServerLimits, RequestsBreakingALimitAreRefusedUnreadAndClosed) {
    start();
    const long residentBefore = statusKilobytes(server.processId(), "VmRSS");
    const std::string chunk(16 * 1024, 'a');
    // The run path takes the largest bodies, 1 MiB.
    const std::string post = "POST " + std::string(kRunPath) + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    std::string manyLines = post;
    for (int line = 0; line < 100; ++line) {
        manyLines += "X-Line-" + std::to_string(line) + ": 1\r\n";
    }
    // The head, what is sent after it again and again (32 MiB in all), the
    // status: a body announced too large is refused before it is read, one
    // sent in chunks as soon as it passes the limit.
    const std::vector<std::tuple<std::string, std::string, int>> cases = {
        {post + "\r\n", chunk, 411},
        {post + "Transfer-Encoding: chunked\r\n\r\n", "4000\r\n" + chunk + "\r\n", 413},
        {post + "Content-Length: 33554432\r\n\r\n", chunk, 413},
        {manyLines + "\r\n", "", 431},
        {post + "X-Big: " + std::string(9000, 'b') + "\r\n\r\n", "", 431},
    };
    for (const auto& [head, stream, status] : cases) {
        LoopbackClient client(port());
        ASSERT_TRUE(client.send(head));
        for (std::size_t sent = 0; !stream.empty() && sent < (32u << 20) && client.send(stream);
             sent += stream.size()) {
        }
        client.finishSending();
        const auto answer = client.readAnswer();
        EXPECT_EQ(answer ? answer->status : 0, status) << head.substr(0, 100);
        EXPECT_TRUE(client.closedByServer()) << head.substr(0, 100);
    }
    // None of the 32 MiB bodies was kept.
    EXPECT_LT(statusKilobytes(server.processId(), "VmHWM"), residentBefore + 8 * 1024);
    EXPECT_TRUE(HighscoreClient(server.address()).checkName("zed"));
}

TEST_F(ServerLimits, BodiesShareABudgetEachAddressHasItsOwnLimitsAndABurstOverThemDisturbsNoOne) {
    start({"--rate-limit", "1", "--rate-burst", "5", "--max-connections-per-address", "3",
           "--max-body-bytes-in-flight", "1048576"});
    const std::string head =
        "POST " + std::string(kRunPath) + " HTTP/1.1\r\nHost: x\r\nContent-Length: 700000\r\n\r\n";
    LoopbackClient first(port(), "127.0.8.1");
    ASSERT_TRUE(first.send(head + "name=a"));
    // The first has taken 700,000 of the 1,048,576 bytes.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(statusOf(head, "127.0.8.2"), 503);
    ASSERT_TRUE(first.send(std::string(700000 - 6, 'a')));
    EXPECT_EQ(first.readAnswer().value_or(LoopbackClient::Answer{}).status, 400);
    LoopbackClient third(port(), "127.0.8.3");
    ASSERT_TRUE(third.send(head + std::string(700000, 'a')));
    EXPECT_EQ(third.readAnswer().value_or(LoopbackClient::Answer{}).status, 400);

    LoopbackClient greedy(port());
    std::vector<int> statuses;
    while (statuses.size() < 20 && (statuses.empty() || statuses.back() == 200)) {
        greedy.send(httpRequest("GET", "/healthz"));
        const auto answer = greedy.readAnswer();
        statuses.push_back(answer ? answer->status : 0);
    }
    ASSERT_GT(statuses.size(), 5u);
    EXPECT_EQ(std::count(statuses.begin(), statuses.begin() + 5, 200), 5);
    EXPECT_EQ(statuses.back(), 429);
    EXPECT_TRUE(greedy.closedByServer());
    EXPECT_EQ(statusOf(httpRequest("GET", "/healthz"), "127.0.0.2"), 200);

    std::vector<std::unique_ptr<LoopbackClient>> held;
    for (int i = 0; i < 3; ++i) {
        held.push_back(std::make_unique<LoopbackClient>(port(), "127.0.0.3"));
    }
    EXPECT_EQ(statusOf("", "127.0.0.3"), 429);
    held.pop_back();
    // The place is free again once the server has seen the connection go.
    int status = 0;
    for (int attempt = 0; attempt < 50 && status != 200; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        status = statusOf(httpRequest("GET", "/healthz"), "127.0.0.3");
    }
    EXPECT_EQ(status, 200);

    // A burst of connections over the cap is closed at once, disturbs no one
    // and leaves nothing open.
    raiseOpenFileLimit();
    std::vector<std::unique_ptr<LoopbackClient>> burst;
    for (int i = 0; i < 560; ++i) {
        burst.push_back(std::make_unique<LoopbackClient>(port(), "127.0.6.1"));
    }
    const auto asked = Clock::now();
    EXPECT_EQ(statusOf(httpRequest("GET", "/healthz"), "127.0.6.2"), 200);
    EXPECT_LT(millisecondsSince(asked), 500.0);
    EXPECT_TRUE(burst.back()->closedByServer());
    // Five connections held, and room for the server's own files.
    constexpr long kMostOpen = 80;
    long open = openDescriptors(server.processId());
    for (int wait = 0; wait < 50 && open > kMostOpen; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        open = openDescriptors(server.processId());
    }
    EXPECT_LE(open, kMostOpen);
}

TEST_F(ServerLimits, LogLinesAreOneARequestShortEscapedAndFewAndRefusalsRepeatLittle) {
    start();
    const std::string forged = "%0A2026-01-01T00:00:00Z 127.0.0.9 forged";
    const std::vector<std::string> requests = {
        httpRequest("GET", "/board" + forged),
        httpRequest("POST", std::string(kNameCheckPath) + forged, "name=x"),
        httpRequest("POST", kNameCheckPath, "name=x" + forged),
        httpRequest("POST", kSubmitPath, "name=x&mode=1&level=250&score=2 rXt" + forged),
        httpRequest("GET", "/\xe9t\xc3\xa9\x7f"),
        "GET /\r\x01 HTTP/1.1\r\n\r\n",
    };
    // Each from an address of its own: refusals beyond a few a second from
    // one address are only counted.
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_GT(statusOf(requests[i], "127.0.0." + std::to_string(10 + i)), 0) << requests[i];
    }
    const std::string run = "rollavortex-run 2\n1 0.02 +" + std::string(100000, 'x') + "\n";
    const auto echo = answerTo(
        port(),
        httpRequest("POST", kRunPath, submissionBody("echo", 1, 250, "2 rXt") + "&run=" + run),
        "127.0.0.30");
    EXPECT_EQ(echo.status, 400);
    EXPECT_LT(echo.body.size(), 200u) << echo.body.substr(0, 300);
    EXPECT_NE(echo.body.find("unknown input '+xxxx"), std::string::npos) << echo.body;
    const std::string log = server.log();
    const std::regex lineStart(
        R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ (127\.0\.0\.\d+ |listening |\d+ custom levels ))");
    std::istringstream lines(log);
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_TRUE(std::regex_search(line, lineStart)) << line;
        EXPECT_LT(line.size(), 1000u);
        EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) {
            return c >= 32 && c < 127;
        })) << line;
    }
    // The start-up lines (the data folder's levels, listening), then one line
    // per request.
    EXPECT_EQ(count, 2 + requests.size() + 1) << log;

    // A flood of huge targets from one address leaves a small log.
    const std::string flood = "GET /" + std::string(8000, '\xff') + " HTTP/1.1\r\nHost: x\r\n\r\n";
    int answered = 0;
    for (const auto start = Clock::now(); Clock::now() - start < std::chrono::seconds(3);) {
        answered += statusOf(flood, "127.0.5.1") > 0;
    }
    server.stop();
    const std::string flooded = server.log().substr(log.size());
    EXPECT_GT(answered, 100);
    EXPECT_LT(flooded.size(), 1u << 20);
    EXPECT_NE(flooded.find("more bytes]"), std::string::npos) << "a target cut and marked";
    EXPECT_NE(flooded.find("more refusals in the last second"), std::string::npos);
}

TEST_F(ServerLimits, SlowOrIdleConnectionsCloseATrustedProxyNamesItsPlayersIpv6CountsBySlash64) {
    start({"--trusted-proxy", "127.0.7.1", "--rate-limit", "1", "--rate-burst", "2",
           "--request-timeout", "1", "--idle-timeout", "1"});
    EXPECT_EQ(statusOf("GET / HT"), 408);
    LoopbackClient idle(port());
    idle.send(httpRequest("GET", "/healthz"));
    ASSERT_TRUE(idle.readAnswer());
    EXPECT_TRUE(idle.closedByServer());

    const auto via = [&](const std::string& from, const std::string& forwarded) {
        return statusOf("GET /healthz HTTP/1.1\r\nHost: x\r\nX-Forwarded-For: " + forwarded +
                            "\r\nConnection: close\r\n\r\n",
                        from);
    };
    // Each row: from, X-Forwarded-For, status. Two requests per client.
    const std::vector<std::tuple<std::string, std::string, int>> rows = {
        {"127.0.7.1", "10.0.0.1", 200},
        {"127.0.7.1", "10.0.0.1", 200},
        {"127.0.7.1", "10.0.0.1", 429},
        {"127.0.7.1", "6.6.6.6, 10.0.0.2", 200},
        {"127.0.7.1", "10.0.0.2", 200},
        {"127.0.7.1", "7.7.7.7, 10.0.0.2", 429},
        {"127.0.7.1", "2001:db8::1", 200},
        {"127.0.7.1", "2001:db8::2", 200},
        {"127.0.7.1", "2001:db8::3", 429},
        {"127.0.7.1", "2001:db8:0:1::1", 200},
        // Not a proxy: its header names nobody.
        {"127.0.7.2", "10.0.0.3", 200},
        {"127.0.7.2", "10.0.0.4", 200},
        {"127.0.7.2", "10.0.0.5", 429},
    };
    for (const auto& [from, forwarded, status] : rows) {
        EXPECT_EQ(via(from, forwarded), status) << from << " for " << forwarded;
    }
    EXPECT_NE(server.log().find(" 10.0.0.1 via 127.0.7.1 GET /healthz 200"), std::string::npos);
}

TEST_F(ServerLimits, ListensOnIpv6Loopback) {
    start({"--listen", "[::1]:0"});
    EXPECT_NE(server.log().find("listening on [::1]:" + std::to_string(port())), std::string::npos);
    const int fd = socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_port = htons(static_cast<unsigned short>(port()));
    address.sin6_addr = in6addr_loopback;
    ASSERT_EQ(connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const std::string request = httpRequest("GET", "/healthz", {}, false);
    ASSERT_EQ(send(fd, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));
    char answer[64] = {};
    EXPECT_GT(recv(fd, answer, sizeof answer - 1, MSG_WAITALL), 12);
    close(fd);
    EXPECT_TRUE(std::string(answer).starts_with("HTTP/1.1 200 ")) << answer;
    EXPECT_NE(server.log().find("::1 GET /healthz 200"), std::string::npos);
}
