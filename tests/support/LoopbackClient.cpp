#include "LoopbackClient.hpp"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>

namespace {

constexpr int kWaitMs = 5000;
constexpr int kSlowPerAddress = 16;
constexpr std::string_view kSlowOpening = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: ";
constexpr std::chrono::milliseconds kDripStep{50};
constexpr std::size_t kDripStepsPerByte = 20;

sockaddr_in loopbackAddress(const std::string& address, int port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_port = htons(static_cast<unsigned short>(port));
    inet_pton(AF_INET, address.c_str(), &socketAddress.sin_addr);
    return socketAddress;
}

bool waitFor(int fd, short events) {
    pollfd ready{fd, events, 0};
    return poll(&ready, 1, kWaitMs) > 0;
}

}  // namespace

LoopbackClient::LoopbackClient(int port, const std::string& from) {
    fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const sockaddr_in local = loopbackAddress(from, 0);
    const sockaddr_in server = loopbackAddress("127.0.0.1", port);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        (connect(fd, reinterpret_cast<const sockaddr*>(&server), sizeof server) != 0 &&
         !(errno == EINPROGRESS && waitFor(fd, POLLOUT)))) {
        ::close(fd);
        fd = -1;
    }
}

LoopbackClient::~LoopbackClient() {
    if (fd >= 0) {
        ::close(fd);
    }
}

bool LoopbackClient::send(std::string_view bytes) {
    while (fd >= 0 && !bytes.empty() && waitFor(fd, POLLOUT)) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno != EAGAIN) {
            return false;
        }
        bytes.remove_prefix(sent > 0 ? static_cast<std::size_t>(sent) : 0);
    }
    return bytes.empty();
}

void LoopbackClient::finishSending() {
    shutdown(fd, SHUT_WR);
}

bool LoopbackClient::receiveMore() {
    char chunk[16384];
    const ssize_t got = fd >= 0 && waitFor(fd, POLLIN) ? recv(fd, chunk, sizeof chunk, 0) : -1;
    if (got > 0) {
        received.append(chunk, static_cast<std::size_t>(got));
    }
    return got > 0;
}

std::optional<LoopbackClient::Answer> LoopbackClient::readAnswer() {
    do {
        const std::size_t end = received.find("\r\n\r\n");
        const std::size_t lengthAt = received.find("\r\nContent-Length: ");
        if (end == std::string::npos || lengthAt > end || !received.starts_with("HTTP/1.1 ")) {
            continue;
        }
        std::size_t length = 0;
        std::from_chars(received.data() + lengthAt + 18, received.data() + end, length);
        if (received.size() >= end + 4 + length) {
            Answer answer;
            std::from_chars(received.data() + 9, received.data() + 12, answer.status);
            answer.body = received.substr(end + 4, length);
            const std::size_t firstHeader = received.find("\r\n") + 2;
            answer.headers = received.substr(firstHeader, end + 2 - firstHeader);
            received.erase(0, end + 4 + length);
            return answer;
        }
    } while (receiveMore());
    return std::nullopt;
}

bool LoopbackClient::closedByServer() {
    while (receiveMore()) {
    }
    char probe;
    return fd >= 0 && waitFor(fd, POLLIN) && recv(fd, &probe, 1, 0) <= 0;
}

std::string httpRequest(std::string_view method, std::string_view target, std::string_view body,
                        bool keepAlive) {
    std::string request =
        std::string(method) + " " + std::string(target) + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    if (!body.empty()) {
        request += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    }
    return request + (keepAlive ? "" : "Connection: close\r\n") + "\r\n" + std::string(body);
}

LoopbackClient::Answer answerTo(int port, std::string_view request, const std::string& from) {
    LoopbackClient client(port, from);
    client.send(request);
    return client.readAnswer().value_or(LoopbackClient::Answer{});
}

void raiseOpenFileLimit() {
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
}

SlowClients::SlowClients(int port, int count) {
    raiseOpenFileLimit();
    for (int i = 0; i < count; ++i) {
        const std::string from = "127.0.1." + std::to_string(1 + i / kSlowPerAddress);
        clients.push_back(std::make_unique<LoopbackClient>(port, from));
    }
    // Each step sends to a twentieth of the clients, so that every client
    // sends a byte a second and the server sees a steady trickle.
    dripper = std::thread([this] {
        for (std::size_t sent = 0; !done; ++sent) {
            const std::string_view byte =
                sent < kSlowOpening.size() ? kSlowOpening.substr(sent, 1) : "a";
            for (std::size_t step = 0; step < kDripStepsPerByte && !done; ++step) {
                for (std::size_t i = step; i < clients.size(); i += kDripStepsPerByte) {
                    clients[i]->send(byte);
                }
                std::this_thread::sleep_for(kDripStep);
            }
        }
    });
}

SlowClients::~SlowClients() {
    done = true;
    dripper.join();
}

int SlowClients::connected() const {
    return static_cast<int>(std::count_if(clients.begin(), clients.end(),
                                          [](const auto& client) { return client->connected(); }));
}
