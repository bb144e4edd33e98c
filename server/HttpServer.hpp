#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "HttpHandler.hpp"
#include "HttpLimits.hpp"
#include "RateLimiter.hpp"

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
    bool allowRequest(const std::string& address);
    bool stopping() const { return stopped; }
    void forget(HttpConnection* connection, const std::string& address, bool counted);

  private:
    void accept();
    void admit(boost::asio::ip::tcp::socket socket);

    boost::asio::io_context& io;
    HttpLimits httpLimits;
    HttpHandler& requestHandler;
    boost::asio::thread_pool& workerPool;
    std::size_t maxConnections;
    boost::asio::ip::tcp::acceptor acceptor;
    // Waits out a failed accept (out of descriptors) before the next try.
    boost::asio::steady_timer acceptPause;
    RateLimiter rateLimiter;
    std::unordered_map<std::string, int> connectionsPerAddress;
    std::unordered_set<HttpConnection*> connections;
    bool stopped = false;
};
