#pragma once

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>

#include <memory>
#include <string>
#include <vector>

#include "sim/level/Level.hpp"
#include "sim/level/PlayState.hpp"
#include "sim/level/TileMap.hpp"

// A tile map from rows of ids, top row first.
inline TileMap mapOf(const std::vector<std::vector<int>>& rows) {
    TileMap map;
    map.height = static_cast<int>(rows.size());
    map.width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    for (const auto& row : rows) {
        map.tiles.insert(map.tiles.end(), row.begin(), row.end());
    }
    return map;
}

// The entity whose body sits at the centre of cell (column, row), if any.
inline const Entity* entityAt(const Level& level, int column, int row) {
    for (const auto& [number, entity] : level.entities) {
        const b2Vec2 position = entity->body()->GetPosition();
        if (std::abs(position.x - 1.28f * column) < 1e-4f &&
            std::abs(position.y + 1.28f * row) < 1e-4f) {
            return entity.get();
        }
    }
    return nullptr;
}

inline int bodiesOfKind(const Level& level, BodyKind kind) {
    int count = 0;
    for (b2Body* body = level.world->GetBodyList(); body; body = body->GetNext()) {
        const auto* tag = reinterpret_cast<const BodyTag*>(body->GetUserData().pointer);
        count += tag != nullptr && tag->kind == kind ? 1 : 0;
    }
    return count;
}
