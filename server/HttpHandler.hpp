#pragma once

#include <cstddef>
#include <functional>
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

    // Hands the answer back from any thread, exactly once.
    using Reply = std::function<void(HttpResponse)>;
    // Takes a long request (a replayed run) to threads of the handler's own,
    // called on the network thread; false leaves it to the workers.
    virtual bool handleElsewhere(const HttpRequest&, const Reply&) { return false; }
};
