#pragma once

#include <box2d/b2_math.h>

#include <vector>

#include "sim/level/TileKinds.hpp"

class Entity;
struct Level;

// Where the centre of the ball can be in a level, on a grid of quarter cells
// (0.32 units), with how close each point lies to walls, penalties and colour
// switches. Built from the static bodies of the level as they are now: a
// broken block or target makes it out of date (matches). Loose objects
// move, so they are not part of it; rope bridges move too, but stay near
// where they hang, so the grid keeps where they were when it was built.
class NavigationGrid {
  public:
    static constexpr int pointsPerCell = 4;
    static constexpr float spacing = 0.32f;    // units between grid points
    static constexpr float ballRadius = 0.6f;  // units
    // Distances are only looked at up to this far (units): beyond it a point
    // counts as in the open.
    static constexpr float farAway = 2.0f;

    explicit NavigationGrid(const Level& level);

    // Whether the grid was built from the static bodies the level has now;
    // when not (a block or target broke), build a new one.
    bool matches(const Level& level) const;

    int width() const { return across; }
    int height() const { return down; }
    int size() const { return across * down; }
    // Physics position of a grid point.
    b2Vec2 point(int index) const;
    // The grid point nearest a physics position; -1 outside the grid.
    int indexAt(const b2Vec2& position) const;
    // The free grid point nearest a physics position, looking up to `reach`
    // points each way (a ball pressed against a wall sits on blocked points);
    // -1 when there is none.
    int freePointNear(const b2Vec2& position, int reach = 3) const;
    // The up to eight neighbours of a point that the ball can move to from it:
    // free, and a diagonal step never cuts past a blocked corner.
    int neighbours(int index, int (&out)[8], float (&lengths)[8]) const;

    // Units from the point to the nearest solid static body that stays
    // (walls, slopes, targets, penalties), at most farAway.
    float clearance(int index) const { return clearances[static_cast<std::size_t>(index)]; }
    // The ball, centred here, would overlap a solid body.
    bool blocked(int index) const { return clearance(index) < ballRadius + 0.02f; }
    // The ball, centred here, would overlap a breakable block: it can be
    // there only once the block is broken, by a fast enough hit.
    bool inBreakable(int index) const {
        return breakables[static_cast<std::size_t>(index)] < ballRadius + 0.02f;
    }
    // Units to the surface of the nearest penalty, at most farAway.
    float penaltyDistance(int index) const { return penalties[static_cast<std::size_t>(index)]; }
    // Units to the nearest colour switch and its colour (-1 when none is near).
    float switchDistance(int index) const { return switches[static_cast<std::size_t>(index)]; }
    Colour switchColour(int index) const { return switchColours[static_cast<std::size_t>(index)]; }
    // Units to the nearest rope bridge block, as the bridges hung at the build.
    float bridgeDistance(int index) const { return bridges[static_cast<std::size_t>(index)]; }

    // The free points from which the ball touches the entity: within `reach`
    // units of its shape's surface.
    std::vector<int> pointsTouching(const Entity& entity, float reach) const;
    // Every sample on the straight line is free, so the ball rolls along it
    // (through breakable blocks too when `throughBlocks` is set); with a
    // penalty margin, the line also keeps the ball that far (units) off every
    // penalty, unless it starts that close to one already.
    bool lineIsFree(const b2Vec2& from, const b2Vec2& to, float penaltyMargin = -1.0f,
                    bool throughBlocks = false) const;

  private:
    void rebuild(const Level& level);
    void spread(const Entity& entity, std::vector<float>& distances, std::vector<Colour>* colours);

    int across = 0;
    int down = 0;
    int staticCount = 0;  // static bodies and switches the grid was built from
    std::vector<float> clearances;
    std::vector<float> penalties;
    std::vector<float> switches;
    std::vector<float> bridges;
    std::vector<float> breakables;
    std::vector<Colour> switchColours;
};

// Units from a physics position to the surface of an entity's shape;
// negative inside it.
float distanceToEntity(const Entity& entity, const b2Vec2& position);
