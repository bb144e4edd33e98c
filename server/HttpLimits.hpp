#pragma once

#include <boost/asio/ip/address.hpp>
#include <chrono>
#include <cstddef>
#include <vector>

// What one client may cost the server. Every limit answers with a 4xx status
// (or 503 for one shared by all clients) and closes the connection, so a
// client that breaks one starts over. A client is its IPv4 address or its
// IPv6 /64.
struct HttpLimits {
    // Request line and header lines together, in bytes.
    std::size_t maxHeaderBytes = 8192;
    std::size_t maxHeaderLines = 64;
    // From the first byte of a request (or the opening of the connection)
    // until its body is complete.
    std::chrono::seconds requestTimeout{10};
    // How long a kept-alive connection may wait for its next request.
    std::chrono::seconds idleTimeout{10};
    int maxConnectionsPerAddress = 16;
    // Token bucket per client address: refilled at this many requests per
    // second, holding at most `requestBurst`.
    int requestsPerSecond = 20;
    int requestBurst = 40;
    // Request bodies of all clients together on their way in, in bytes (as
    // their Content-Length announces them, or their path's limit when sent
    // in chunks).
    std::size_t maxBodyBytesInFlight = std::size_t{64} << 20;
    // Reverse proxies whose X-Forwarded-For names the client; their own
    // connections are not capped per address.
    std::vector<boost::asio::ip::address> trustedProxies;
};
