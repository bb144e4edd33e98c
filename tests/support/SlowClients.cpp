#include "SlowClients.hpp"

#include <chrono>
#include <string>

namespace {

constexpr int kPerAddress = 16;
constexpr std::string_view kOpening = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: ";
constexpr std::chrono::milliseconds kStep{50};
constexpr int kStepsPerByte = 20;

}  // namespace

SlowClients::SlowClients(int port, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string from = "127.0.1." + std::to_string(1 + i / kPerAddress);
        clients.push_back(std::make_unique<LoopbackClient>(port, from));
    }
    dripper = std::thread([this] {
        for (std::size_t sent = 0; !done; ++sent) {
            for (const auto& client : clients) {
                client->send(sent < kOpening.size() ? kOpening.substr(sent, 1) : "a");
            }
            for (int step = 0; step < kStepsPerByte && !done; ++step) {
                std::this_thread::sleep_for(kStep);
            }
        }
    });
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
