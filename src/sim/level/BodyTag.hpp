#pragma once

#include "sim/level/TileKinds.hpp"

class Entity;

// Carried by every body of a level as its user data, so a contact can tell
// what it touched. The ball's tag has no entity.
struct BodyTag {
    BodyKind kind = BodyKind::plainSolid;
    Entity* entity = nullptr;
};
