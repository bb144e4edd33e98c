#pragma once

#include <string>
#include <string_view>

#include "sim/play/PlayInput.hpp"

// The words of a run's text shared by its writer and its reader.
namespace RunWords {

constexpr std::string_view magicPrefix = "rollavortex-run ";
// The version the writer uses when every frame time is whole ticks, the one
// it falls back to otherwise, and the oldest that still reads.
constexpr int tickVersion = 3;
constexpr int secondsVersion = 2;
constexpr int firstVersion = 1;

// "+Left/sc", "-Space", "~-62.5".
std::string inputText(const PlayInput& input);
// False when the word is no input; a turn must already lie within -100..100.
bool readInput(std::string_view word, PlayInput& input);

// The shortest text that reads back as the same float.
std::string floatText(float value);

// At most `limit` characters of `text` for a message, marked when cut, with
// anything unprintable shown as '?': what a stranger sent is never echoed
// whole.
std::string quoted(std::string_view text, std::size_t limit = 40);

}  // namespace RunWords
