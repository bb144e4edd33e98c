#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <regex>
#include <string>

#include "NetworkStandIns.hpp"
#include "Pixels.hpp"
#include "PlayDriver.hpp"
#include "ServerProcess.hpp"
#include "game/PersonalBest.hpp"
#include "online/client/HighscoreClient.hpp"
#include "online/client/Outbox.hpp"
#include "sim/run/ScoreText.hpp"

// The step after a finish as the player meets it: a real play screen in a
// real window finishes a corridor level and talks to the real highscore
// server on loopback (fresh SQLite file), or to a server that is down or
// never answers.

namespace {

using WallClock = std::chrono::steady_clock;

// The corridor under a level id the server knows, and a second level whose
// table must stay untouched by the run.
constexpr int playedLevelId = 250;
constexpr int otherLevelId = 275;
constexpr const char* playerName = "racer";
// Scheduling slack on a busy machine, seconds.
constexpr double slackSeconds = 0.8;

// Pixels of a band of the logical screen that are plainly green, the colour
// of the own row, and bright: text drawn over the half-dark frame.
int greenPixels(const sf::Image& picture, float top, float height) {
    return countPixels(picture, {100.0f, top, 1180.0f, height}, isGreenish);
}
int brightPixels(const sf::Image& picture, float top, float height) {
    return countPixels(picture, {0.0f, top, 1280.0f, height}, isWhitish);
}

// The wall time of the first display() of each phase of the step. A request
// blocks the update of the frame after its wait message.
struct StepLog {
    void record(const PlayScreen& screen) {
        const FinishPhase phase = screen.finishState().phase;
        if (phase >= FinishPhase::submitting && phase <= FinishPhase::showingTable) {
            firstShown.emplace(phase, WallClock::now());
        }
    }
    double secondsBetween(FinishPhase from, FinishPhase to) const {
        return std::chrono::duration<double>(firstShown.at(to) - firstShown.at(from)).count();
    }
    // Seconds the submission and the fetch blocked their frames.
    double submitSeconds() const {
        return secondsBetween(FinishPhase::submitting, FinishPhase::fetching);
    }
    double fetchSeconds() const {
        return secondsBetween(FinishPhase::fetching, FinishPhase::showingTable);
    }

    std::map<FinishPhase, WallClock::time_point> firstShown;
};

// A finish with online scores on, as the player meets it: Space pressed
// during each wait (a request blocks the frame after its wait message, so
// the press is read by the frame after it) must be dropped; in the table
// phase Down once, then Space goes on. The best is kept locally, and what the
// server did not take waits in the outbox, which the table says.
struct OnlineFinish {
    StepLog log;
    float finishTime = -1.0f;
    sf::Image submitting;  // the frame of the submission's wait message
    sf::Image table;       // the table's twentieth frame
    bool rowsSeen = false;
    bool savedNoteShown = false;
    unsigned firstShownAtOpening = 0;
    unsigned firstShownAfterDown = 0;
    bool leftEarly = false;  // the table left before the player's Space
    bool quit = false;
    bool timeWaits = true;
    float bestAfter = -1.0f;
    std::size_t waitingAfter = 0;
};

// `playerData` holds the player's files (the outbox among them) from one
// game to the next.
OnlineFinish finishAgainst(const std::string& serverAddress, const TempFolder& playerData) {
    ScriptedGame game;
    const ScopedDataFolder data(playerData.path(), "XDG_DATA_HOME");
    game.settings().setInt("submitscores", 1);
    game.settings().setString("username", playerName);
    game.settings().setString("highscoreserver", serverAddress);
    PlayScreen screen(game.window(), raceMode, corridorAs(playedLevelId), 0, true);
    CorridorDriver driver(game, screen);
    OnlineFinish result;
    int tableFrames = 0;
    game.everyFrame([&](GameWindow& window) {
        result.log.record(screen);
        result.rowsSeen = result.rowsSeen || !screen.postFinishState().shownRows().empty();
        const FinishPhase phase = screen.finishState().phase;
        if (phase == FinishPhase::submitting && result.finishTime < 0.0f) {
            result.submitting = window.capture();
            result.finishTime = screen.simulation().raceClock();
        }
        if (phase == FinishPhase::submitting || phase == FinishPhase::fetching) {
            game.keyIn(2, sf::Keyboard::Space, false);
        }
        if (phase != FinishPhase::showingTable) {
            return;
        }
        const unsigned firstShown = screen.postFinishState().scores().firstShown;
        if (++tableFrames == 1) {
            result.firstShownAtOpening = firstShown;
        } else if (tableFrames == 20) {
            result.table = window.capture();
            // The note's line below the rows.
            result.savedNoteShown = brightPixels(result.table, 880, 50) > 100;
            game.keyIn(1, sf::Keyboard::Down);
        } else if (tableFrames == 30) {
            result.firstShownAfterDown = firstShown;
            game.keyIn(1, sf::Keyboard::Space);
        }
    });
    game.when([&](GameWindow&) { return screen.finishState().phase == FinishPhase::leaving; },
              [&](GameWindow&) { result.leftEarly = tableFrames < 30; });
    screen.run();
    result.quit = screen.quitting() && game.window().isOpen();
    result.timeWaits = screen.postFinishState().timeWaits();
    result.bestAfter = readPersonalBest(raceMode, playedLevelId);
    result.waitingAfter = Outbox().waitingCount();
    return result;
}

}  // namespace

// A server that never answers costs one time-out per step, one that is down
// none; either way the time and the run wait in the outbox, and reach the
// server after the next finish once it is up. That finish's time is on the
// server, and the table shows the own row in green.
TEST(PostFinishScene, TimesThatWaitedReachTheServerAfterTheNextFinishAndTheOwnRowIsGreen) {
    REQUIRE_DISPLAY();
    const TempFolder playerData;
    const SilentServer silent;
    const std::string address = refusingAddress();
    const double timeout = HighscoreClient::kDefaultTimeoutSeconds;
    const struct {
        std::string server;
        double leastSeconds, mostSeconds;  // that a step blocks its frame
        std::size_t waiting;               // the times and the runs
    } finishes[] = {{silent.address(), timeout - slackSeconds, timeout + slackSeconds, 2},
                    {address, 0.0, 1.0, 4}};
    for (const auto& finish : finishes) {
        SCOPED_TRACE(finish.server);
        const OnlineFinish run = finishAgainst(finish.server, playerData);
        EXPECT_TRUE(run.quit);
        EXPECT_FALSE(run.rowsSeen);
        EXPECT_TRUE(run.savedNoteShown) << "Saved, sent when the server answers";
        EXPECT_GT(run.bestAfter, 0.3f) << "the best is kept locally";
        ASSERT_EQ(run.waitingAfter, finish.waiting);
        ASSERT_EQ(run.log.firstShown.size(), 3u);
        for (const double seconds : {run.log.submitSeconds(), run.log.fetchSeconds()}) {
            EXPECT_GT(seconds, finish.leastSeconds);
            EXPECT_LT(seconds, finish.mostSeconds);
        }
    }

    // The server comes up where the game looks for it, late, with twenty-four
    // players faster than any run of the corridor, six slower ones, and one on
    // another level.
    TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    ASSERT_TRUE(server.start({"--listen", address})) << server.log();
    const HighscoreClient seeder(server.address());
    for (int i = 0; i < 24; ++i) {
        seeder.submitScore("fast " + std::to_string(i), raceMode, playedLevelId,
                           encodeTime(0.05f + 0.01f * static_cast<float>(i)));
    }
    for (int i = 0; i < 6; ++i) {
        seeder.submitScore("slow " + std::to_string(i), raceMode, playedLevelId,
                           encodeTime(500.0f + static_cast<float>(i)));
    }
    seeder.submitScore("elsewhere", raceMode, otherLevelId, encodeTime(30.0f));
    const OnlineFinish run = finishAgainst(address, playerData);
    EXPECT_TRUE(run.quit) << "Space after the table goes on";
    EXPECT_FALSE(run.leftEarly) << "presses during the waits were dropped";
    EXPECT_TRUE(run.rowsSeen);
    EXPECT_FALSE(run.savedNoteShown);
    EXPECT_EQ(run.waitingAfter, 0u);
    EXPECT_FALSE(run.timeWaits) << "the server took the time";
    const float finishTime = run.finishTime;
    ASSERT_GT(finishTime, 0.3f) << "slower than every seeded fast time";
    EXPECT_EQ(run.bestAfter, decodeTime(encodeTime(finishTime)));
    // The waiting times first, then the new one; the corridor's runs are no
    // runs of the level the server has under this id, so they are refused
    // and dropped.
    const std::string log = server.log();
    const std::regex submitted("sbmt\\.php 200 [^\n]*name=\"racer\"");
    EXPECT_EQ(std::distance(std::sregex_iterator(log.begin(), log.end(), submitted),
                            std::sregex_iterator()),
              3)
        << log;

    // The time is on the server, in the played level's table only.
    HighscoreTable played;
    seeder.fetchTable(raceMode, playedLevelId, played);
    ASSERT_EQ(played.recordCount(), 31u);
    played.findOwnRecord(playerName, 9);
    EXPECT_EQ(played.ownRecord, 24);
    EXPECT_NEAR(std::stof(played.field(24, 3)), finishTime, 0.001f);
    HighscoreTable other;
    seeder.fetchTable(raceMode, otherLevelId, other);
    EXPECT_EQ(other.recordCount(), 1u);

    // The wait message was on screen while the submission ran.
    ASSERT_GT(run.submitting.getSize().x, 0u);
    EXPECT_GT(brightPixels(run.submitting, 512, 60), 100);
    EXPECT_LT(run.log.submitSeconds(), 2.0);
    EXPECT_LT(run.log.fetchSeconds(), 2.0);

    // Own record 24 opens on the tenth row; Down moves five records.
    EXPECT_EQ(run.firstShownAtOpening, 15u);
    EXPECT_EQ(run.firstShownAfterDown, 20u);

    // In the picture: green in the tenth row's band, none in the others'.
    ASSERT_GT(run.table.getSize().x, 0u);
    const float tenthRowTop = 100 + 42 * 9;
    EXPECT_GT(greenPixels(run.table, tenthRowTop, 42), 60);
    EXPECT_EQ(greenPixels(run.table, 100, 42 * 9), 0);
    EXPECT_EQ(greenPixels(run.table, tenthRowTop + 42, 42 * 6), 0);
    EXPECT_GT(brightPixels(run.table, 100, 42 * 9), 400) << "the white rows above";
}
