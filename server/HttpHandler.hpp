#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "HttpMessage.hpp"

// What the HTTP layer serves: a body limit per path, known once the header has
// arrived, and an answer per complete request.
class HttpHandler {
  public:
    virtual ~HttpHandler() = default;

    // Longest body accepted on `path`, in bytes; a longer one is refused
    // without being read.
    virtual std::size_t bodyLimit(std::string_view path) const = 0;
    // Runs on a worker thread, several at a time, never on the network thread.
    virtual HttpResponse handle(const HttpRequest& request) = 0;
    // An answer that needs no waiting (a table already in memory), given on
    // the network thread to spare the trip to a worker; empty otherwise.
    virtual std::optional<HttpResponse> answerAtOnce(const HttpRequest&) { return std::nullopt; }
};
