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
// down or silent is met in the post-finish and name entry scene tests; an
// answer cut short, in the client's unit tests.

namespace {

using Clock = std::chrono::steady_clock;

// Scheduling slack on a busy machine.
constexpr double kSlackSeconds = 0.6;

double secondsTaken(const std::function<void()>& request) {
    const auto start = Clock::now();
    request();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Accepts connections and answers each with a status line, then one more
// header byte every 100 ms until the test ends: a byte every 100 ms would
// keep a per-read time-out waiting for ever.
class DrippingServer {
  public:
    DrippingServer() {
        listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost);
        worker = std::thread([this] { serve(); });
    }
    ~DrippingServer() {
        done = true;
        worker.join();
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(listener.getLocalPort()); }

  private:
    void serve() {
        sf::SocketSelector selector;
        selector.add(listener);
        std::vector<std::unique_ptr<sf::TcpSocket>> clients;
        while (!done) {
            if (selector.wait(sf::milliseconds(100)) && selector.isReady(listener)) {
                auto client = std::make_unique<sf::TcpSocket>();
                if (listener.accept(*client) == sf::Socket::Done) {
                    client->send("HTTP/1.0 200 OK\r\n", 17);
                    clients.push_back(std::move(client));
                }
            }
            for (auto& client : clients) {
                client->send("X", 1);
            }
        }
    }

    sf::TcpListener listener;
    std::atomic<bool> done{false};
    std::thread worker;
};

}  // namespace

TEST(UnreachableServer, ADripFeedCostsOneTimeOutAndCountsAsNone) {
    const DrippingServer drip;
    bool free = true;
    EXPECT_LT(secondsTaken([&] { free = HighscoreClient(drip.address()).checkName("racer"); }),
              HighscoreClient::kDefaultTimeoutSeconds + kSlackSeconds);
    EXPECT_FALSE(free);

    HighscoreTable table;
    EXPECT_LT(secondsTaken([&] {
                  HighscoreClient(drip.address(), sf::seconds(1)).fetchTable(1, 250, table);
              }),
              1.0 + kSlackSeconds);
    EXPECT_TRUE(table.tokens.empty());
}
