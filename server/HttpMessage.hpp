#pragma once

#include <string>

// One request as the handlers see it: the body is complete and within the
// limit of its path.
struct HttpRequest {
    std::string method;
    // As the client sent it, query included; never decoded.
    std::string target;
    // The target up to its '?'.
    std::string path;
    std::string body;
    // The client's IP address: the peer's, or the one a trusted proxy
    // forwarded.
    std::string client;
    // What the limits per client count under (ClientAddress::key).
    std::string clientKey;
};

struct HttpResponse {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string body;
    // Further header lines, each ending in CR LF.
    std::string extraHeaders;
    // What happened, for the request's log line.
    std::string note;
};

// A refusal: the status, a body "ERROR reason" and LF, and the reason noted
// for the log.
HttpResponse errorResponse(int status, const std::string& reason);

// Status line, headers and body as one buffer, so the answer leaves in a
// single write. `headOnly` leaves the body out (an answer to HEAD) but keeps
// its length.
std::string serializeResponse(const HttpResponse& response, bool keepAlive, bool headOnly);
