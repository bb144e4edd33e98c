#pragma once

#include <optional>
#include <string>
#include <string_view>

// A raw HTTP connection over loopback, for what the game's client never does:
// a chosen source address (any 127.x.y.z), kept-alive connections, requests
// sent in pieces or never finished.
class LoopbackClient {
  public:
    struct Answer {
        int status = 0;
        std::string body;
    };

    // Connects to 127.0.0.1:`port` from `from`; see connected().
    explicit LoopbackClient(int port, const std::string& from = "127.0.0.1");
    ~LoopbackClient();
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    bool connected() const { return fd >= 0; }
    // Sends every byte, waiting at most 5 s; false when the connection broke.
    bool send(std::string_view bytes);
    // Sends what the socket takes without waiting; false when it broke.
    bool sendNow(std::string_view bytes);
    // Says that nothing more will be sent.
    void finishSending();
    // Reads one answer (status line, headers and Content-Length bytes of
    // body) within `seconds`.
    std::optional<Answer> readAnswer(double seconds);
    // Whether the server closes the connection within `seconds`, reading and
    // dropping whatever it still sends.
    bool closedWithin(double seconds);

  private:
    // Waits up to the deadline for more bytes; false on close, error or time.
    bool receiveMore(double seconds);

    int fd = -1;
    std::string received;
};

// A request with a Host header, the body's Content-Length when there is a
// body, and Connection: close unless `keepAlive`.
std::string httpRequest(std::string_view method, std::string_view target,
                        std::string_view body = {}, bool keepAlive = true);

// Raises this process's open file limit to its hard limit, for tests that
// hold hundreds of connections.
void raiseOpenFileLimit();
