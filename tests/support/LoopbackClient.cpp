#include "LoopbackClient.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSendTimeoutMs = 5000;

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

Clock::time_point after(double seconds) {
    return Clock::now() +
           std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// Content-Length of a header section, 0 when there is none.
std::size_t contentLength(std::string_view header) {
    const std::string_view name = "\r\nContent-Length: ";
    const std::size_t at = header.find(name);
    std::size_t length = 0;
    if (at != std::string_view::npos) {
        const char* start = header.data() + at + name.size();
        std::from_chars(start, header.data() + header.size(), length);
    }
    return length;
}

}  // namespace

LoopbackClient::LoopbackClient(int port, const std::string& from) {
    fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, from.c_str(), &local.sin_addr);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(static_cast<unsigned short>(port));
    inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        connect(fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        fd = -1;
    }
}

LoopbackClient::~LoopbackClient() {
    if (fd >= 0) {
        ::close(fd);
    }
}

bool LoopbackClient::send(std::string_view bytes) {
    const auto deadline = after(kSendTimeoutMs / 1000.0);
    while (fd >= 0 && !bytes.empty()) {
        pollfd ready{fd, POLLOUT, 0};
        if (poll(&ready, 1, remainingMs(deadline)) <= 0) {
            return false;
        }
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && errno != EAGAIN) {
            return false;
        }
        bytes.remove_prefix(sent > 0 ? static_cast<std::size_t>(sent) : 0);
    }
    return bytes.empty();
}

bool LoopbackClient::sendNow(std::string_view bytes) {
    if (fd < 0) {
        return false;
    }
    if (bytes.empty()) {
        return true;
    }
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    return sent >= 0 || errno == EAGAIN;
}

void LoopbackClient::finishSending() {
    shutdown(fd, SHUT_WR);
}

bool LoopbackClient::receiveMore(double seconds) {
    pollfd ready{fd, POLLIN, 0};
    if (fd < 0 || poll(&ready, 1, static_cast<int>(seconds * 1000)) <= 0) {
        return false;
    }
    char chunk[16384];
    const ssize_t got = recv(fd, chunk, sizeof chunk, 0);
    if (got <= 0) {
        return false;
    }
    received.append(chunk, static_cast<std::size_t>(got));
    return true;
}

std::optional<LoopbackClient::Answer> LoopbackClient::readAnswer(double seconds) {
    const auto deadline = after(seconds);
    for (;;) {
        const std::size_t end = received.find("\r\n\r\n");
        if (end != std::string::npos) {
            const std::size_t length = contentLength(std::string_view(received).substr(0, end + 2));
            if (received.size() >= end + 4 + length && received.starts_with("HTTP/1.1 ")) {
                Answer answer;
                std::from_chars(received.data() + 9, received.data() + 12, answer.status);
                answer.body = received.substr(end + 4, length);
                received.erase(0, end + 4 + length);
                return answer;
            }
        }
        if (!receiveMore(remainingMs(deadline) / 1000.0)) {
            return std::nullopt;
        }
    }
}

bool LoopbackClient::closedWithin(double seconds) {
    const auto deadline = after(seconds);
    while (Clock::now() < deadline) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, remainingMs(deadline)) <= 0) {
            return false;
        }
        char chunk[16384];
        if (recv(fd, chunk, sizeof chunk, 0) <= 0) {
            return true;
        }
    }
    return false;
}

std::string httpRequest(std::string_view method, std::string_view target, std::string_view body,
                        bool keepAlive) {
    std::string request =
        std::string(method) + " " + std::string(target) + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    if (!body.empty()) {
        request += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    }
    if (!keepAlive) {
        request += "Connection: close\r\n";
    }
    return request + "\r\n" + std::string(body);
}

void raiseOpenFileLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
}
