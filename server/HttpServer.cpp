#include "HttpServer.hpp"

#include <algorithm>
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
constexpr std::chrono::seconds kRefusalSummaryEvery{1};

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
      rateLimiter(limits.requestsPerSecond, limits.requestBurst),
      refusalTimer(io) {}

HttpServer::~HttpServer() = default;

bool HttpServer::listen(const std::string& host, int port, std::string& error) {
    error_code failure;
    tcp::resolver resolver(io);
    // "[::1]" is how an IPv6 address is written beside a port; the resolver
    // wants it bare.
    const bool bracketed = host.size() > 2 && host.front() == '[' && host.back() == ']';
    const auto endpoints = resolver.resolve(bracketed ? host.substr(1, host.size() - 2) : host,
                                            std::to_string(port), tcp::resolver::passive, failure);
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
    refusalTimer.cancel();
    for (const std::string& summary :
         refusals.summaries(RefusalLog::Clock::now() + kRefusalSummaryEvery)) {
        logLine(summary);
    }
    // Closing a connection takes it out of the set.
    const std::vector<HttpConnection*> open(connections.begin(), connections.end());
    for (HttpConnection* connection : open) {
        connection->stop();
    }
}

bool HttpServer::allowRequest(const std::string& clientKey) {
    return rateLimiter.allow(clientKey, RateLimiter::Clock::now());
}

bool HttpServer::trusts(const asio::ip::address& peer) const {
    const auto& proxies = httpLimits.trustedProxies;
    return std::find(proxies.begin(), proxies.end(), unmapped(peer)) != proxies.end();
}

bool HttpServer::reserveBody(std::size_t bytes) {
    if (bytes > httpLimits.maxBodyBytesInFlight - bodyBytesInFlight) {
        return false;
    }
    bodyBytesInFlight += bytes;
    return true;
}

void HttpServer::releaseBody(std::size_t bytes) {
    bodyBytesInFlight -= std::min(bytes, bodyBytesInFlight);
}

void HttpServer::logRequest(const std::string& clientKey, int status, const std::string& line) {
    if (status < 400 || refusals.admit(clientKey, status, RefusalLog::Clock::now())) {
        logLine(line);
        return;
    }
    armRefusalSummary();
}

void HttpServer::armRefusalSummary() {
    if (refusalTimerArmed || stopped) {
        return;
    }
    refusalTimerArmed = true;
    refusalTimer.expires_after(kRefusalSummaryEvery);
    refusalTimer.async_wait([this](error_code error) {
        refusalTimerArmed = false;
        if (error) {
            return;
        }
        for (const std::string& summary : refusals.summaries(RefusalLog::Clock::now())) {
            logLine(summary);
        }
        if (refusals.anyCounted()) {
            armRefusalSummary();
        }
    });
}

void HttpServer::forget(HttpConnection* connection, const std::string& peerKey, bool counted) {
    connections.erase(connection);
    if (!counted) {
        return;
    }
    const auto entry = connectionsPerAddress.find(peerKey);
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
    ClientAddress client = clientOf(peer.address());
    // A trusted proxy carries many players: they are limited one by one once
    // their requests name them.
    const bool proxied = trusts(peer.address());
    if (!proxied) {
        int& open = connectionsPerAddress[client.key];
        if (open >= httpLimits.maxConnectionsPerAddress) {
            turnAway(socket, client);
            return;
        }
        ++open;
    }
    auto connection =
        std::make_shared<HttpConnection>(*this, std::move(socket), std::move(client), proxied);
    connections.insert(connection.get());
    connection->start();
}

void HttpServer::turnAway(tcp::socket& socket, const ClientAddress& peer) {
    const std::string reason = "over " + std::to_string(httpLimits.maxConnectionsPerAddress) +
                               " connections from this address";
    HttpResponse response = errorResponse(429, reason);
    response.extraHeaders = "Retry-After: 1\r\n";
    const std::string bytes = serializeResponse(response, false, false);
    error_code ignored;
    socket.non_blocking(true, ignored);
    socket.write_some(asio::buffer(bytes), ignored);
    socket.shutdown(tcp::socket::shutdown_send, ignored);
    socket.close(ignored);
    logRequest(peer.key, 429, escapeForLog(peer.shown + " - - 429 0.0ms " + response.note));
}
