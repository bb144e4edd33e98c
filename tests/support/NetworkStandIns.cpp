#include "NetworkStandIns.hpp"

std::string refusingAddress() {
    // A port the system just handed out and took back is free: nothing
    // listens there.
    sf::TcpListener probe;
    probe.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost);
    const unsigned short port = probe.getLocalPort();
    probe.close();
    return "127.0.0.1:" + std::to_string(port);
}

SilentServer::SilentServer() {
    listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost);
}

std::string SilentServer::address() const {
    return "127.0.0.1:" + std::to_string(listener.getLocalPort());
}
