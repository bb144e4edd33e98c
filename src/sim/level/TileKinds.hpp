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
constexpr int unused = 20;       // makes nothing
constexpr int firstTarget = 21;  // 21..26, colour index = id - 21
constexpr int lastTarget = 26;
constexpr int highest = 26;
}  // namespace TileId

// What a body is to the contact rules.
enum class BodyKind {
    plainSolid = 0,  // walls, slopes, bridge blocks
    ball = 2,
    finish = 3,
    breakable = 4,
    colourTarget = 5,
    colourSwitch = 6,
    loose = 7,
    penalty = 8,
};

// The colours of switches, targets and the ball, numbered as their pictures
// and tile ids are ordered.
enum class Colour { none = -1, blue = 0, cyan, green, purple, red, yellow };

// 0..5 for a colour, -1 for none: the offset into tile ids and picture tables.
constexpr int colourIndex(Colour colour) {
    return static_cast<int>(colour);
}

namespace TileId {
constexpr int switchOf(Colour colour) {
    return firstSwitch + colourIndex(colour);
}
constexpr int targetOf(Colour colour) {
    return firstTarget + colourIndex(colour);
}
}  // namespace TileId

// False for the ids that leave their cell empty (0, 20 and ids beyond the
// table); the ball start makes the ball.
bool tileMakesSomething(int tileId);

// Colour of a switch or target id, Colour::none for every other id.
Colour tileColour(int tileId);
