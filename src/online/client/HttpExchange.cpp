#include "online/client/HttpExchange.hpp"

#include <SFML/Network/IpAddress.hpp>
#include <SFML/Network/SocketSelector.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <thread>

#include "sim/base/PlainText.hpp"

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned short kDefaultHttpPort = 80;
constexpr std::size_t kMaxAnswerBytes = 4u << 20;
constexpr std::size_t kReceiveChunk = 16384;
// How long to wait before retrying a send the socket had no room for.
constexpr std::chrono::milliseconds kSendRetry{1};

// A whole number made of digits only, or -1.
long long readDigits(std::string_view text) {
    long long value = 0;
    if (text.empty() || text.size() > 15) {
        return -1;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || value < 0) {
        return -1;
    }
    return value;
}

sf::Time remainingUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
    return sf::microseconds(std::max<long long>(left, 0));
}

bool sendAll(sf::TcpSocket& socket, std::string_view request, Clock::time_point deadline) {
    std::size_t sentTotal = 0;
    while (sentTotal < request.size()) {
        std::size_t sent = 0;
        const sf::Socket::Status status =
            socket.send(request.data() + sentTotal, request.size() - sentTotal, sent);
        sentTotal += sent;
        if (status == sf::Socket::Done) {
            continue;
        }
        if (status != sf::Socket::Partial && status != sf::Socket::NotReady) {
            return false;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kSendRetry);
    }
    return true;
}

}  // namespace

std::string ServerAddress::hostHeader() const {
    return port == kDefaultHttpPort ? host : host + ":" + std::to_string(port);
}

ServerAddress parseServerAddress(std::string_view text) {
    text = trimmed(text);
    ServerAddress address;
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) {
        address.host = std::string(text);
        address.port = kDefaultHttpPort;
        return address;
    }
    const long long port = readDigits(text.substr(colon + 1));
    if (port < 1 || port > 65535) {
        return {};
    }
    address.host = std::string(text.substr(0, colon));
    address.port = static_cast<unsigned short>(port);
    return address;
}

std::string buildPostRequest(const ServerAddress& address, std::string_view path,
                             std::string_view body) {
    std::string request = "POST ";
    request += path;
    request += " HTTP/1.0\r\nHost: " + address.hostHeader() +
               "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
               std::to_string(body.size()) + "\r\n\r\n";
    request += body;
    return request;
}

HttpAnswer parseHttpAnswer(std::string_view bytes, bool connectionClosed) {
    HttpAnswer answer;
    std::size_t headerEnd = bytes.find("\r\n\r\n");
    std::size_t bodyStart = headerEnd + 4;
    if (headerEnd == std::string_view::npos) {
        headerEnd = bytes.find("\n\n");
        bodyStart = headerEnd + 2;
    }
    if (headerEnd == std::string_view::npos) {
        return answer;
    }

    const std::string_view head = bytes.substr(0, headerEnd);
    const std::size_t statusLineEnd = std::min(head.find('\n'), head.size());
    const std::string_view statusLine = trimmed(head.substr(0, statusLineEnd));
    // "HTTP/1.x NNN reason"
    if (statusLine.substr(0, 5) != "HTTP/" || statusLine.size() < 12 ||
        statusLine.find(' ') == std::string_view::npos) {
        return answer;
    }
    const std::size_t codeAt = statusLine.find(' ') + 1;
    const long long status = readDigits(statusLine.substr(codeAt, 3));
    if (status < 100 || status > 999 ||
        (statusLine.size() > codeAt + 3 && statusLine[codeAt + 3] != ' ')) {
        return answer;
    }

    long long contentLength = -1;
    std::size_t lineStart = statusLineEnd + 1;
    while (lineStart < head.size()) {
        std::size_t lineEnd = head.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) {
            lineEnd = head.size();
        }
        const std::string_view line = head.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const std::string_view name = trimmed(line.substr(0, colon));
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (equalsIgnoringCase(name, "Content-Length")) {
            contentLength = readDigits(value);
            if (contentLength < 0) {
                return answer;
            }
        } else if (equalsIgnoringCase(name, "Transfer-Encoding") &&
                   !equalsIgnoringCase(value, "identity")) {
            // An HTTP/1.0 request must not get a chunked answer; do not guess.
            return answer;
        }
    }
    answer.headerRead = true;
    answer.status = static_cast<int>(status);

    const std::string_view body = bytes.substr(std::min(bodyStart, bytes.size()));
    if (contentLength >= 0) {
        if (body.size() < static_cast<unsigned long long>(contentLength)) {
            return answer;
        }
        answer.body = std::string(body.substr(0, static_cast<std::size_t>(contentLength)));
    } else {
        if (!connectionClosed) {
            return answer;
        }
        answer.body = std::string(body);
    }
    answer.complete = true;
    return answer;
}

HttpAnswer exchange(const ServerAddress& address, std::string_view request, sf::Time timeout) {
    const Clock::time_point deadline =
        Clock::now() + std::chrono::microseconds(timeout.asMicroseconds());
    if (!address.valid()) {
        return {};
    }
    const sf::IpAddress ip(address.host);
    if (ip == sf::IpAddress::None) {
        return {};
    }

    // A zero time-out would make SFML wait without limit, so a spent budget
    // ends the exchange here.
    sf::Time left = remainingUntil(deadline);
    if (left == sf::Time::Zero) {
        return {};
    }
    sf::TcpSocket socket;
    if (socket.connect(ip, address.port, left) != sf::Socket::Done) {
        return {};
    }
    socket.setBlocking(false);
    if (!sendAll(socket, request, deadline)) {
        return {};
    }

    sf::SocketSelector selector;
    selector.add(socket);
    std::string received;
    char chunk[kReceiveChunk];
    for (;;) {
        left = remainingUntil(deadline);
        if (left == sf::Time::Zero || !selector.wait(left)) {
            return parseHttpAnswer(received, false);
        }
        std::size_t got = 0;
        const sf::Socket::Status status = socket.receive(chunk, sizeof chunk, got);
        if (status == sf::Socket::Disconnected) {
            return parseHttpAnswer(received, true);
        }
        if (status == sf::Socket::Error) {
            return parseHttpAnswer(received, false);
        }
        received.append(chunk, got);
        if (received.size() > kMaxAnswerBytes) {
            return {};
        }
        // A server that keeps the connection open still ends the answer with
        // its Content-Length.
        HttpAnswer answer = parseHttpAnswer(received, false);
        if (answer.complete) {
            return answer;
        }
    }
}
