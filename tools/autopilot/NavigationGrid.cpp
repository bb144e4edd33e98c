#include "autopilot/NavigationGrid.hpp"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>

#include <algorithm>
#include <cmath>

#include "sim/level/Entity.hpp"
#include "sim/level/Level.hpp"
#include "sim/level/TileKinds.hpp"

namespace {

constexpr float diagonal = NavigationGrid::spacing * 1.41421356f;
// Grid point (0, 0) sits a quarter cell in from the top-left corner of the
// top-left cell, whose centre is the physics origin.
constexpr float firstOffset = 0.48f;

// Units from a point to a convex polygon given in its body's frame.
float distanceToPolygon(const b2PolygonShape& polygon, const b2Vec2& local) {
    float outside = -1e9f;
    for (int i = 0; i < polygon.m_count; ++i) {
        outside = std::max(outside, b2Dot(polygon.m_normals[i], local - polygon.m_vertices[i]));
    }
    if (outside <= 0.0f) {
        return outside;
    }
    float nearest = 1e9f;
    for (int i = 0; i < polygon.m_count; ++i) {
        const b2Vec2 a = polygon.m_vertices[i];
        const b2Vec2 b = polygon.m_vertices[(i + 1) % polygon.m_count];
        const b2Vec2 edge = b - a;
        const float t = std::clamp(b2Dot(local - a, edge) / b2Dot(edge, edge), 0.0f, 1.0f);
        nearest = std::min(nearest, (local - (a + t * edge)).Length());
    }
    return nearest;
}

bool isSolidStatic(const Entity& entity) {
    return !entity.isSensor() && !entity.isDynamic() && entity.body() != nullptr &&
           entity.fixture() != nullptr;
}

bool isBridgeBlock(const Entity& entity) {
    return entity.isDynamic() && entity.kind() == BodyKind::plainSolid &&
           entity.body() != nullptr && entity.fixture() != nullptr;
}

bool isSwitch(const Entity& entity) {
    return entity.kind() == BodyKind::colourSwitch && entity.fixture() != nullptr;
}

}  // namespace

float distanceToEntity(const Entity& entity, const b2Vec2& position) {
    const b2Fixture* fixture = entity.fixture();
    if (fixture == nullptr) {
        return NavigationGrid::farAway;
    }
    const b2Transform& transform = entity.body()->GetTransform();
    const b2Vec2 local = b2MulT(transform, position);
    const b2Shape* shape = fixture->GetShape();
    if (shape->GetType() == b2Shape::e_circle) {
        const auto* circle = static_cast<const b2CircleShape*>(shape);
        return (local - circle->m_p).Length() - circle->m_radius;
    }
    if (shape->GetType() == b2Shape::e_polygon) {
        return distanceToPolygon(*static_cast<const b2PolygonShape*>(shape), local);
    }
    return NavigationGrid::farAway;
}

NavigationGrid::NavigationGrid(const Level& level)
    : across(level.columns * pointsPerCell), down(level.rows * pointsPerCell) {
    rebuild(level);
}

// Static bodies only ever leave a level, so counting them tells whether any
// left. A count says nothing of entity numbers, which differ between two
// builds of a level: a grid stays good for a rebuilt level in the same state.
bool NavigationGrid::matches(const Level& level) const {
    int count = 0;
    for (const auto& [number, entity] : level.entities) {
        if (isSolidStatic(*entity) || isSwitch(*entity)) {
            ++count;
        }
    }
    return count == staticCount;
}

b2Vec2 NavigationGrid::point(int index) const {
    const int i = index % across;
    const int j = index / across;
    return b2Vec2(spacing * static_cast<float>(i) - firstOffset,
                  firstOffset - spacing * static_cast<float>(j));
}

int NavigationGrid::indexAt(const b2Vec2& position) const {
    const int i = static_cast<int>(std::lround((position.x + firstOffset) / spacing));
    const int j = static_cast<int>(std::lround((firstOffset - position.y) / spacing));
    if (i < 0 || j < 0 || i >= across || j >= down) {
        return -1;
    }
    return j * across + i;
}

int NavigationGrid::freePointNear(const b2Vec2& position, int reach) const {
    const int nearest = indexAt(position);
    if (nearest >= 0 && !blocked(nearest)) {
        return nearest;
    }
    const int ci = static_cast<int>(std::lround((position.x + firstOffset) / spacing));
    const int cj = static_cast<int>(std::lround((firstOffset - position.y) / spacing));
    int best = -1;
    float bestDistance = 1e9f;
    for (int j = std::max(0, cj - reach); j <= std::min(down - 1, cj + reach); ++j) {
        for (int i = std::max(0, ci - reach); i <= std::min(across - 1, ci + reach); ++i) {
            const int index = j * across + i;
            const float distance = (point(index) - position).LengthSquared();
            if (!blocked(index) && distance < bestDistance) {
                bestDistance = distance;
                best = index;
            }
        }
    }
    return best;
}

int NavigationGrid::neighbours(int index, int (&out)[8], float (&lengths)[8]) const {
    const int i = index % across;
    const int j = index / across;
    auto freeAt = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < across && y < down && !blocked(y * across + x);
    };
    int count = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if ((dx == 0 && dy == 0) || !freeAt(i + dx, j + dy)) {
                continue;
            }
            const bool isDiagonal = dx != 0 && dy != 0;
            if (isDiagonal && (!freeAt(i + dx, j) || !freeAt(i, j + dy))) {
                continue;
            }
            out[count] = (j + dy) * across + i + dx;
            lengths[count] = isDiagonal ? diagonal : spacing;
            ++count;
        }
    }
    return count;
}

std::vector<int> NavigationGrid::pointsTouching(const Entity& entity, float reach) const {
    std::vector<int> touching;
    if (entity.body() == nullptr) {
        return touching;
    }
    const b2Vec2 centre = entity.body()->GetPosition();
    const int radius = static_cast<int>(std::ceil((1.0f + reach) / spacing));
    const int middle = indexAt(centre);
    if (middle < 0) {
        return touching;
    }
    const int ci = middle % across;
    const int cj = middle / across;
    for (int j = std::max(0, cj - radius); j <= std::min(down - 1, cj + radius); ++j) {
        for (int i = std::max(0, ci - radius); i <= std::min(across - 1, ci + radius); ++i) {
            const int index = j * across + i;
            if (!blocked(index) && distanceToEntity(entity, point(index)) < reach) {
                touching.push_back(index);
            }
        }
    }
    return touching;
}

bool NavigationGrid::lineIsFree(const b2Vec2& from, const b2Vec2& to, float penaltyMargin,
                                bool throughBlocks) const {
    const float length = (to - from).Length();
    const int samples = std::max(1, static_cast<int>(std::ceil(length / (spacing * 0.5f))));
    const int first = indexAt(from);
    const bool nearPenalty =
        first >= 0 && penaltyDistance(first) < ballRadius + std::max(penaltyMargin, 0.0f);
    const bool avoidPenalties = penaltyMargin >= 0.0f && !nearPenalty;
    for (int s = 0; s <= samples; ++s) {
        const float t = static_cast<float>(s) / static_cast<float>(samples);
        const int index = indexAt(from + t * (to - from));
        if (index < 0 || blocked(index) || (!throughBlocks && inBreakable(index))) {
            return false;
        }
        if (avoidPenalties && penaltyDistance(index) < ballRadius + penaltyMargin) {
            return false;
        }
    }
    return true;
}

void NavigationGrid::rebuild(const Level& level) {
    const auto count = static_cast<std::size_t>(size());
    clearances.assign(count, farAway);
    penalties.assign(count, farAway);
    switches.assign(count, farAway);
    switchColours.assign(count, Colour::none);
    bridges.assign(count, farAway);
    breakables.assign(count, farAway);
    staticCount = 0;
    for (const auto& [number, entity] : level.entities) {
        if (isSwitch(*entity)) {
            ++staticCount;
            spread(*entity, switches, &switchColours);
        } else if (isSolidStatic(*entity) && entity->kind() == BodyKind::breakable) {
            ++staticCount;
            spread(*entity, breakables, nullptr);
        } else if (isSolidStatic(*entity)) {
            ++staticCount;
            spread(*entity, clearances, nullptr);
            if (entity->kind() == BodyKind::penalty) {
                spread(*entity, penalties, nullptr);
            }
        } else if (isBridgeBlock(*entity)) {
            spread(*entity, bridges, nullptr);
        }
    }
}

// Lowers the distances of the points around one entity to the distance from
// its surface. Every shape of a level fits in one cell, so points further
// than a cell and farAway from its centre are out of reach.
void NavigationGrid::spread(const Entity& entity, std::vector<float>& distances,
                            std::vector<Colour>* colours) {
    const b2Vec2 centre = entity.body()->GetPosition();
    const int middle = indexAt(centre);
    const int radius = static_cast<int>(std::ceil((1.0f + farAway) / spacing));
    const int ci = middle >= 0 ? middle % across
                               : static_cast<int>(std::lround((centre.x + firstOffset) / spacing));
    const int cj = middle >= 0 ? middle / across
                               : static_cast<int>(std::lround((firstOffset - centre.y) / spacing));
    for (int j = std::max(0, cj - radius); j <= std::min(down - 1, cj + radius); ++j) {
        for (int i = std::max(0, ci - radius); i <= std::min(across - 1, ci + radius); ++i) {
            const auto index = static_cast<std::size_t>(j * across + i);
            const float distance = distanceToEntity(entity, point(static_cast<int>(index)));
            if (distance < distances[index]) {
                distances[index] = distance;
                if (colours != nullptr) {
                    (*colours)[index] = entity.colour();
                }
            }
        }
    }
}
