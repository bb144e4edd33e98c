#pragma once

#include <string>
#include <string_view>

// SHA-256 of some bytes as 64 lowercase hexadecimal digits. Recorded runs name
// their level file by it, so a run is only ever replayed on the exact level it
// was played on. Level files are small, so the whole input is one buffer.
std::string sha256Hex(std::string_view bytes);

// True for 64 lowercase hexadecimal digits: what sha256Hex writes.
bool isSha256Hex(std::string_view text);
