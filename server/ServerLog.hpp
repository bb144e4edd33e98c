#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One line on stderr, prefixed with the UTC time; lines of several threads do
// not mix.
void logLine(const std::string& text);

// `text` with every byte a log reader could misread written as \xHH: control
// characters (a line feed would forge a line of its own), DEL, bytes above 126
// and the backslash itself, so that the escaping cannot be faked either.
std::string escapeForLog(std::string_view text);

// At most `limit` characters of `text`; a longer text ends in a mark saying
// how many bytes were left out, so a cut is never mistaken for the whole.
std::string cutForLog(std::string_view text, std::size_t limit);

// A reason that quotes what it refused ("unknown field 'xyz'") with the
// quoted part cut to about 40 characters: a client must not be able to make
// the server repeat megabytes of its own text into the log and the answer.
std::string boundedRefusal(std::string_view reason);
