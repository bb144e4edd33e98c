#include "HttpConnection.hpp"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/read.hpp>
#include <cstdio>
#include <exception>
#include <iterator>
#include <limits>

#include "HttpServer.hpp"
#include "ServerLog.hpp"

namespace asio = boost::asio;
namespace http = boost::beast::http;
using asio::ip::tcp;
using boost::beast::error_code;

namespace {

// How long whatever a client sends after its last answer is read and dropped.
constexpr std::chrono::seconds kLingerTime{2};
constexpr std::size_t kDrainBytes = 16 * 1024;
// How long a request still arriving when the server stops may take to finish.
constexpr std::chrono::seconds kStopGrace{1};
// The most of a request's target and of what happened that its log line
// holds.
constexpr std::size_t kLoggedTarget = 300;
constexpr std::size_t kLoggedNote = 300;

std::string pathOf(const std::string& target) {
    return target.substr(0, target.find('?'));
}

bool takesBody(http::verb method) {
    return method == http::verb::post || method == http::verb::put || method == http::verb::patch;
}

HttpResponse handleSafely(HttpHandler& handler, const HttpRequest& request) {
    try {
        return handler.handle(request);
    } catch (const std::exception& error) {
        HttpResponse response = errorResponse(500, "internal error");
        response.note += std::string(" (") + error.what() + ")";
        return response;
    }
}

}  // namespace

HttpConnection::HttpConnection(HttpServer& server, tcp::socket socket, ClientAddress peer,
                               bool proxied)
    : server(server),
      socket(std::move(socket)),
      timer(this->socket.get_executor()),
      peer(std::move(peer)),
      proxied(proxied),
      buffer(server.limits().maxHeaderBytes + kDrainBytes),
      client(this->peer) {}

void HttpConnection::start() {
    // Answers go out in one write anyway; this keeps a kept-alive client from
    // ever waiting on a delayed acknowledgement.
    error_code ignored;
    socket.set_option(tcp::no_delay(true), ignored);
    waitForRequest();
}

void HttpConnection::stop() {
    if (phase == Phase::Idle) {
        close();
    } else if (phase == Phase::Reading && timer.expiry() > Clock::now() + kStopGrace) {
        // A request still arriving gets a moment, not its whole time-out: a
        // slow client must not hold up the stop.
        arm(kStopGrace);
    }
}

void HttpConnection::waitForRequest() {
    if (server.stopping()) {
        linger();
        return;
    }
    method = "-";
    target = "-";
    client = peer;
    headOnly = false;
    deadlinePassed = false;
    parser.emplace();
    parser->header_limit(static_cast<std::uint32_t>(server.limits().maxHeaderBytes));
    // The body's limit depends on its path, so it is set once the header is
    // in; a declared length is checked against it before the body is read.
    parser->body_limit(std::numeric_limits<std::uint64_t>::max());
    if (buffer.size() > 0) {
        // The client sent its next request right behind the last one.
        readHeader();
        return;
    }
    buffer.shrink_to_fit();
    phase = Phase::Idle;
    arm(server.limits().idleTimeout);
    socket.async_wait(tcp::socket::wait_read, [self = shared_from_this()](error_code error) {
        if (self->phase != Phase::Idle) {
            return;
        }
        if (error) {
            self->close();
            return;
        }
        self->readHeader();
    });
}

void HttpConnection::readHeader() {
    phase = Phase::Reading;
    started = Clock::now();
    arm(server.limits().requestTimeout);
    http::async_read_header(
        socket, buffer, *parser,
        [self = shared_from_this()](error_code error, std::size_t) { self->onHeader(error); });
}

void HttpConnection::onHeader(error_code error) {
    if (phase != Phase::Reading) {
        return;
    }
    if (error || deadlinePassed) {
        refuseBroken(error);
        return;
    }
    const auto& request = parser->get();
    method = std::string(request.method_string());
    target = std::string(request.target());
    client = clientOf(request);
    headOnly = request.method() == http::verb::head;
    if (const auto refusal = headerRefusal()) {
        refuse(refusal->status, refusal->reason);
        return;
    }
    // A chunked body is counted as it arrives.
    parser->body_limit(bodyLimit);
    if (parser->is_done()) {
        dispatch();
        return;
    }
    http::async_read(
        socket, buffer, *parser,
        [self = shared_from_this()](error_code error, std::size_t) { self->onBody(error); });
}

std::optional<HttpConnection::Refusal> HttpConnection::headerRefusal() {
    const HttpLimits& limits = server.limits();
    const auto& request = parser->get();
    const auto lines = static_cast<std::size_t>(std::distance(request.begin(), request.end()));
    if (lines > limits.maxHeaderLines) {
        return Refusal{431, "more than " + std::to_string(limits.maxHeaderLines) + " header lines"};
    }
    if (!server.allowRequest(client.key)) {
        return Refusal{429, "over " + std::to_string(limits.requestsPerSecond) +
                                " requests per second from this address"};
    }
    bodyLimit = server.handler().bodyLimit(pathOf(target));
    const auto length = parser->content_length();
    if (length && *length > bodyLimit) {
        return Refusal{413, "body over " + std::to_string(bodyLimit) + " bytes"};
    }
    if (!length && !parser->chunked() && takesBody(request.method())) {
        return Refusal{411, "a body needs a Content-Length"};
    }
    // A chunked body may grow to its path's limit; no body costs nothing.
    const std::size_t body = length              ? static_cast<std::size_t>(*length)
                             : parser->chunked() ? bodyLimit
                                                 : 0;
    if (!server.reserveBody(body)) {
        return Refusal{503, "busy: too many request bodies on their way in"};
    }
    bodyReserved = body;
    return std::nullopt;
}

ClientAddress HttpConnection::clientOf(
    const http::request_parser<http::string_body>::value_type& request) const {
    if (!proxied) {
        return peer;
    }
    const auto forwarded = request.find("X-Forwarded-For");
    if (forwarded == request.end()) {
        return peer;
    }
    const auto value = forwarded->value();
    const auto address = lastForwardedAddress(std::string_view(value.data(), value.size()));
    return address ? ::clientOf(*address) : peer;
}

void HttpConnection::releaseBody() {
    server.releaseBody(bodyReserved);
    bodyReserved = 0;
}

void HttpConnection::onBody(error_code error) {
    if (phase != Phase::Reading) {
        return;
    }
    if (error || deadlinePassed) {
        refuseBroken(error);
        return;
    }
    dispatch();
}

void HttpConnection::dispatch() {
    disarm();
    phase = Phase::Handling;
    keepAlive = parser->keep_alive();
    HttpRequest request{method,       target,    pathOf(target), std::move(parser->get().body()),
                        client.shown, client.key};
    if (auto quick = server.handler().answerAtOnce(request)) {
        answer(*quick, keepAlive && !server.stopping());
        return;
    }
    // The io_context knows nothing of the worker threads: the guard keeps it
    // running (a stopping server included) until the answer is back.
    HttpHandler::Reply reply =
        [self = shared_from_this(),
         work = asio::make_work_guard(socket.get_executor())](HttpResponse response) {
            asio::post(self->socket.get_executor(), [self, response = std::move(response)] {
                self->answer(response, self->keepAlive && !self->server.stopping());
            });
        };
    if (server.handler().handleElsewhere(request, reply)) {
        return;
    }
    asio::post(server.workers(),
               [self = shared_from_this(), request = std::move(request), reply = std::move(reply)] {
                   reply(handleSafely(self->server.handler(), request));
               });
}

void HttpConnection::answer(const HttpResponse& response, bool keepOpen) {
    // The body has been handled and is gone.
    releaseBody();
    phase = Phase::Writing;
    outgoing = serializeResponse(response, keepOpen, headOnly);
    arm(server.limits().requestTimeout);
    asio::async_write(socket, asio::buffer(outgoing),
                      [self = shared_from_this(), keepOpen, status = response.status,
                       note = response.note](error_code error, std::size_t) {
                          self->logRequest(status, note);
                          if (self->phase != Phase::Writing) {
                              return;
                          }
                          self->outgoing = std::string();
                          if (error) {
                              self->close();
                          } else if (keepOpen) {
                              self->waitForRequest();
                          } else {
                              self->linger();
                          }
                      });
}

void HttpConnection::refuse(int status, const std::string& reason) {
    disarm();
    HttpResponse response = errorResponse(status, reason);
    if (status == 429) {
        response.extraHeaders = "Retry-After: 1\r\n";
    }
    answer(response, false);
}

void HttpConnection::refuseBroken(error_code error) {
    if (deadlinePassed) {
        refuse(408, "request not complete within " +
                        std::to_string(server.limits().requestTimeout.count()) + " s");
    } else if (error == http::error::header_limit || error == http::error::buffer_overflow) {
        refuse(431,
               "header section over " + std::to_string(server.limits().maxHeaderBytes) + " bytes");
    } else if (error == http::error::body_limit) {
        refuse(413, "body over " + std::to_string(bodyLimit) + " bytes");
    } else if (error.category() == make_error_code(http::error::end_of_stream).category() &&
               error != http::error::end_of_stream && error != http::error::partial_message) {
        refuse(400, "malformed request (" + error.message() + ")");
    } else {
        // The client went away, before or in the middle of a request.
        close();
    }
}

void HttpConnection::linger() {
    phase = Phase::Lingering;
    error_code ignored;
    socket.shutdown(tcp::socket::shutdown_send, ignored);
    buffer.consume(buffer.size());
    arm(kLingerTime);
    drain();
}

void HttpConnection::drain() {
    socket.async_read_some(buffer.prepare(kDrainBytes),
                           [self = shared_from_this()](error_code error, std::size_t) {
                               if (self->phase != Phase::Lingering) {
                                   return;
                               }
                               if (error) {
                                   self->close();
                                   return;
                               }
                               self->drain();
                           });
}

void HttpConnection::close() {
    if (phase == Phase::Closed) {
        return;
    }
    phase = Phase::Closed;
    disarm();
    releaseBody();
    error_code ignored;
    socket.close(ignored);
    server.forget(this, peer.key, !proxied);
}

void HttpConnection::arm(Clock::duration duration) {
    const unsigned generation = ++timerGeneration;
    timer.expires_after(duration);
    timer.async_wait([self = shared_from_this(), generation](error_code error) {
        if (!error && generation == self->timerGeneration) {
            self->onDeadline();
        }
    });
}

void HttpConnection::disarm() {
    ++timerGeneration;
    timer.cancel();
}

void HttpConnection::onDeadline() {
    if (phase == Phase::Reading) {
        // The read ends with an error and is refused with 408.
        deadlinePassed = true;
        error_code ignored;
        socket.cancel(ignored);
    } else if (phase != Phase::Handling) {
        close();
    }
}

void HttpConnection::logRequest(int status, const std::string& note) const {
    const double milliseconds =
        std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, " %.1fms", milliseconds);
    const std::string shownClient =
        client.shown == peer.shown ? peer.shown : client.shown + " via " + peer.shown;
    server.logRequest(client.key, status,
                      escapeForLog(shownClient + " " + cutForLog(method, kLoggedTarget) + " ") +
                          cutForLog(escapeForLog(target), kLoggedTarget) + " " +
                          std::to_string(status) + elapsed +
                          (note.empty() ? "" : " " + cutForLog(escapeForLog(note), kLoggedNote)));
}
