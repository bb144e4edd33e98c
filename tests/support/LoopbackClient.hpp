#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// A raw HTTP connection over loopback, for what the game's client never does:
// a chosen source address (any 127.x.y.z), kept-alive connections, requests
// sent in pieces or never finished. Every wait ends after at most 5 s.
class LoopbackClient {
  public:
    struct Answer {
        int status = 0;
        std::string body;
        // The header lines, each ending in CR LF.
        std::string headers;
    };

    explicit LoopbackClient(int port, const std::string& from = "127.0.0.1");
    ~LoopbackClient();
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    bool connected() const { return fd >= 0; }
    // False when the connection broke before every byte was sent.
    bool send(std::string_view bytes);
    // Says that nothing more will be sent.
    void finishSending();
    // One answer: status line, headers and Content-Length bytes of body.
    std::optional<Answer> readAnswer();
    // Whether the server closes the connection, dropping whatever it sends.
    bool closedByServer();

  private:
    // False on close, error or time-out.
    bool receiveMore();

    int fd = -1;
    std::string received;
};

// Raises the test program's limit of open files as far as it may go, for
// tests that hold hundreds of connections.
void raiseOpenFileLimit();

// A request with a Host header, the body's Content-Length when there is a
// body, and Connection: close unless `keepAlive`.
std::string httpRequest(std::string_view method, std::string_view target,
                        std::string_view body = {}, bool keepAlive = true);

// The answer to one request sent from `from` on a connection of its own; an
// empty Answer (status 0) when none came.
LoopbackClient::Answer answerTo(int port, std::string_view request,
                                const std::string& from = "127.0.0.1");

// Connections that each send one byte of a request header per second and
// never finish it, the way a slow-header attack holds a server. They come from
// several loopback addresses, 16 from each, so that a limit per address does
// not turn them away.
class SlowClients {
  public:
    SlowClients(int port, int count);
    ~SlowClients();

    int connected() const;

  private:
    std::vector<std::unique_ptr<LoopbackClient>> clients;
    std::atomic<bool> done{false};
    std::thread dripper;
};
