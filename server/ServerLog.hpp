#pragma once

#include <string>
#include <string_view>

// One line on stderr, prefixed with the UTC time; lines of several threads do
// not mix.
void logLine(const std::string& text);

// `text` with every byte a log reader could misread written as \xHH: control
// characters (a line feed would forge a line of its own), DEL, bytes above 126
// and the backslash itself, so that the escaping cannot be faked either.
std::string escapeForLog(std::string_view text);
