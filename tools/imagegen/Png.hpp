#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes 8-bit RGBA bytes (rows top to bottom) as a PNG file. The encoder has
// no time stamps or other varying chunks, so equal pixels give equal bytes.
// Returns false when the file cannot be written.
bool writePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgba);
