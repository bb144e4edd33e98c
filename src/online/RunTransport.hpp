#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// How a run travels to the server: its text compressed with zlib (RFC 1950)
// and written in base64url without padding, the "runz" field of a run
// submission. A half-hour run played at 240 frames a second of differing
// lengths is a few hundred kilobytes of text but a few dozen packed, and
// base64url needs no escaping in a form body.

std::string packRun(std::string_view runText);

// The run text, or nothing when `packed` is no base64url, no zlib stream, has
// bytes after its end, or would inflate past `maxBytes`: inflating stops
// there, so a stream made to explode costs no more than that.
std::optional<std::string> unpackRun(std::string_view packed, std::size_t maxBytes);
