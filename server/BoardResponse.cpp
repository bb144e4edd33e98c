#include "BoardResponse.hpp"

#include "BoardPage.hpp"

namespace {

// The pages hold no script, and the browser is told so.
constexpr const char* kPageHeaders =
    "Content-Security-Policy: default-src 'none'; style-src 'unsafe-inline'\r\n";

}  // namespace

HttpResponse boardPageResponse(int status, std::string_view title, const std::string& content,
                               std::string note) {
    HttpResponse response;
    response.status = status;
    response.contentType = "text/html; charset=utf-8";
    response.body = htmlPage(title, content);
    response.extraHeaders = kPageHeaders;
    response.note = std::move(note);
    return response;
}

HttpResponse notFoundPage(std::string_view heading, std::string_view explanation,
                          std::string note) {
    std::string content = "<h1>" + htmlEscape(heading) + "</h1>";
    if (!explanation.empty()) {
        content += "<p>" + htmlEscape(explanation) + "</p>";
    }
    content += "<p><a href=\"/\">All levels</a></p>";
    return boardPageResponse(404, heading, content, std::move(note));
}
