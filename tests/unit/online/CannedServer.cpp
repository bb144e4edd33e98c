#include "CannedServer.hpp"

#include <SFML/Network/SocketSelector.hpp>
#include <SFML/Network/TcpSocket.hpp>

#include "online/HttpExchange.hpp"

namespace {

// Long enough for any test exchange, short enough that a client that never
// connects does not hang the test.
const sf::Time kWaitLimit = sf::seconds(10);

// True once the bytes hold a whole request: headers and Content-Length bytes.
bool requestComplete(const std::string& bytes) {
    const std::size_t headerEnd = bytes.find("\r\n\r\n");
    if (headerEnd == std::string::npos) {
        return false;
    }
    const std::size_t lengthAt = bytes.find("Content-Length: ");
    if (lengthAt == std::string::npos || lengthAt > headerEnd) {
        return true;
    }
    const std::size_t length = std::stoul(bytes.substr(lengthAt + 16));
    return bytes.size() >= headerEnd + 4 + length;
}

}  // namespace

CannedServer::CannedServer(std::string answerBytes) : answerBytes(std::move(answerBytes)) {
    listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost);
    worker = std::thread([this] { serveOnce(); });
}

CannedServer::~CannedServer() {
    if (worker.joinable()) {
        worker.join();
    }
}

std::string CannedServer::address() const {
    return "127.0.0.1:" + std::to_string(listener.getLocalPort());
}

const std::string& CannedServer::request() {
    if (worker.joinable()) {
        worker.join();
    }
    return received;
}

std::string CannedServer::answer(int status, const std::string& body) {
    return "HTTP/1.0 " + std::to_string(status) +
           " Whatever\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

void CannedServer::serveOnce() {
    sf::SocketSelector selector;
    selector.add(listener);
    if (!selector.wait(kWaitLimit)) {
        return;
    }
    sf::TcpSocket client;
    if (listener.accept(client) != sf::Socket::Done) {
        return;
    }
    selector.clear();
    selector.add(client);
    char chunk[4096];
    while (!requestComplete(received) && selector.wait(kWaitLimit)) {
        std::size_t got = 0;
        if (client.receive(chunk, sizeof chunk, got) != sf::Socket::Done) {
            break;
        }
        received.append(chunk, got);
    }
    client.send(answerBytes.data(), answerBytes.size());
    client.disconnect();
}
