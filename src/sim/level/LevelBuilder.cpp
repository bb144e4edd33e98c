#include <box2d/b2_body.h>
#include <box2d/b2_distance_joint.h>

#include <algorithm>
#include <cstdint>

#include "sim/level/Level.hpp"
#include "sim/level/PlayState.hpp"
#include "sim/level/TileKinds.hpp"
#include "sim/level/TileMap.hpp"
#include "sim/level/Units.hpp"

namespace {

constexpr float ballDiameter = 60.0f;  // pixels
constexpr float roundRadius = 0.62f;   // loose balls and colour targets, units
constexpr float penaltyRadius = 0.6f;  // units
// Bridge joints sit this far from a block's centre (units): a little inside
// its edge, so the blocks can tilt against each other and the bridge sags.
constexpr float bridgeAnchorOffset = 0.48f;

struct BridgeCell {
    int column = 0;
    int row = 0;
    int tileId = 0;
    b2Body* body = nullptr;
};

// Cells of walls (3) and bridge blocks (18), by row * columns + column.
using BridgeGrid = std::map<std::int64_t, BridgeCell>;

class LevelBuilder {
  public:
    LevelBuilder(const TileMap& map, Level& level) : map(map), level(level) {}

    void buildCells() {
        for (int row = 0; row < level.rows; ++row) {
            for (int column = 0; column < level.columns; ++column) {
                makeTile(tileAt(column, row), column, row);
            }
        }
        if (hasBridge) {
            joinBridgeBlocks();
        }
        if (!level.ball) {
            placeBallWithoutStart();
        }
    }

  private:
    // Never past the tile list: cells it does not reach are empty.
    int tileAt(int column, int row) const {
        const std::int64_t index = static_cast<std::int64_t>(row) * map.width + column;
        if (index < 0 || index >= static_cast<std::int64_t>(map.tiles.size())) {
            return TileId::empty;
        }
        return map.tiles[static_cast<std::size_t>(index)];
    }

    static float cellX(int column) { return cellPixels * static_cast<float>(column); }
    static float cellY(int row) { return -cellPixels * static_cast<float>(row); }

    Entity& addEntity(int tileId, int column, int row, BodyKind kind, bool sensor) {
        auto entity = std::make_unique<Entity>(*level.world, level.takeEntityNumber(), tileId,
                                               cellX(column), cellY(row), kind, sensor);
        Entity& made = *entity;
        level.entities.emplace(made.number(), std::move(entity));
        return made;
    }

    void makeTile(int id, int column, int row) {
        using namespace TileId;
        const float half = cellPixels / 2.0f;
        switch (id) {
            case ballStart:
                makeBall(column, row);
                return;
            case finish:
                addEntity(id, column, row, BodyKind::finish, true)
                    .makeBox(cellPixels, cellPixels, false);
                return;
            case wall:
            case bridgeBlock: {
                Entity& block = addEntity(id, column, row, BodyKind::plainSolid, false);
                block.makeBox(cellPixels, cellPixels, id == bridgeBlock);
                bridgeGrid[key(column, row)] = BridgeCell{column, row, id, block.body()};
                hasBridge = hasBridge || id == bridgeBlock;
                return;
            }
            case breakable:
                addEntity(id, column, row, BodyKind::breakable, false)
                    .makeBox(cellPixels, cellPixels, false);
                return;
            case fixedWall:
                addEntity(id, column, row, BodyKind::plainSolid, false)
                    .makeBox(cellPixels, cellPixels, false);
                return;
            case slopeUpperRight:
                addEntity(id, column, row, BodyKind::plainSolid, false)
                    .makeTriangle(half, -half, half, half, -half, half);
                return;
            case slopeLowerRight:
                addEntity(id, column, row, BodyKind::plainSolid, false)
                    .makeTriangle(-half, -half, half, -half, half, half);
                return;
            case slopeLowerLeft:
                addEntity(id, column, row, BodyKind::plainSolid, false)
                    .makeTriangle(-half, -half, half, -half, -half, half);
                return;
            case slopeUpperLeft:
                addEntity(id, column, row, BodyKind::plainSolid, false)
                    .makeTriangle(-half, -half, half, half, -half, half);
                return;
            case looseDiamond:
                addEntity(id, column, row, BodyKind::loose, false)
                    .makeDiamond(cellPixels, cellPixels, true);
                return;
            case looseBall:
                addEntity(id, column, row, BodyKind::loose, false).makeCircle(roundRadius, true);
                return;
            case penalty:
                addEntity(id, column, row, BodyKind::penalty, false)
                    .makeCircle(penaltyRadius, false);
                return;
            default:
                break;
        }
        if (id >= firstSwitch && id <= lastSwitch) {
            makeSwitch(id, column, row);
        } else if (id >= firstTarget && id <= lastTarget) {
            Entity& target = addEntity(id, column, row, BodyKind::colourTarget, false);
            target.setColour(tileColour(id));
            target.makeCircle(roundRadius, false);
        }
        // Every other id leaves its cell empty.
    }

    void makeBall(int column, int row) {
        ++level.ballStarts;
        if (level.ball) {
            return;  // the first ball start wins; a second ball would be a second player
        }
        level.ball = std::make_unique<Ball>(*level.world, level.takeEntityNumber(), cellX(column),
                                            cellY(row), ballDiameter);
    }

    void placeBallWithoutStart() {
        for (int row = 0; row < level.rows; ++row) {
            for (int column = 0; column < level.columns; ++column) {
                if (!tileMakesSomething(tileAt(column, row))) {
                    makeBall(column, row);
                    level.ballStarts = 0;
                    return;
                }
            }
        }
        // No empty cell: below the map, where it overlaps nothing.
        makeBall(0, level.rows);
        level.ballStarts = 0;
    }

    void makeSwitch(int id, int column, int row) {
        Entity& lever = addEntity(id, column, row, BodyKind::colourSwitch, true);
        lever.setColour(tileColour(id));
        lever.makeDiamond(cellPixels, cellPixels, false);
    }

    std::int64_t key(int column, int row) const {
        return static_cast<std::int64_t>(row) * level.columns + column;
    }

    const BridgeCell* bridgeCell(int column, int row) const {
        const auto found = bridgeGrid.find(key(column, row));
        return found == bridgeGrid.end() ? nullptr : &found->second;
    }

    // Each bridge block is tied to every wall or bridge block beside it, from
    // its own side. Two neighbouring blocks share one rod, made by the upper
    // or left one: a second, identical rod made the bridge no stiffer (the
    // rods stretch as little with one), and re-playing a run over a bridge,
    // as the highscore server does, took a third longer.
    void joinBridgeBlocks() {
        for (const auto& [cellKey, cell] : bridgeGrid) {
            if (cell.tileId != TileId::bridgeBlock) {
                continue;
            }
            const int c = cell.column;
            const int r = cell.row;
            const b2Vec2 up(0.0f, bridgeAnchorOffset);
            const b2Vec2 side(bridgeAnchorOffset, 0.0f);
            if (r > 0) {
                join(cell, bridgeCell(c, r - 1), up);
            }
            if (r < level.rows - 1) {
                join(cell, bridgeCell(c, r + 1), -up);
            }
            if (c > 0) {
                join(cell, bridgeCell(c - 1, r), -side);
            }
            if (c < level.columns - 1) {
                join(cell, bridgeCell(c + 1, r), side);
            }
        }
    }

    bool tiedFromNeighbour(const BridgeCell& cell, const BridgeCell& neighbour) const {
        return neighbour.tileId == TileId::bridgeBlock &&
               key(neighbour.column, neighbour.row) < key(cell.column, cell.row);
    }

    // A rigid rod between a point `towards` off this block's centre and the
    // mirrored point on the neighbour.
    void join(const BridgeCell& cell, const BridgeCell* neighbour, b2Vec2 towards) {
        if (neighbour == nullptr || tiedFromNeighbour(cell, *neighbour)) {
            return;
        }
        const b2Vec2 p = cell.body->GetWorldCenter();
        const b2Vec2 q = neighbour->body->GetWorldCenter();
        b2DistanceJointDef joint;
        joint.Initialize(cell.body, neighbour->body, p + towards, q - towards);
        joint.collideConnected = false;
        level.bridgeJoints.push_back(level.world->CreateJoint(&joint));
    }

    const TileMap& map;
    Level& level;
    BridgeGrid bridgeGrid;
    bool hasBridge = false;
};

}  // namespace

std::unique_ptr<Level> buildLevel(const TileMap& map, PlayState& play) {
    auto level = std::make_unique<Level>();
    const b2Vec2 startGravity(0.0f, Level::startGravityY);
    level->world = std::make_unique<b2World>(startGravity);
    level->world->SetAllowSleeping(true);
    play.gravity = startGravity;
    play.destroyQueue.clear();

    level->listener = std::make_unique<ContactListener>(play);
    level->world->SetContactListener(level->listener.get());

    level->columns = std::clamp(map.width, 0, Level::maxCells);
    level->rows = std::clamp(map.height, 0, Level::maxCells);
    LevelBuilder(map, *level).buildCells();

    play.playerBody = level->ball->body();
    return level;
}
