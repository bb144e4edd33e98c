#pragma once

#include <SFML/Network/TcpListener.hpp>
#include <string>
#include <thread>

// A one-shot HTTP responder on a free loopback port: it takes one connection,
// keeps the request bytes it received, sends back a fixed answer and closes.
// It lets the tests see exactly what the client puts on the wire and feed it
// answers the real server never gives.
class CannedServer {
  public:
    explicit CannedServer(std::string answerBytes);
    ~CannedServer();
    CannedServer(const CannedServer&) = delete;
    CannedServer& operator=(const CannedServer&) = delete;

    // "127.0.0.1:port"
    std::string address() const;
    // The request as received; waits until the exchange is over.
    const std::string& request();

    // An HTTP/1.0 answer with the given status and body and its Content-Length.
    static std::string answer(int status, const std::string& body);

  private:
    void serveOnce();

    sf::TcpListener listener;
    std::string answerBytes;
    std::string received;
    std::thread worker;
};
