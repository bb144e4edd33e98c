#pragma once

#include <SFML/Network/TcpListener.hpp>

#include <string>

// A loopback address on which nothing listens: every request fails at once,
// as with a highscore server that is down.
std::string refusingAddress();

// A loopback port that takes connections into its queue but never answers, as
// a hung server does: every request there runs into the client's time-out.
class SilentServer {
  public:
    SilentServer();
    std::string address() const;

  private:
    sf::TcpListener listener;
};
