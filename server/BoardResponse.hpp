#pragma once

#include <string>
#include <string_view>

#include "HttpMessage.hpp"
#include "sim/level/LevelList.hpp"

// A page of the web board: HTML with the board's style sheet, and a header
// that tells the browser the page runs no script.
HttpResponse boardPageResponse(int status, std::string_view title, const std::string& content,
                               std::string note);

// A page that says what was not found, with a way back.
HttpResponse notFoundPage(std::string_view heading, std::string_view explanation, std::string note);

// The level's name and its mode as the heading `tag` (h1, h2).
std::string levelHeading(const char* tag, const LevelEntry& level, int mode);
