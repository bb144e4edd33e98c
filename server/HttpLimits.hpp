#pragma once

#include <chrono>
#include <cstddef>

// What one client may cost the server. Every limit answers with a 4xx status
// and closes the connection, so a client that breaks one starts over.
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
};
