#pragma once

// The meaning of the tile ids of a level file, the body kinds that contacts
// act on, and the colour indices shared by switches, targets and the ball.

namespace TileId {
constexpr int empty = 0;
constexpr int ballStart = 1;
constexpr int finish = 2;
constexpr int wall = 3;  // also anchors rope bridges
constexpr int breakable = 4;
constexpr int slopeUpperRight = 5;  // right angle at the upper right corner
constexpr int slopeLowerRight = 6;
constexpr int slopeLowerLeft = 7;
constexpr int slopeUpperLeft = 8;
constexpr int looseDiamond = 9;
constexpr int looseBall = 10;
constexpr int firstSwitch = 11;  // 11..16, colour index = id - 11
constexpr int lastSwitch = 16;
constexpr int penalty = 17;
constexpr int bridgeBlock = 18;
constexpr int fixedWall = 19;    // looks like a wall, never anchors a bridge
constexpr int firstTarget = 21;  // 21..26, colour index = id - 21
constexpr int lastTarget = 26;
constexpr int highest = 26;
}  // namespace TileId

namespace BodyKind {
constexpr int plainSolid = 0;
constexpr int ball = 2;
constexpr int finish = 3;
constexpr int breakable = 4;
constexpr int colourTarget = 5;
constexpr int colourSwitch = 6;
constexpr int loose = 7;
constexpr int penalty = 8;
}  // namespace BodyKind

namespace Colour {
constexpr int blue = 0;
constexpr int cyan = 1;
constexpr int green = 2;
constexpr int purple = 3;
constexpr int red = 4;
constexpr int yellow = 5;
constexpr int count = 6;
constexpr int none = -1;
}  // namespace Colour

// Index into the tile image table of the picture a tile id shows (the ball
// start shows the ball's picture); -1 for ids that make nothing.
int tileImageIndex(int tileId);

// Colour index of a switch or target id, Colour::none for every other id.
int tileColour(int tileId);
