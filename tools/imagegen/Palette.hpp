#pragma once

#include <array>

#include "Color.hpp"

// Every picture shares these colours so that the game reads as one piece.
namespace palette {

// The dark outline around every shape and letter.
constexpr Rgba kOutline = rgb(36, 28, 58);
// Backdrop of menus and levels; pictures are judged against it.
constexpr Rgba kSky = rgb(110, 144, 205);

// The six colours of the colour index: blue, cyan, green, purple, red, yellow.
// Hues are spread and their brightness differs, and each has a symbol too.
constexpr std::array<Rgba, 6> kColours = {
    rgb(38, 96, 236),  rgb(30, 214, 232), rgb(76, 196, 40),
    rgb(166, 66, 226), rgb(232, 48, 44),  rgb(255, 206, 24),
};
constexpr std::array<const char*, 6> kColourNames = {"blue",   "cyan", "green",
                                                     "purple", "red",  "yellow"};

// Solid level stone, the wooden crate and the metal of loose objects.
constexpr Rgba kStoneLight = rgb(238, 206, 160);
constexpr Rgba kStoneDark = rgb(196, 148, 100);
constexpr Rgba kWoodLight = rgb(222, 150, 74);
constexpr Rgba kWoodDark = rgb(160, 92, 40);
constexpr Rgba kSteelLight = rgb(226, 232, 244);
constexpr Rgba kSteelDark = rgb(128, 136, 160);

constexpr Rgba kWhite = rgb(255, 255, 255);
constexpr Rgba kCream = rgb(255, 248, 226);
constexpr Rgba kGold = rgb(255, 196, 40);
constexpr Rgba kOrange = rgb(255, 132, 28);

}  // namespace palette
