#pragma once

#include <string>
#include <string_view>

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk and
// renames it over `path`: a crash or a full disk leaves either the old file or
// the new one, never a part of one. False (and the old file untouched) when
// any step fails.
bool replaceFileContents(const std::string& path, std::string_view bytes);
