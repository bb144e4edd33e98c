// The step after a finish as the player meets it: a real play screen in a
// real window finishes a corridor level and talks to the real highscore
// server on loopback (fresh SQLite file), or to a server that is down or never
// answers. How the table scrolls is the post-finish unit test's business.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "NetworkStandIns.hpp"
#include "Pixels.hpp"
#include "PlayDriver.hpp"
#include "ServerProcess.hpp"
#include "game/PersonalBest.hpp"
#include "online/HighscoreClient.hpp"
#include "online/ScoreText.hpp"

namespace {

using WallClock = std::chrono::steady_clock;

// The corridor under a level id the server knows, and a second level whose
// table must stay untouched by the run.
constexpr int playedLevelId = 250;
constexpr int otherLevelId = 275;
constexpr const char* playerName = "racer";
// Scheduling slack on a busy machine, seconds.
constexpr double slackSeconds = 0.8;

// Which part of the step a display() belongs to.
enum class Phase { none, submitting, submitted, fetched };

Phase phaseOf(const PlayScreen& screen) {
    const FinishSequence& finish = screen.finishState();
    if (!finish.submitPending) {
        return Phase::none;
    }
    if (!finish.submitted) {
        return Phase::submitting;
    }
    return finish.tableFetched ? Phase::fetched : Phase::submitted;
}

// The wall time of every display() of the step, by phase. A wait frame
// displays twice: once with its message before the request, once at its end.
struct StepLog {
    std::map<Phase, std::vector<WallClock::time_point>> shown;

    void record(const PlayScreen& screen) {
        if (phaseOf(screen) != Phase::none) {
            shown[phaseOf(screen)].push_back(WallClock::now());
        }
    }
    bool empty() const { return shown.empty(); }
    bool reached(Phase phase) const { return shown.count(phase) == 1; }
    // Seconds the submission and the fetch blocked their frames.
    double submitSeconds() const { return between(Phase::submitting, 0, Phase::submitted, 0); }
    double fetchSeconds() const { return between(Phase::submitted, 1, Phase::fetched, 0); }
    double between(Phase from, std::size_t i, Phase to, std::size_t j) const {
        if (!reached(from) || !reached(to) || shown.at(from).size() <= i) {
            return -1.0;
        }
        return std::chrono::duration<double>(shown.at(to)[j] - shown.at(from)[i]).count();
    }
};

// Plays the corridor to its finish with online scores on (or off) against a
// server, logging the step; `onFrame` sees every frame.
struct Finish {
    Finish(const std::string& serverAddress, bool online,
           const std::function<void(GameWindow&, PlayScreen&)>& onFrame = nullptr,
           float storedBest = -1.0f) {
        if (storedBest > 0.0f) {
            storePersonalBest(raceMode, playedLevelId, storedBest);
        }
        game.settings().setInt("submitscores", online ? 1 : 0);
        game.settings().setString("username", playerName);
        game.settings().setString("highscoreserver", serverAddress);
        LevelCatalogue catalogue;
        catalogue.addLevel(corridorLevel, "Corridor", playedLevelId);
        catalogue.loadThumbnails();
        PlayScreen screen(game.window(), raceMode, catalogue, 0, true);
        CorridorDriver driver(game, screen);
        game.everyFrame([&](GameWindow& window) {
            log.record(screen);
            rowsSeen = rowsSeen || !screen.postFinishState().shownRows().empty();
            if (onFrame) {
                onFrame(window, screen);
            }
        });
        screen.run();
        wentOn = screen.quitting() && game.window().isOpen();
        best = readPersonalBest(raceMode, playedLevelId);
    }

    ScriptedGame game;
    StepLog log;
    bool rowsSeen = false;
    bool wentOn = false;
    float best = -1.0f;
};

}  // namespace

TEST(PostFinishScene, TheTimeReachesTheServerAndTheTableShowsTheOwnRowInGreen) {
    REQUIRE_DISPLAY();
    TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    ASSERT_TRUE(server.start()) << server.log();
    // Twenty-four players faster than any run of the corridor, six slower
    // ones, and one on another level.
    const HighscoreClient seeder(server.address());
    for (int i = 0; i < 30; ++i) {
        const float seconds = i < 24 ? 0.05f + 0.01f * i : 500.0f + i;
        seeder.submitScore("p" + std::to_string(i), raceMode, playedLevelId, encodeTime(seconds));
    }
    seeder.submitScore("elsewhere", raceMode, otherLevelId, encodeTime(30.0f));

    // A best faster than the run: the time is sent all the same.
    const float storedBest = 0.2f;
    sf::Image waitPicture;
    sf::Image tablePicture;
    int tableFrames = 0;
    bool leftEarly = false;
    float finishTime = -1.0f;
    const Finish run(
        server.address(), true,
        [&](GameWindow& window, PlayScreen& screen) {
            const Phase phase = phaseOf(screen);
            if (phase == Phase::submitting || phase == Phase::submitted) {
                // Pressed while a request blocks: read by the next frame, and must
                // not skip the table.
                finishTime = screen.simulation().raceClock();
                waitPicture = window.capture();
                window.queueEventAt(window.frameNumber() + 1,
                                    GameWindow::keyEvent(sf::Keyboard::Space, true));
            }
            leftEarly = leftEarly || (screen.finishState().leaving && tableFrames < 20);
            if (phase != Phase::fetched || screen.finishState().leaving || ++tableFrames != 20) {
                return;
            }
            tablePicture = window.capture();
            window.queueEventAt(window.frameNumber() + 1,
                                GameWindow::keyEvent(sf::Keyboard::Space, true));
        },
        storedBest);

    EXPECT_TRUE(run.wentOn) << "Space after the table goes on";
    EXPECT_FALSE(leftEarly) << "presses during the waits were dropped";
    ASSERT_GT(finishTime, 0.3f) << "slower than every seeded fast time";
    EXPECT_LT(run.log.submitSeconds(), 2.0);
    EXPECT_LT(run.log.fetchSeconds(), 2.0);
    EXPECT_GT(countPixels(waitPicture, {0, 512, 1280, 60}, isWhitish), 120) << "a wait message";

    // The time is on the server, in the played level's table only; the
    // faster best stays.
    HighscoreTable played;
    seeder.fetchTable(raceMode, playedLevelId, played);
    ASSERT_EQ(played.recordCount(), 31u);
    EXPECT_EQ(played.field(24, 2), playerName);
    EXPECT_NEAR(std::stof(played.field(24, 3)), finishTime, 0.001f);
    HighscoreTable other;
    seeder.fetchTable(raceMode, otherLevelId, other);
    EXPECT_EQ(other.recordCount(), 1u);
    EXPECT_EQ(run.best, decodeTime(encodeTime(storedBest)));

    // Own record 24 opens on the tenth row of 42 units from y = 100: green
    // there, white above, nothing green elsewhere (the window is a quarter of
    // the logical screen).
    const float tenthRow = 100.0f + 42.0f * 9.0f;
    EXPECT_GT(countPixels(tablePicture, {100, tenthRow, 1180, 42}, isGreenish), 75);
    EXPECT_EQ(countPixels(tablePicture, {100, 100, 1180, 42 * 9}, isGreenish), 0);
    EXPECT_EQ(countPixels(tablePicture, {100, tenthRow + 42, 1180, 42 * 6}, isGreenish), 0);
    EXPECT_GT(countPixels(tablePicture, {0, 100, 1280, 42 * 9}, isWhitish), 500);
}

TEST(PostFinishScene, WithOnlineScoresOffNothingIsSentAndTheBestIsStoredAtOnce) {
    REQUIRE_DISPLAY();
    TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    ASSERT_TRUE(server.start()) << server.log();
    bool storedAtFinish = false;
    const Finish run(server.address(), false, [&](GameWindow&, PlayScreen& screen) {
        if (screen.finishState().finishHandled && !storedAtFinish) {
            storedAtFinish = readPersonalBest(raceMode, playedLevelId) > 0.0f;
        }
    });
    EXPECT_TRUE(run.wentOn);
    EXPECT_TRUE(storedAtFinish);
    EXPECT_TRUE(run.log.empty()) << "the step never ran";
    EXPECT_EQ(server.log().find("sbmt.php"), std::string::npos);
}

// A server that is down answers at once; one that listens but never answers
// costs the client's time-out per request. Either way the finish goes on by
// itself, with the best kept locally.
TEST(PostFinishScene, AServerDownOrSilentLetsTheFinishGoOnWithTheBestKept) {
    REQUIRE_DISPLAY();
    SilentServer silent;
    for (const bool down : {true, false}) {
        SCOPED_TRACE(down ? "down" : "silent");
        const Finish run(down ? refusingAddress() : silent.address(), true);
        EXPECT_TRUE(run.wentOn) << "the finish went on without a key press";
        EXPECT_FALSE(run.rowsSeen);
        EXPECT_GT(run.best, 0.3f);
        ASSERT_TRUE(run.log.reached(Phase::fetched));
        for (const double seconds : {run.log.submitSeconds(), run.log.fetchSeconds()}) {
            const double expected = down ? 0.0 : HighscoreClient::kDefaultTimeoutSeconds;
            EXPECT_GT(seconds, expected - slackSeconds);
            EXPECT_LT(seconds, expected + slackSeconds);
        }
    }
}
