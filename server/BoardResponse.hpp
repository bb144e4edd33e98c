#pragma once

#include <string>
#include <string_view>

#include "HttpMessage.hpp"

// A page of the web board: HTML with the board's style sheet, and a header
// that tells the browser the page runs no script.
HttpResponse boardPageResponse(int status, std::string_view title, const std::string& content,
                               std::string note);

// A page that says what was not found, with a way back.
HttpResponse notFoundPage(std::string_view heading, std::string_view explanation, std::string note);
