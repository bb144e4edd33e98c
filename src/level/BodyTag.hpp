#pragma once

class Entity;

// Carried by every body of a level as its user data, so a contact can tell
// what it touched. The ball's tag has no entity.
struct BodyTag {
    int kind = 0;  // BodyKind
    Entity* entity = nullptr;
};
