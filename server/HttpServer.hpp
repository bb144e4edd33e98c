#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "ClientAddress.hpp"
#include "HttpHandler.hpp"
#include "HttpLimits.hpp"
#include "RateLimiter.hpp"
#include "RefusalLog.hpp"

class HttpConnection;

// An event-driven HTTP/1.1 server: one network thread reads and writes every
// connection, so an idle or slow client costs a socket and a small buffer, not
// a thread. Complete requests go to the handler on a pool of worker threads.
// Everything but the constructor runs on the io_context's single thread.
class HttpServer {
  public:
    HttpServer(boost::asio::io_context& io, const HttpLimits& limits, HttpHandler& handler,
               boost::asio::thread_pool& workers, std::size_t maxConnections);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds and starts accepting; false with the reason in `error`.
    bool listen(const std::string& host, int port, std::string& error);
    unsigned short port() const;
    // Stops accepting. Idle connections close at once; requests under way are
    // answered, then their connections close. io_context::run returns once
    // the last one is gone.
    void stop();

    // For the connections.
    const HttpLimits& limits() const { return httpLimits; }
    HttpHandler& handler() { return requestHandler; }
    boost::asio::thread_pool& workers() { return workerPool; }
    bool allowRequest(const std::string& clientKey);
    bool stopping() const { return stopped; }
    bool trusts(const boost::asio::ip::address& peer) const;
    // Takes `bytes` of the budget of bodies on their way in; false when they
    // do not fit.
    bool reserveBody(std::size_t bytes);
    void releaseBody(std::size_t bytes);
    // Writes a request's log line, unless it is a refusal beyond the few per
    // second of its client that are written out; those are summed up.
    void logRequest(const std::string& clientKey, int status, const std::string& line);
    void forget(HttpConnection* connection, const std::string& peerKey, bool counted);

  private:
    void accept();
    void admit(boost::asio::ip::tcp::socket socket);
    // Closes a connection over its address's cap at once, with a 429 sent
    // if the socket takes it without waiting: it must not hold a descriptor.
    void turnAway(boost::asio::ip::tcp::socket& socket, const ClientAddress& peer);
    // Once a second while counted refusals wait, writes their summaries.
    void armRefusalSummary();

    boost::asio::io_context& io;
    HttpLimits httpLimits;
    HttpHandler& requestHandler;
    boost::asio::thread_pool& workerPool;
    std::size_t maxConnections;
    boost::asio::ip::tcp::acceptor acceptor;
    // Waits out a failed accept (out of descriptors) before the next try.
    boost::asio::steady_timer acceptPause;
    RateLimiter rateLimiter;
    RefusalLog refusals;
    boost::asio::steady_timer refusalTimer;
    bool refusalTimerArmed = false;
    std::size_t bodyBytesInFlight = 0;
    std::unordered_map<std::string, int> connectionsPerAddress;
    std::unordered_set<HttpConnection*> connections;
    bool stopped = false;
};
