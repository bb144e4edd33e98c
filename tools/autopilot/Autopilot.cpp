#include "autopilot/Autopilot.hpp"

#include <box2d/b2_body.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "sim/level/Level.hpp"
#include "sim/level/TileKinds.hpp"
#include "sim/level/Units.hpp"
#include "sim/play/LevelSimulation.hpp"

namespace {

// How far (units) from a body's surface the ball's centre touches it: the
// ball's radius, less a little for sensors so the ball truly overlaps them,
// more for targets so a ring of grid points fits around them.
constexpr float sensorReach = 0.45f;
constexpr float targetReach = NavigationGrid::ballRadius + 0.35f;
// The way is followed this far (units) to see where it bends out of sight.
constexpr float sightRange = 40.0f;
// Retries vary the pilot fully; a style, which lasts the whole run, by half.
constexpr float retryVariation = 1.0f;
constexpr float styleVariation = 0.5f;
// Seeds of styles and of retries are kept apart.
constexpr std::uint32_t styleSeedBit = 0x80000000u;

struct PuzzlePieces {
    std::map<Colour, std::vector<const Entity*>> targets;
    std::map<Colour, std::vector<const Entity*>> switches;
};

PuzzlePieces puzzlePieces(const Level& level) {
    PuzzlePieces pieces;
    for (const auto& [number, entity] : level.entities) {
        if (entity->kind() == BodyKind::colourTarget) {
            pieces.targets[entity->colour()].push_back(entity.get());
        } else if (entity->kind() == BodyKind::colourSwitch) {
            pieces.switches[entity->colour()].push_back(entity.get());
        }
    }
    return pieces;
}

std::vector<int> touchingAny(const NavigationGrid& grid, const std::vector<const Entity*>& bodies,
                             float reach) {
    std::vector<int> points;
    for (const Entity* body : bodies) {
        const std::vector<int> touching = grid.pointsTouching(*body, reach);
        points.insert(points.end(), touching.begin(), touching.end());
    }
    return points;
}

std::vector<b2Vec2> centresOf(const std::vector<const Entity*>& bodies) {
    std::vector<b2Vec2> centres;
    for (const Entity* body : bodies) {
        centres.push_back(body->body()->GetPosition());
    }
    return centres;
}

// Degrees of view angle that make gravity point along `direction`: gravity
// is (-sin a, -cos a) times its strength.
float viewAngleFor(const b2Vec2& direction) {
    return std::atan2(-direction.x, -direction.y) * degreesPerRadian;
}

}  // namespace

Autopilot::Autopilot(AutopilotTuning tuning)
    : usual(tuning.style == 0 ? tuning
                              : varied(tuning, tuning.style | styleSeedBit, styleVariation)),
      tuning(usual) {}

// A number in [0, 1) from a seed and a slot, the same on every machine.
float Autopilot::variation(std::uint32_t seed, std::uint32_t slot) {
    std::uint64_t mixed = (static_cast<std::uint64_t>(seed) << 32 | slot) + 0x9E3779B97F4A7C15ull;
    mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9ull;
    mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBull;
    mixed ^= mixed >> 31;
    return static_cast<float>(mixed >> 40) / static_cast<float>(1ull << 24);
}

AutopilotTuning Autopilot::varied(const AutopilotTuning& base, std::uint32_t seed, float amount) {
    // Each factor lies in [1 - a * low, 1 + a * high].
    auto factor = [&](std::uint32_t slot, float low, float high) {
        return 1.0f - amount * low + amount * (low + high) * variation(seed, slot);
    };
    AutopilotTuning result = base;
    result.braking *= factor(0, 0.5f, 0.3f);
    result.cornerSpeed *= factor(1, 0.6f, 0.6f);
    result.lookAhead *= factor(2, 0.4f, 0.4f);
    result.penaltyMargin += amount * variation(seed, 3);
    result.angleBias += amount * (24.0f * variation(seed, 4) - 12.0f);
    return result;
}

void Autopilot::vary(std::uint32_t seed, float seconds) {
    tuning = varied(usual, seed & ~styleSeedBit, retryVariation);
    variedFor = seconds;
}

std::vector<PlayInput> Autopilot::nextFrame(const LevelSimulation& simulation, float frameTime) {
    const Level* level = simulation.level();
    if (level == nullptr || !level->ball || level->ball->body() == nullptr ||
        simulation.finished() || simulation.play().countdownRunning) {
        return keys.change(PilotCommand{});
    }
    if (variedFor > 0.0f) {
        variedFor -= frameTime;
        if (variedFor <= 0.0f) {
            tuning = usual;
        }
    }
    planIfNeeded(simulation);
    const b2Body& ball = *level->ball->body();
    const b2Vec2 position = ball.GetPosition();
    const b2Vec2 velocity = ball.GetLinearVelocity();
    const int start = grid->freePointNear(position);

    b2Vec2 wanted = wantedAcceleration(position, velocity, start);
    watchProgress(costAt(start), frameTime);
    PilotCommand command;
    if (shaking > 0.0f || costAt(start) == PathField::unreachable) {
        // Stuck on a pile of loose things, or off the map of the way: turn the
        // other way round and jump, then look again.
        shaking = std::max(0.0f, shaking - frameTime);
        const float quarter = (shakes % 2 == 0) ? 1.0f : -1.0f;
        wanted = b2Vec2(-wanted.x + quarter * wanted.y, -wanted.y - quarter * wanted.x);
        command.jump = true;
    }
    const PilotCommand turn = steer(simulation, wanted, frameTime);
    command.turn = turn.turn;
    command.speed = turn.speed;
    return keys.change(command);
}

void Autopilot::planIfNeeded(const LevelSimulation& simulation) {
    const Level& level = *simulation.level();
    const bool gridOutOfDate = !grid || !grid->matches(level);
    if (gridOutOfDate) {
        grid = std::make_shared<const NavigationGrid>(level);
    }
    if (gridOutOfDate || !planned || simulation.ballColour() != plannedColour) {
        plan(simulation);
    }
}

void Autopilot::plan(const LevelSimulation& simulation) {
    const Level& level = *simulation.level();
    planned = true;
    plannedColour = simulation.ballColour();
    goalCentres.clear();
    field.reset();
    bestCost = PathField::unreachable;
    sinceProgress = 0.0f;
    if (simulation.mode() == puzzleMode) {
        planPuzzle(level, plannedColour, grid->freePointNear(level.ball->body()->GetPosition()));
    } else {
        planRace(level);
    }
}

void Autopilot::planRace(const Level& level) {
    std::vector<const Entity*> finishes;
    for (const auto& [number, entity] : level.entities) {
        if (entity->kind() == BodyKind::finish) {
            finishes.push_back(entity.get());
        }
    }
    goalCentres = centresOf(finishes);
    field = std::make_shared<const PathField>(*grid, touchingAny(*grid, finishes, sensorReach),
                                              std::vector<Colour>{plannedColour}, tuning.costs);
}

void Autopilot::planPuzzle(const Level& level, Colour ballColour, int ballPoint) {
    const PuzzlePieces pieces = puzzlePieces(level);
    if (const auto own = pieces.targets.find(ballColour); own != pieces.targets.end()) {
        std::vector<int> points = touchingAny(*grid, own->second, targetReach);
        auto toTargets = std::make_shared<const PathField>(
            *grid, points, std::vector<Colour>{ballColour}, tuning.costs);
        if (toTargets->reachable(ballPoint)) {
            goalCentres = centresOf(own->second);
            field = std::move(toTargets);
            return;
        }
    }
    // A switch, then: the one whose colour opens the cheapest way on.
    float bestTotal = PathField::unreachable;
    for (const auto& [colour, targets] : pieces.targets) {
        const auto switchesOfColour = pieces.switches.find(colour);
        if (colour == ballColour || switchesOfColour == pieces.switches.end()) {
            continue;
        }
        std::vector<int> switchPoints = touchingAny(*grid, switchesOfColour->second, sensorReach);
        auto toSwitch = std::make_shared<const PathField>(
            *grid, switchPoints, std::vector<Colour>{ballColour, colour}, tuning.costs);
        if (!toSwitch->reachable(ballPoint)) {
            continue;
        }
        const PathField onwards(*grid, touchingAny(*grid, targets, targetReach), {colour},
                                tuning.costs);
        float beyond = PathField::unreachable;
        for (int point : switchPoints) {
            beyond = std::min(beyond, onwards.cost(point));
        }
        // A colour whose targets cannot be reached yet still beats standing still.
        const float total = toSwitch->cost(ballPoint) + std::min(beyond, 1e6f);
        if (total < bestTotal) {
            bestTotal = total;
            goalCentres = centresOf(switchesOfColour->second);
            field = std::move(toSwitch);
        }
    }
}

// The acceleration the ball should have now: towards the furthest point of
// the way it can see within the look-ahead, at a speed from which it can
// still slow down to the corner speed where the way leaves its sight.
b2Vec2 Autopilot::wantedAcceleration(const b2Vec2& position, const b2Vec2& velocity, int start) {
    if (start < 0 || costAt(start) == PathField::unreachable) {
        return b2Vec2(-velocity.x, -velocity.y);
    }
    const b2Vec2 from = grid->point(start);
    b2Vec2 aim = from;
    float alongWay = 0.0f;
    float bendDistance = 0.0f;
    bool goalInSight = costAt(start) <= 0.0f;
    // Once the way runs into a breakable block, the block is no wall to the
    // eye: the ball is to go through it, fast.
    bool ramming = grid->inBreakable(start);
    bool rammingSoon = ramming;
    int at = start;
    while (alongWay < sightRange) {
        const int next = field->next(*grid, at);
        if (next < 0) {
            goalInSight = true;
            bendDistance = alongWay;
            break;
        }
        alongWay += (grid->point(next) - grid->point(at)).Length();
        at = next;
        ramming = ramming || grid->inBreakable(at);
        if (!grid->lineIsFree(from, grid->point(at), tuning.penaltyMargin, ramming)) {
            bendDistance = alongWay;
            break;
        }
        if (alongWay <= tuning.lookAhead) {
            aim = grid->point(at);
            rammingSoon = ramming;
        }
        bendDistance = alongWay;
    }
    if (goalInSight && alongWay <= tuning.lookAhead && !goalCentres.empty()) {
        aim = *std::min_element(goalCentres.begin(), goalCentres.end(),
                                [&](const b2Vec2& a, const b2Vec2& b) {
                                    return (a - aim).LengthSquared() < (b - aim).LengthSquared();
                                });
    }
    b2Vec2 toAim = aim - position;
    const float distance = toAim.Normalize();
    if (distance < 1e-3f) {
        return b2Vec2(-velocity.x, -velocity.y);
    }
    const float endSpeed = goalInSight ? tuning.cornerSpeed + tuning.goalSpeed : tuning.cornerSpeed;
    float allowed = std::sqrt(endSpeed * endSpeed + 2.0f * tuning.braking * bendDistance);
    if (rammingSoon) {
        allowed = std::max(allowed, tuning.rammingSpeed);
    }
    b2Vec2 wanted = allowed * toAim - velocity;
    if (wanted.Length() < 0.5f) {
        wanted = toAim;
    }
    return wanted;
}

PilotCommand Autopilot::steer(const LevelSimulation& simulation, const b2Vec2& gravityWanted,
                              float frameTime) const {
    PilotCommand best;
    if (gravityWanted.LengthSquared() < 1e-6f) {
        return best;
    }
    const float off = std::remainder(
        viewAngleFor(gravityWanted) + tuning.angleBias - simulation.viewAngle(), 360.0f);
    if (std::fabs(off) < tuning.deadAngle) {
        return best;
    }
    float bestMiss = std::fabs(off);
    for (int turn : {1, -1}) {
        for (auto speed :
             {PilotCommand::Speed::slow, PilotCommand::Speed::normal, PilotCommand::Speed::fast}) {
            const PilotCommand candidate{turn, speed, false};
            const float miss =
                std::fabs(off - PilotKeys::rate(candidate, simulation.turnSpeeds()) * frameTime);
            if (miss < bestMiss) {
                bestMiss = miss;
                best = candidate;
            }
        }
    }
    return best;
}

void Autopilot::watchProgress(float cost, float frameTime) {
    if (shaking > 0.0f) {
        return;
    }
    if (cost < bestCost - 0.5f) {
        bestCost = cost;
        sinceProgress = 0.0f;
        return;
    }
    sinceProgress += frameTime;
    if (sinceProgress > tuning.stuckSeconds) {
        shaking = tuning.shakeSeconds;
        ++shakes;
        sinceProgress = 0.0f;
        bestCost = cost;
    }
}
