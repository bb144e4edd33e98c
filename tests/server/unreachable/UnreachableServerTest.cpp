#include <gtest/gtest.h>

#include <SFML/Network/SocketSelector.hpp>
#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "online/client/HighscoreClient.hpp"
#include "sim/run/ScoreText.hpp"

// What the game pays when the highscore server misbehaves: never more than
// the 5-second time-out per request, and an empty answer. A server that is
// down or silent is met in the post-finish and name entry scene tests.

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kTimeoutSeconds = 5.0;
// Scheduling slack on a busy machine.
constexpr double kSlackSeconds = 0.6;

double secondsTaken(const std::function<void()>& request) {
    const auto start = Clock::now();
    request();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string addressOf(const sf::TcpListener& listener) {
    return "127.0.0.1:" + std::to_string(listener.getLocalPort());
}

// Accepts connections and answers each with `opening`, then one more byte of
// `drip` every 100 ms until the test ends; the answer never completes.
class StallingServer {
  public:
    StallingServer(std::string opening, std::string drip)
        : opening(std::move(opening)), drip(std::move(drip)) {
        listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost);
        worker = std::thread([this] { serve(); });
    }
    ~StallingServer() {
        done = true;
        worker.join();
    }
    std::string address() const { return addressOf(listener); }

  private:
    void serve() {
        sf::SocketSelector selector;
        selector.add(listener);
        std::vector<std::unique_ptr<sf::TcpSocket>> clients;
        while (!done) {
            if (selector.wait(sf::milliseconds(100)) && selector.isReady(listener)) {
                auto client = std::make_unique<sf::TcpSocket>();
                if (listener.accept(*client) == sf::Socket::Done) {
                    client->send(opening.data(), opening.size());
                    clients.push_back(std::move(client));
                }
            }
            for (auto& client : clients) {
                if (!drip.empty()) {
                    client->send(drip.data(), 1);
                }
            }
        }
    }

    sf::TcpListener listener;
    std::string opening;
    std::string drip;
    std::atomic<bool> done{false};
    std::thread worker;
};

}  // namespace

TEST(UnreachableServer, ADripFeedOrAnAnswerCutShortCostsOneTimeOutAndCountsAsNone) {
    // A byte every 100 ms would keep a per-read time-out waiting for ever.
    const StallingServer drip("HTTP/1.0 200 OK\r\n", "X-Slow: yes\r\n");
    // The body starts with "OK", but the promised ten bytes never all arrive.
    const StallingServer cut("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nOK", "");
    bool free = true;
    EXPECT_LT(secondsTaken([&] { free = HighscoreClient(drip.address()).checkName("racer"); }),
              kTimeoutSeconds + kSlackSeconds);
    EXPECT_FALSE(free);

    HighscoreTable table;
    const double seconds = secondsTaken([&] {
        const HighscoreClient client(cut.address(), sf::seconds(1));
        free = client.checkName("racer");
        client.fetchTable(1, 250, table);
    });
    EXPECT_FALSE(free);
    EXPECT_TRUE(table.tokens.empty());
    EXPECT_LT(seconds, 2.0 + kSlackSeconds);
}
