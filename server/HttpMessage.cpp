#include "HttpMessage.hpp"

#include <ctime>

namespace {

const char* reasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 400:
            return "Bad Request";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 408:
            return "Request Timeout";
        case 411:
            return "Length Required";
        case 413:
            return "Content Too Large";
        case 429:
            return "Too Many Requests";
        case 431:
            return "Request Header Fields Too Large";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
        default:
            return "Unknown";
    }
}

// The Date header's value, e.g. "Sun, 06 Dec 2026 21:30:00 GMT".
std::string httpDate() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[40];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &parts);
    return text;
}

}  // namespace

HttpResponse errorResponse(int status, const std::string& reason) {
    HttpResponse response;
    response.status = status;
    response.body = "ERROR " + reason + "\n";
    response.note = "refused: " + reason;
    return response;
}

std::string serializeResponse(const HttpResponse& response, bool keepAlive, bool headOnly) {
    std::string text = "HTTP/1.1 " + std::to_string(response.status) + " " +
                       reasonPhrase(response.status) + "\r\nDate: " + httpDate() +
                       "\r\nContent-Type: " + response.contentType +
                       "\r\nContent-Length: " + std::to_string(response.body.size()) +
                       "\r\nConnection: " + (keepAlive ? "keep-alive" : "close") +
                       "\r\nX-Content-Type-Options: nosniff\r\n" + response.extraHeaders + "\r\n";
    if (!headOnly) {
        text += response.body;
    }
    return text;
}
