#include "HttpServer.hpp"

#include <vector>

#include "HttpConnection.hpp"
#include "ServerLog.hpp"

namespace asio = boost::asio;
using asio::ip::tcp;
using boost::system::error_code;

namespace {

// After a failed accept (usually out of file descriptors) the next try waits
// this long, so the loop does not spin.
constexpr std::chrono::milliseconds kAcceptPause{100};

}  // namespace

HttpServer::HttpServer(asio::io_context& io, const HttpLimits& limits, HttpHandler& handler,
                       asio::thread_pool& workers, std::size_t maxConnections)
    : io(io),
      httpLimits(limits),
      requestHandler(handler),
      workerPool(workers),
      maxConnections(maxConnections),
      acceptor(io),
      acceptPause(io),
      rateLimiter(limits.requestsPerSecond, limits.requestBurst) {}

HttpServer::~HttpServer() = default;

bool HttpServer::listen(const std::string& host, int port, std::string& error) {
    error_code failure;
    tcp::resolver resolver(io);
    const auto endpoints =
        resolver.resolve(host, std::to_string(port), tcp::resolver::passive, failure);
    if (failure || endpoints.empty()) {
        error = failure ? failure.message() : "no such address";
        return false;
    }
    const tcp::endpoint endpoint = *endpoints.begin();
    if (acceptor.open(endpoint.protocol(), failure) ||
        acceptor.set_option(tcp::acceptor::reuse_address(true), failure) ||
        acceptor.bind(endpoint, failure) ||
        acceptor.listen(asio::socket_base::max_listen_connections, failure)) {
        error = failure.message();
        return false;
    }
    accept();
    return true;
}

unsigned short HttpServer::port() const {
    error_code ignored;
    return acceptor.local_endpoint(ignored).port();
}

void HttpServer::stop() {
    stopped = true;
    error_code ignored;
    acceptor.close(ignored);
    acceptPause.cancel();
    // Closing a connection takes it out of the set.
    const std::vector<HttpConnection*> open(connections.begin(), connections.end());
    for (HttpConnection* connection : open) {
        connection->stop();
    }
}

bool HttpServer::allowRequest(const std::string& address) {
    return rateLimiter.allow(address, RateLimiter::Clock::now());
}

void HttpServer::forget(HttpConnection* connection, const std::string& address, bool counted) {
    connections.erase(connection);
    if (!counted) {
        return;
    }
    const auto entry = connectionsPerAddress.find(address);
    if (entry != connectionsPerAddress.end() && --entry->second <= 0) {
        connectionsPerAddress.erase(entry);
    }
}

void HttpServer::accept() {
    acceptor.async_accept([this](error_code error, tcp::socket socket) {
        if (stopped || error == asio::error::operation_aborted) {
            return;
        }
        if (error) {
            logLine("cannot accept a connection (" + error.message() + "), trying again soon");
            acceptPause.expires_after(kAcceptPause);
            acceptPause.async_wait([this](error_code waited) {
                if (!waited && !stopped) {
                    accept();
                }
            });
            return;
        }
        admit(std::move(socket));
        accept();
    });
}

void HttpServer::admit(tcp::socket socket) {
    error_code failure;
    const tcp::endpoint peer = socket.remote_endpoint(failure);
    // Beyond the descriptor budget a connection is closed unanswered: the
    // server needs descriptors of its own to stay healthy.
    if (failure || connections.size() >= maxConnections) {
        return;
    }
    std::string address = peer.address().to_string();
    int& open = connectionsPerAddress[address];
    const bool counted = open < httpLimits.maxConnectionsPerAddress;
    if (counted) {
        ++open;
    }
    auto connection =
        std::make_shared<HttpConnection>(*this, std::move(socket), std::move(address), counted);
    connections.insert(connection.get());
    connection->start();
}
