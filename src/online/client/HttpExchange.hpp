#pragma once

#include <SFML/System/Time.hpp>
#include <string>
#include <string_view>

// Where the highscore server listens: "host" (port 80) or "host:port".
struct ServerAddress {
    std::string host;
    unsigned short port = 0;

    // False for an empty host or a port that is not 1 to 65535.
    bool valid() const { return !host.empty() && port != 0; }
    // "host" for port 80, otherwise "host:port", as the Host header wants it.
    std::string hostHeader() const;
};

ServerAddress parseServerAddress(std::string_view text);

// What came back from one HTTP exchange.
struct HttpAnswer {
    // The status line and headers arrived and could be read.
    bool headerRead = false;
    // The whole body arrived (as long as Content-Length said, or up to the
    // server closing the connection when it gave no length).
    bool complete = false;
    int status = 0;
    std::string body;
};

// The bytes of an HTTP/1.0 POST carrying a form body.
std::string buildPostRequest(const ServerAddress& address, std::string_view path,
                             std::string_view body);

// Reads the bytes of an answer received so far. `connectionClosed` says the
// server has closed, which ends a body that has no Content-Length. A body is
// only handed out when it is complete.
HttpAnswer parseHttpAnswer(std::string_view bytes, bool connectionClosed);

// Sends `request` and reads the answer, all of it (connect, send and receive)
// within `timeout`: a server that is down, or that accepts and then never
// answers, costs at most the time-out. Anything that goes wrong gives an answer
// that is not complete. Answers over 4 MiB are refused.
HttpAnswer exchange(const ServerAddress& address, std::string_view request, sf::Time timeout);
