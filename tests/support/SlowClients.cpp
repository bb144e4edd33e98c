#include "SlowClients.hpp"

#include <chrono>
#include <string>
#include <string_view>

namespace {

constexpr int kPerAddress = 16;
constexpr std::string_view kOpening =
    "POST /games/Rollavortex/chk.php HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: ";
constexpr std::chrono::milliseconds kStep{50};
constexpr int kStepsPerByte = 20;

std::string sourceAddress(int index) {
    return "127.0.1." + std::to_string(1 + index / kPerAddress);
}

}  // namespace

SlowClients::SlowClients(int port, int count) {
    for (int i = 0; i < count; ++i) {
        clients.push_back(std::make_unique<LoopbackClient>(port, sourceAddress(i)));
    }
    dripper = std::thread([this] { drip(); });
}

SlowClients::~SlowClients() {
    done = true;
    dripper.join();
}

int SlowClients::connected() const {
    int open = 0;
    for (const auto& client : clients) {
        open += client->connected() ? 1 : 0;
    }
    return open;
}

void SlowClients::drip() {
    for (std::size_t sent = 0; !done; ++sent) {
        const std::string_view byte =
            sent < kOpening.size() ? kOpening.substr(sent, 1) : std::string_view("a");
        for (const auto& client : clients) {
            client->sendNow(byte);
        }
        for (int step = 0; step < kStepsPerByte && !done; ++step) {
            std::this_thread::sleep_for(kStep);
        }
    }
}
