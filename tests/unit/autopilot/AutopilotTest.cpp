#include <gtest/gtest.h>

#include <box2d/b2_body.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/GameWindow.hpp"
#include "autopilot/AutopilotRun.hpp"
#include "autopilot/NavigationGrid.hpp"
#include "autopilot/PathField.hpp"
#include "autopilot/PilotKeys.hpp"
#include "game/LevelSimulation.hpp"
#include "level/ContactListener.hpp"
#include "level/Level.hpp"
#include "level/LevelCatalogue.hpp"
#include "level/TileImages.hpp"
#include "level/TileKinds.hpp"
#include "level/TileMap.hpp"

namespace {

// Rows of level source characters (levels/README.md), one cell each.
TileMap mapFromRows(const std::vector<std::string>& rows) {
    const std::map<char, int> ids = {
        {'@', TileId::ballStart},
        {'F', TileId::finish},
        {'#', TileId::wall},
        {'X', TileId::fixedWall},
        {'!', TileId::penalty},
        {'b', TileId::switchOf(Colour::blue)},
        {'B', TileId::targetOf(Colour::blue)},
        {'R', TileId::targetOf(Colour::red)},
    };
    TileMap map;
    map.height = static_cast<int>(rows.size());
    map.width = static_cast<int>(rows.front().size());
    for (const std::string& row : rows) {
        for (char cell : row) {
            map.tiles.push_back(ids.count(cell) ? ids.at(cell) : TileId::empty);
        }
    }
    return map;
}

// A bent corridor: the ball must fall right, then down, then left.
const std::vector<std::string> bentCorridor = {
    "XXXXXXXXXXXXXX",  //
    "X@...........X",  //
    "X............X",  //
    "X............X",  //
    "XXXXXXXXXX...X",  //
    "X............X",  //
    "X............X",  //
    "XF...........X",  //
    "XXXXXXXXXXXXXX",
};

// Red ball, red target in the open, blue targets behind a wall of red ones,
// the blue switch far from them: red first, then blue.
const std::vector<std::string> twoColours = {
    "XXXXXXXXXXXXXXXX",  //
    "X@.....X.......X",  //
    "X......X.......X",  //
    "X..R...R...B...X",  //
    "X......R.......X",  //
    "X.b....X.......X",  //
    "XXXXXXXXXXXXXXXX",
};

struct Headless {
    Headless(const TileMap& map, GameMode mode) : simulation(images, mode, TurnSpeeds()) {
        simulation.buildLevel(map);
    }
    TileImages images;
    LevelSimulation simulation;
};

sf::Event key(sf::Keyboard::Key code, bool pressed, bool shift = false, bool control = false) {
    return GameWindow::keyEvent(code, pressed, shift, control);
}

void expectEvents(const std::vector<sf::Event>& actual, const std::vector<sf::Event>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actual[i].type, expected[i].type);
        EXPECT_EQ(actual[i].key.code, expected[i].key.code);
        EXPECT_EQ(actual[i].key.shift, expected[i].key.shift);
        EXPECT_EQ(actual[i].key.control, expected[i].key.control);
    }
}

}  // namespace

TEST(PilotKeys, PressesAndReleasesLikeAPlayerWithTheModifiersThatAreDown) {
    using Speed = PilotCommand::Speed;
    PilotKeys keys;
    expectEvents(keys.change({1, Speed::normal, false}), {key(sf::Keyboard::Left, true)});
    expectEvents(keys.change({1, Speed::normal, false}), {});
    // Faster: Control goes down while Left stays held.
    expectEvents(keys.change({1, Speed::fast, false}),
                 {key(sf::Keyboard::LControl, true, false, true)});
    // Slow to the right: Shift down, Control up, Left up, Right down.
    expectEvents(
        keys.change({-1, Speed::slow, true}),
        {key(sf::Keyboard::LShift, true, true, true),
         key(sf::Keyboard::LControl, false, true, false), key(sf::Keyboard::Left, false, true),
         key(sf::Keyboard::Right, true, true), key(sf::Keyboard::Space, true, true)});
    // Letting go of the turn leaves the modifiers as they are.
    expectEvents(keys.change({0, Speed::normal, false}),
                 {key(sf::Keyboard::Right, false, true), key(sf::Keyboard::Space, false, true)});
}

TEST(PilotKeys, EveryCommandTurnsTheWorldAtTheRateItAsksFor) {
    using Speed = PilotCommand::Speed;
    const TurnSpeeds speeds;
    for (int turn : {-1, 0, 1}) {
        for (Speed speed : {Speed::slow, Speed::normal, Speed::fast}) {
            SCOPED_TRACE(turn * 10 + static_cast<int>(speed));
            // Fresh hands and a fresh control state each time, as a level start.
            PilotKeys keys;
            ControlKeys controls;
            bool jump = false;
            keys.change({-turn, Speed::normal, false});
            for (const sf::Event& event : keys.change({turn, speed, false})) {
                applyKeyEvent(controls, jump, event);
            }
            EXPECT_EQ(turnRate(controls, speeds), PilotKeys::rate({turn, speed, false}, speeds));
        }
    }
    TurnSpeeds inverted;
    inverted.inverted = true;
    EXPECT_EQ(PilotKeys::rate({1, Speed::fast, false}, inverted), -inverted.control);
}

TEST(NavigationGrid, KeepsTheBallCentreClearOfWallsAndSeesAlongFreeLines) {
    Headless level(mapFromRows(bentCorridor), raceMode);
    const NavigationGrid grid(*level.simulation.level());
    EXPECT_EQ(grid.width(), 14 * NavigationGrid::pointsPerCell);
    EXPECT_EQ(grid.height(), 9 * NavigationGrid::pointsPerCell);

    // The middle of the top corridor is free, a point inside a wall is not,
    // and a point a quarter cell off a wall's face is too close for the ball.
    const int middle = grid.indexAt(b2Vec2(6 * 1.28f, -2 * 1.28f));
    ASSERT_GE(middle, 0);
    EXPECT_FALSE(grid.blocked(middle));
    EXPECT_NEAR(grid.clearance(middle), 1.28f + 0.64f, 0.2f);
    EXPECT_TRUE(grid.blocked(grid.indexAt(b2Vec2(6 * 1.28f, -4 * 1.28f))));
    EXPECT_TRUE(grid.blocked(grid.indexAt(b2Vec2(6 * 1.28f, -1.28f + 0.32f))));
    EXPECT_EQ(grid.indexAt(b2Vec2(-5.0f, 0.0f)), -1);
    EXPECT_EQ(grid.indexAt(grid.point(middle)), middle);

    // A ball resting on the floor sits on a blocked point; the free point
    // nearest to it is just above. Deep in a corner there is none near.
    const b2Vec2 resting(6 * 1.28f, -4 * 1.28f + 0.64f + NavigationGrid::ballRadius);
    EXPECT_TRUE(grid.blocked(grid.indexAt(resting)));
    const int above = grid.freePointNear(resting);
    ASSERT_GE(above, 0);
    EXPECT_FALSE(grid.blocked(above));
    EXPECT_LT((grid.point(above) - resting).Length(), 0.5f);
    EXPECT_GT(grid.point(above).y, resting.y);
    EXPECT_EQ(grid.freePointNear(b2Vec2(0.0f, 0.0f)), -1);

    // Along the corridor the line is free; through the wall between the two
    // corridors it is not.
    EXPECT_TRUE(grid.lineIsFree(b2Vec2(2 * 1.28f, -2 * 1.28f), b2Vec2(11 * 1.28f, -2 * 1.28f)));
    EXPECT_FALSE(grid.lineIsFree(b2Vec2(2 * 1.28f, -2 * 1.28f), b2Vec2(2 * 1.28f, -6 * 1.28f)));
}

TEST(PathField, LeadsRoundWallsAndPenaltiesAndKnowsWhatCannotBeReached) {
    // The finish straight below the ball, a penalty in the way, a sealed
    // pocket on the right.
    Headless level(mapFromRows({
                       "XXXXXXXXXXXX",  //
                       "X.....XXXXXX",  //
                       "X..@..X....X",  //
                       "X.....X....X",  //
                       "X..!..XXXXXX",  //
                       "X.....X.....",  //
                       "X..F..X.....",  //
                       "XXXXXXXXXXXX",
                   }),
                   raceMode);
    const Level& built = *level.simulation.level();
    const NavigationGrid grid(built);
    std::vector<int> goals;
    for (const auto& [number, entity] : built.entities) {
        if (entity->kind() == BodyKind::finish) {
            goals = grid.pointsTouching(*entity, 0.45f);
        }
    }
    ASSERT_FALSE(goals.empty());
    const PathField field(grid, goals, {Colour::red}, PathCosts());
    const int ball = grid.indexAt(built.ball->body()->GetPosition());
    ASSERT_TRUE(field.reachable(ball));
    EXPECT_FALSE(field.reachable(grid.indexAt(b2Vec2(8 * 1.28f, -2.5f * 1.28f))));

    // The way down does not pass over the penalty: every step keeps the
    // ball off it, and each step is cheaper than the last.
    int at = ball;
    int steps = 0;
    while (field.cost(at) > 0.0f && steps < 200) {
        const int next = field.next(grid, at);
        ASSERT_GE(next, 0);
        EXPECT_LT(field.cost(next), field.cost(at));
        EXPECT_GT(grid.penaltyDistance(next), NavigationGrid::ballRadius);
        at = next;
        ++steps;
    }
    EXPECT_EQ(field.cost(at), 0.0f);
    EXPECT_EQ(field.next(grid, at), -1);

    // Without a price on penalties the way goes straight over it.
    PathCosts careless;
    careless.penaltyWeight = 0.0f;
    const PathField straight(grid, goals, {Colour::red}, careless);
    EXPECT_LT(straight.cost(ball), field.cost(ball));
}

TEST(Autopilot, FinishesABentCorridorAndItsRunReplaysExactly) {
    Headless level(mapFromRows(bentCorridor), raceMode);
    RecordedRun run;
    flyLevel(level.simulation, run, AutopilotTuning(), 60.0f);
    ASSERT_GT(run.finishMilliseconds, 0);
    EXPECT_LT(run.finishMilliseconds, 10000);
    EXPECT_TRUE(level.simulation.finished());

    // The autopilot acted through the keys alone: its frames alone do it again.
    Headless again(mapFromRows(bentCorridor), raceMode);
    const ReplayResult replay = replayRun(again.simulation, run);
    EXPECT_EQ(replay.finishFrame, static_cast<int>(run.frames.size()) - 1);
    EXPECT_EQ(replay.milliseconds, run.finishMilliseconds);
    EXPECT_EQ(again.simulation.stateHash(), level.simulation.stateHash());
}

TEST(Autopilot, BreaksTheTargetsOfEachColourAfterTakingItsSwitch) {
    Headless level(mapFromRows(twoColours), puzzleMode);
    ASSERT_EQ(level.simulation.colourTargetsLeft(), 4);
    RecordedRun run;
    int blueBeforeRedGone = 0;
    flyLevel(
        level.simulation, run, AutopilotTuning(), 90.0f, autopilotFrameTime,
        [&](const LevelSimulation& simulation) {
            // The red gate must fall before the ball can turn blue usefully.
            if (simulation.ballColour() == Colour::blue && simulation.colourTargetsLeft() > 1) {
                ++blueBeforeRedGone;
            }
        });
    ASSERT_GT(run.finishMilliseconds, 0);
    EXPECT_EQ(level.simulation.colourTargetsLeft(), 0);
    EXPECT_EQ(blueBeforeRedGone, 0);
}

TEST(Autopilot, GivesUpWhenTheGameTimeRunsOut) {
    // No finish at all: the pilot plays its frames and reports no time.
    Headless level(mapFromRows({"XXXXX", "X@..X", "X...X", "XXXXX"}), raceMode);
    RecordedRun run;
    flyLevel(level.simulation, run, AutopilotTuning(), 8.0f);
    EXPECT_EQ(run.finishMilliseconds, -1);
    EXPECT_EQ(run.frames.size(), 480u);
    EXPECT_FALSE(level.simulation.finished());
}

// The autopilot still finishes every shipped level, within a bound of game
// time and of processor time (which other tests running beside this one do
// not inflate), and the run it records replays to the same time.
TEST(Autopilot, FinishesEveryShippedLevel) {
    constexpr float gameSecondsAllowed = 180.0f;
    const std::clock_t startedAt = std::clock();
    for (GameMode mode : {raceMode, puzzleMode}) {
        LevelCatalogue catalogue;
        catalogue.fill(mode);
        for (int i = 0; i < catalogue.size(); ++i) {
            const std::string name = catalogue.names[static_cast<std::size_t>(i)];
            const std::string file = catalogue.files[static_cast<std::size_t>(i)];
            SCOPED_TRACE(name);
            const RecordedRun run =
                flyLevel(file, name, mode, AutopilotTuning(), gameSecondsAllowed);
            ASSERT_GT(run.finishMilliseconds, 0) << "not finished";
            TileImages noPictures;
            LevelSimulation replay(noPictures, mode, TurnSpeeds());
            ASSERT_TRUE(replay.loadLevel(file));
            EXPECT_EQ(replayRun(replay, run).milliseconds, run.finishMilliseconds);
        }
    }
    const double seconds = static_cast<double>(std::clock() - startedAt) / CLOCKS_PER_SEC;
    EXPECT_LT(seconds, 150.0) << "the autopilot has become too slow for the test command";
}

namespace {

int penaltiesIn(const LevelSimulation& simulation) {
    const auto& events = simulation.play().contactEvents;
    return static_cast<int>(std::count_if(events.begin(), events.end(), [](const auto& event) {
        return event.kind == ContactEvent::Kind::penalty;
    }));
}

}  // namespace

// Penalties in both corridors, close to the line a ball falls along: flying
// straight on, the autopilot takes a good many; when it may practise, it
// plays the bad stretches again and takes fewer, and still finishes.
TEST(Autopilot, PractisingTakesFewerPenaltiesThanFlyingStraightOn) {
    const std::vector<std::string> rows = {
        "XXXXXXXXXXXXXXXXXXXX",  //
        "X@.......!.........X",  //
        "X..................X",  //
        "X.........!........X",  //
        "XXXXXXXXXXXXXXX....X",  //
        "X.......!..........X",  //
        "XF.................X",  //
        "XXXXXXXXXXXXXXXXXXXX",
    };
    Headless straight(mapFromRows(rows), raceMode);
    Autopilot pilot;
    int straightPenalties = 0;
    for (int frame = 0; frame < 60 * 60 && !straight.simulation.finished(); ++frame) {
        straight.simulation.advance(autopilotFrameTime,
                                    pilot.nextFrame(straight.simulation, autopilotFrameTime));
        straightPenalties += penaltiesIn(straight.simulation);
    }

    Headless practised(mapFromRows(rows), raceMode);
    RecordedRun run;
    int practisedPenalties = 0;
    flyLevel(
        practised.simulation, run, AutopilotTuning(), 60.0f, autopilotFrameTime,
        [&](const LevelSimulation& simulation) { practisedPenalties += penaltiesIn(simulation); });
    ASSERT_GT(run.finishMilliseconds, 0);
    EXPECT_GT(straightPenalties, 2);
    EXPECT_LT(practisedPenalties, straightPenalties);
}

// Practice replays from earlier states and varies the pilot by seed: the run
// it ends with must still be the same every time.
TEST(Autopilot, PractisingGivesTheSameRunEveryTime) {
    const std::vector<std::string> rows = {
        "XXXXXXXXXXXX",  //
        "X@.........X",  //
        "X....!.....X",  //
        "X..........X",  //
        "X......!..FX",  //
        "XXXXXXXXXXXX",
    };
    RecordedRun first;
    RecordedRun second;
    Headless one(mapFromRows(rows), raceMode);
    Headless two(mapFromRows(rows), raceMode);
    flyLevel(one.simulation, first, AutopilotTuning(), 30.0f);
    flyLevel(two.simulation, second, AutopilotTuning(), 30.0f);
    ASSERT_GT(first.finishMilliseconds, 0);
    EXPECT_EQ(formatRun(first), formatRun(second));
    EXPECT_EQ(one.simulation.stateHash(), two.simulation.stateHash());
}
