// The outbox as the player meets it: times kept on disk survive the game
// being killed, go to the server when the game starts, and wait, like every
// other request, while online scores are off.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "NetworkStandIns.hpp"
#include "PlayDriver.hpp"
#include "ServerProcess.hpp"
#include "SpawnLogged.hpp"
#include "game/PersonalBest.hpp"
#include "game/PersonalRuns.hpp"
#include "menu/MainMenu.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/client/HighscoreClient.hpp"
#include "online/client/Outbox.hpp"
#include "sim/run/ScoreText.hpp"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int playedLevelId = 250;
constexpr const char* playerName = "racer";
// How the child game of the kill test finds its server and its files.
constexpr const char* serverVariable = "ROLLAVORTEX_TEST_SERVER";
constexpr const char* playerDataVariable = "ROLLAVORTEX_TEST_PLAYER_DATA";

std::filesystem::path outboxIn(const TempFolder& playerData) {
    return playerData.path() / "rollavortex" / "outbox";
}

// The names on the level's table, one a line.
std::string namesOn(const ServerProcess& server) {
    HighscoreTable table;
    HighscoreClient(server.address()).fetchTable(raceMode, playedLevelId, table);
    std::string names;
    for (unsigned record = 0; record < table.recordCount(); ++record) {
        names += table.field(record, 2) + "\n";
    }
    return names;
}

// Plays the corridor to its finish with online scores off and the player's
// files in `playerData`.
struct OfflinePlay {
    bool ghostRaced = false;
    bool bestAtFinish = false;  // stored by the first frame after the finish
    bool stepRan = false;       // the fade toward the online table
};

OfflinePlay playCorridor(const TempFolder& playerData, const std::string& serverAddress) {
    ScriptedGame game;
    const ScopedDataFolder data(playerData.path(), "XDG_DATA_HOME");
    game.settings().setInt("submitscores", 0);
    game.settings().setInt("ghost", Setting::ghostRecord);
    game.settings().setString("username", playerName);
    game.settings().setString("highscoreserver", serverAddress);
    PlayScreen screen(game.window(), raceMode, corridorAs(playedLevelId), 0, true);
    CorridorDriver driver(game, screen);
    OfflinePlay play;
    bool finished = false;
    game.everyFrame([&](GameWindow&) {
        play.ghostRaced = play.ghostRaced || screen.ghostBall().pose().has_value();
        const FinishPhase phase = screen.finishState().phase;
        play.stepRan =
            play.stepRan || (phase >= FinishPhase::toTable && phase <= FinishPhase::showingTable);
        if (phase != FinishPhase::racing && !finished) {
            finished = true;
            play.bestAtFinish = readPersonalBest(raceMode, playedLevelId) > 0.0f;
        }
    });
    screen.run();
    return play;
}

}  // namespace

// Run by the kill test as a process of its own: a finish whose submission
// hangs on a server that never answers, until the game is killed.
TEST(OutboxScene, DISABLED_FinishesAgainstAHungServer) {
    const char* server = std::getenv(serverVariable);
    const char* playerData = std::getenv(playerDataVariable);
    ASSERT_TRUE(server && playerData);
    ScriptedGame game;
    const ScopedDataFolder data(playerData, "XDG_DATA_HOME");
    game.settings().setInt("submitscores", 1);
    game.settings().setString("username", playerName);
    game.settings().setString("highscoreserver", server);
    PlayScreen screen(game.window(), raceMode, corridorAs(playedLevelId), 0, true);
    CorridorDriver driver(game, screen);
    screen.run();
}

TEST(OutboxScene, AGameKilledWhileSendingKeepsItsOutboxForTheNextStartsMenuToSend) {
    REQUIRE_DISPLAY();
    const SilentServer hung;
    const TempFolder playerData;
    const TempFolder folder;
    setenv(serverVariable, hung.address().c_str(), 1);
    setenv(playerDataVariable, playerData.path().c_str(), 1);
    const pid_t game =
        spawnLogged({std::filesystem::read_symlink("/proc/self/exe").string(),
                     "--gtest_filter=OutboxScene.DISABLED_FinishesAgainstAHungServer",
                     "--gtest_also_run_disabled_tests"},
                    folder.file("game.log"));
    unsetenv(serverVariable);
    unsetenv(playerDataVariable);
    ASSERT_GT(game, 0);
    const Outbox outbox(outboxIn(playerData));
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (outbox.waitingCount() < 2 && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Killed while its first request waits for an answer that never comes.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    kill(game, SIGKILL);
    int status = 0;
    waitpid(game, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << slurpFile(folder.file("game.log"));
    EXPECT_EQ(outbox.waitingCount(), 2u) << slurpFile(folder.file("game.log"));
    // The new best was stored before its request went out, whatever the server does.
    const PersonalRuns runs(playerData.path() / "rollavortex" / "runs");
    EXPECT_TRUE(std::filesystem::exists(runs.pathOf(raceMode, playedLevelId)));

    // The main menu of the next start sends them, and waits for its sending
    // when it goes: the time is taken, the corridor's run refused (it is no
    // run of the server's level), and neither waits any more.
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    ASSERT_TRUE(server.start()) << server.log();
    ScriptedGame next;
    const ScopedDataFolder data(playerData.path(), "XDG_DATA_HOME");
    next.settings().setInt("submitscores", 1);
    next.settings().setString("highscoreserver", server.address());
    { const MainMenu menu(next.window()); }
    EXPECT_EQ(namesOn(server), std::string(playerName) + "\n");
    EXPECT_EQ(outbox.waitingCount(), 0u);
    EXPECT_NE(server.log().find(" refused: "), std::string::npos) << server.log();
}

TEST(OutboxScene, WithOnlineScoresOffNoConnectionIsMadeAndTheRecordGhostIsTheBest) {
    REQUIRE_DISPLAY();
    // Takes connections into its queue without accepting: any attempt shows.
    sf::TcpListener listener;
    ASSERT_EQ(listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost), sf::Socket::Done);
    listener.setBlocking(false);
    const std::string address = "127.0.0.1:" + std::to_string(listener.getLocalPort());
    const TempFolder playerData;
    Outbox outbox(outboxIn(playerData));
    ASSERT_TRUE(outbox.keep(
        HighscoreProtocol::kSubmitPath,
        HighscoreProtocol::submissionBody("early", raceMode, playedLevelId, encodeTime(30.0f))));

    // A first play keeps the best and its run at once; the second races
    // "Record".
    const OfflinePlay first = playCorridor(playerData, address);
    EXPECT_FALSE(first.ghostRaced);
    EXPECT_TRUE(first.bestAtFinish);
    {
        ScriptedGame game;
        const ScopedDataFolder data(playerData.path(), "XDG_DATA_HOME");
        game.settings().setInt("submitscores", 0);
        game.settings().setString("highscoreserver", address);
        const MainMenu menu(game.window());
    }
    const OfflinePlay second = playCorridor(playerData, address);
    EXPECT_TRUE(second.ghostRaced) << "the personal best raced as the record's ghost";
    EXPECT_FALSE(first.stepRan || second.stepRan);

    sf::TcpSocket connection;
    EXPECT_EQ(listener.accept(connection), sf::Socket::NotReady) << "a connection was made";
    EXPECT_EQ(outbox.waitingCount(), 1u) << "the outbox waits";
}

TEST(OutboxScene, WhatTheServerTakesOrRefusesGoesAndTheRestWaitsInOrder) {
    const TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    // One request a second: the third of a sending is told to come back.
    ASSERT_TRUE(server.start({"--rate-limit", "1", "--rate-burst", "2"})) << server.log();
    const TempFolder playerData;
    Outbox outbox(outboxIn(playerData));
    const auto submission = [](const std::string& name) {
        return HighscoreProtocol::submissionBody(name, raceMode, playedLevelId, encodeTime(30.0f));
    };
    ASSERT_TRUE(outbox.keep(HighscoreProtocol::kSubmitPath, submission("first")));
    ASSERT_TRUE(outbox.keep(HighscoreProtocol::kSubmitPath, "name=bad&mode=9"));
    ASSERT_TRUE(outbox.keep(HighscoreProtocol::kSubmitPath, submission("third")));
    ASSERT_TRUE(outbox.keep(HighscoreProtocol::kSubmitPath, submission("fourth")));
    const HighscoreClient client(server.address());

    // Taken, refused (400, dropped), then 429: that one and the one after it wait.
    OutboxSending sent = outbox.sendWaiting(client, sf::seconds(5));
    EXPECT_EQ(sent.taken, 1);
    EXPECT_EQ(sent.refused, 1);
    EXPECT_EQ(sent.waiting, 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    sent = outbox.sendWaiting(client, sf::seconds(5));
    EXPECT_EQ(sent.taken, 2);
    EXPECT_EQ(sent.waiting, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(namesOn(server), "first\nthird\nfourth\n") << "equal times in the order sent";

    // A server that cannot store (500) takes nothing away.
    ASSERT_TRUE(outbox.keep(HighscoreProtocol::kSubmitPath, submission("fifth")));
    std::filesystem::remove(folder.file("scores.db"));
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(outbox.sendWaiting(client, sf::seconds(5)).waiting, 1);
}
