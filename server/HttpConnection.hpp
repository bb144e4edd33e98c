#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/error.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>
#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "ClientAddress.hpp"
#include "HttpMessage.hpp"

class HttpServer;

// One client connection, from accept to close, on the network thread:
//
//   idle --first byte--> reading --request complete--> handling (worker thread)
//     ^                     |                              |
//     +---- keep-alive -----|------------ writing <--------+
//                           +-- a limit broken --> writing a refusal --> lingering
//
// One timer bounds every phase: the idle time-out while waiting for a request,
// the request time-out from its first byte to the end of its body and again
// for writing the answer, and a short linger after the last answer in which
// whatever the client still sends is read and dropped, so that the answer is
// not lost to a reset.
class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
  public:
    // `proxied`: the peer is a trusted reverse proxy, whose requests each
    // name their client in X-Forwarded-For.
    HttpConnection(HttpServer& server, boost::asio::ip::tcp::socket socket, ClientAddress peer,
                   bool proxied);

    void start();
    // The server is stopping: an idle connection closes now, a request under
    // way is answered and then the connection closes.
    void stop();

  private:
    enum class Phase { Idle, Reading, Handling, Writing, Lingering, Closed };
    using Clock = std::chrono::steady_clock;
    struct Refusal {
        int status;
        std::string reason;
    };

    void waitForRequest();
    void readHeader();
    void onHeader(boost::beast::error_code error);
    // The first limit a complete header breaks (request rate and the bodies
    // in flight included), and the body limit of its path in `bodyLimit`.
    std::optional<Refusal> headerRefusal();
    // The client a request comes from: the peer, or the one its trusted proxy
    // names.
    ClientAddress clientOf(
        const boost::beast::http::request_parser<boost::beast::http::string_body>::value_type&
            request) const;
    void releaseBody();
    void onBody(boost::beast::error_code error);
    void dispatch();
    void answer(const HttpResponse& response, bool keepAlive);
    void refuse(int status, const std::string& reason);
    void refuseBroken(boost::beast::error_code error);
    void linger();
    void drain();
    void close();
    void arm(Clock::duration duration);
    void disarm();
    void onDeadline();
    void logRequest(int status, const std::string& note) const;

    HttpServer& server;
    boost::asio::ip::tcp::socket socket;
    boost::asio::steady_timer timer;
    // Tells a timer's current wait from one that was replaced while its
    // completion was already queued.
    unsigned timerGeneration = 0;
    bool deadlinePassed = false;
    const ClientAddress peer;
    const bool proxied;
    Phase phase = Phase::Idle;
    boost::beast::flat_buffer buffer;
    std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> parser;
    std::string outgoing;

    // The request under way, for its answer and its log line.
    std::string method = "-";
    std::string target = "-";
    ClientAddress client;
    std::size_t bodyLimit = 0;
    // Bytes of the budget of bodies in flight this request holds.
    std::size_t bodyReserved = 0;
    bool headOnly = false;
    bool keepAlive = false;
    Clock::time_point started = Clock::now();
};
