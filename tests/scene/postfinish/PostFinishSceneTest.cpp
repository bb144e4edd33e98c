#include <gtest/gtest.h>

#include <SFML/Network/SocketSelector.hpp>
#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "NetworkStandIns.hpp"
#include "Pixels.hpp"
#include "PlayDriver.hpp"
#include "ServerProcess.hpp"
#include "game/PersonalBest.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/client/HighscoreClient.hpp"
#include "online/client/Outbox.hpp"
#include "sim/run/ScoreText.hpp"

#define REQUIRE_DISPLAY() \
    if (!haveDisplay())   \
    GTEST_SKIP() << "no display"

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

LevelCatalogue playedCatalogue() {
    return corridorAs(playedLevelId);
}

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

void tap(GameWindow& window, sf::Keyboard::Key key) {
    window.queueEventAt(window.frameNumber() + 1, GameWindow::keyEvent(key, true));
    window.queueEventAt(window.frameNumber() + 2, GameWindow::keyEvent(key, false));
}

// A finish against a server that gives no table, or gives one: the table
// phase is left with Space, the best is kept locally, and what the server
// did not take waits in the outbox, which the table says.
struct OfflineFinish {
    StepLog log;
    bool quit = false;
    bool rowsSeen = false;
    bool savedNoteShown = false;
    float bestAfter = -1.0f;
    std::size_t waitingAfter = 0;
};

// `playerData` holds the player's files (the outbox among them) from one
// game to the next.
OfflineFinish finishWithout(const std::string& serverAddress, const TempFolder& playerData) {
    ScriptedGame game;
    const ScopedDataFolder data(playerData.path(), "XDG_DATA_HOME");
    game.settings().setInt("submitscores", 1);
    game.settings().setString("username", playerName);
    game.settings().setString("highscoreserver", serverAddress);
    PlayScreen screen(game.window(), raceMode, playedCatalogue(), 0, true);
    CorridorDriver driver(game, screen);
    OfflineFinish result;
    int tableFrames = 0;
    game.everyFrame([&](GameWindow& window) {
        result.log.record(screen);
        result.rowsSeen = result.rowsSeen || !screen.postFinishState().shownRows().empty();
        if (screen.finishState().phase != FinishPhase::showingTable || ++tableFrames != 10) {
            return;
        }
        // The note's line below the rows, then on.
        result.savedNoteShown = brightPixels(window.capture(), 880, 50) > 100;
        tap(window, sf::Keyboard::Space);
    });
    screen.run();
    result.quit = screen.quitting() && game.window().isOpen();
    result.bestAfter = readPersonalBest(raceMode, playedLevelId);
    result.waitingAfter = Outbox().waitingCount();
    return result;
}

// Stands between the game and the real server on loopback: hands each request
// to a watcher the moment it has fully arrived, before the server sees it,
// then passes it on and the server's answer back untouched.
class WatchingRelay {
  public:
    using Watcher = std::function<void(const std::string& request)>;

    WatchingRelay(unsigned short serverPort, Watcher watcher)
        : serverPort(serverPort), watch(std::move(watcher)) {
        listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost);
        worker = std::thread([this] { serve(); });
    }
    ~WatchingRelay() {
        stopping = true;
        worker.join();
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(listener.getLocalPort()); }

  private:
    void serve() {
        sf::SocketSelector selector;
        selector.add(listener);
        while (!stopping) {
            sf::TcpSocket game;
            if (selector.wait(sf::milliseconds(20)) && listener.accept(game) == sf::Socket::Done) {
                relay(game);
            }
        }
    }

    void relay(sf::TcpSocket& game) {
        const std::string request = readRequest(game);
        watch(request);
        sf::TcpSocket server;
        if (server.connect(sf::IpAddress::LocalHost, serverPort) != sf::Socket::Done ||
            server.send(request.data(), request.size()) != sf::Socket::Done) {
            return;
        }
        char buffer[4096];
        std::size_t got = 0;
        while (server.receive(buffer, sizeof buffer, got) == sf::Socket::Done) {
            game.send(buffer, got);
        }
    }

    // The header section and Content-Length bytes of body.
    static std::string readRequest(sf::TcpSocket& socket) {
        std::string text;
        char buffer[1024];
        std::size_t got = 0;
        for (;;) {
            const std::size_t end = text.find("\r\n\r\n");
            const std::size_t length = text.find("Content-Length: ");
            if (end != std::string::npos && length != std::string::npos &&
                text.size() >= end + 4 + std::stoul(text.substr(length + 16))) {
                return text;
            }
            if (socket.receive(buffer, sizeof buffer, got) != sf::Socket::Done) {
                return text;
            }
            text.append(buffer, got);
        }
    }

    unsigned short serverPort;
    Watcher watch;
    sf::TcpListener listener;
    std::atomic<bool> stopping{false};
    std::thread worker;
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
    for (int i = 0; i < 24; ++i) {
        seeder.submitScore("fast " + std::to_string(i), raceMode, playedLevelId,
                           encodeTime(0.05f + 0.01f * static_cast<float>(i)));
    }
    for (int i = 0; i < 6; ++i) {
        seeder.submitScore("slow " + std::to_string(i), raceMode, playedLevelId,
                           encodeTime(500.0f + static_cast<float>(i)));
    }
    seeder.submitScore("elsewhere", raceMode, otherLevelId, encodeTime(30.0f));

    ScriptedGame game;
    // The settings file's bytes as the submission arrives: the game waits for
    // the answer meanwhile, so nothing writes the settings while they are read.
    std::mutex seenLock;
    std::string settingsAtSubmission;
    const std::string serverAddress = server.address();
    const auto serverPort =
        static_cast<unsigned short>(std::stoi(serverAddress.substr(serverAddress.find(':') + 1)));
    WatchingRelay relay(serverPort, [&](const std::string& request) {
        if (request.find(HighscoreProtocol::kSubmitPath) != std::string::npos) {
            const std::lock_guard<std::mutex> hold(seenLock);
            settingsAtSubmission = game.settings().format();
        }
    });
    game.settings().setInt("submitscores", 1);
    game.settings().setString("username", playerName);
    game.settings().setString("highscoreserver", relay.address());
    PlayScreen screen(game.window(), raceMode, playedCatalogue(), 0, true);
    CorridorDriver driver(game, screen);

    StepLog log;
    sf::Image submittingPicture;
    sf::Image tablePicture;
    unsigned firstShownAtOpening = 0;
    unsigned firstShownAfterDown = 0;
    int tableFrames = 0;
    bool leftEarly = false;
    float finishTime = -1.0f;
    game.everyFrame([&](GameWindow& window) {
        log.record(screen);
        const FinishPhase phase = screen.finishState().phase;
        if (phase == FinishPhase::submitting || phase == FinishPhase::fetching) {
            if (phase == FinishPhase::submitting) {
                submittingPicture = window.capture();
                finishTime = screen.simulation().raceClock();
            }
            // Pressed while the next frame's request blocks: read by the
            // frame after it.
            window.queueEventAt(window.frameNumber() + 2,
                                GameWindow::keyEvent(sf::Keyboard::Space, true));
        }
        if (phase != FinishPhase::showingTable) {
            return;
        }
        ++tableFrames;
        if (tableFrames == 1) {
            firstShownAtOpening = screen.postFinishState().scores().firstShown;
        }
        if (tableFrames == 20) {
            tablePicture = window.capture();
            tap(window, sf::Keyboard::Down);
        }
        if (tableFrames == 30) {
            firstShownAfterDown = screen.postFinishState().scores().firstShown;
            window.queueEventAt(window.frameNumber() + 1,
                                GameWindow::keyEvent(sf::Keyboard::Space, true));
        }
    });
    game.when([&](GameWindow&) { return screen.finishState().phase == FinishPhase::leaving; },
              [&](GameWindow&) { leftEarly = tableFrames < 30; });
    screen.run();

    EXPECT_TRUE(game.window().isOpen());
    EXPECT_TRUE(screen.quitting()) << "Space after the table goes on";
    EXPECT_FALSE(leftEarly) << "presses during the waits were dropped";
    ASSERT_GT(finishTime, 0.3f) << "slower than every seeded fast time";

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
    const std::string bestKey = personalBestKey(raceMode, playedLevelId);
    const std::string best = game.settings().getString(bestKey);
    EXPECT_EQ(decodeTime(best), decodeTime(encodeTime(finishTime))) << "the new best is kept too";
    EXPECT_FALSE(screen.postFinishState().timeWaits()) << "the server took the time";
    const std::lock_guard<std::mutex> hold(seenLock);
    EXPECT_NE(settingsAtSubmission.find(bestKey + "\t" + best + "\n"), std::string::npos)
        << "the file would have lacked the new best while the request was out";

    // The wait message was on screen while the submission ran.
    ASSERT_GT(submittingPicture.getSize().x, 0u);
    EXPECT_GT(brightPixels(submittingPicture, 512, 60), 100);
    EXPECT_LT(log.submitSeconds(), 2.0);
    EXPECT_LT(log.fetchSeconds(), 2.0);

    // Own record 24 opens on the tenth row; Down moves five records.
    EXPECT_EQ(firstShownAtOpening, 15u);
    EXPECT_EQ(firstShownAfterDown, 20u);

    // In the picture: green in the tenth row's band, none in the others'.
    ASSERT_GT(tablePicture.getSize().x, 0u);
    const float tenthRowTop = 100 + 42 * 9;
    EXPECT_GT(greenPixels(tablePicture, tenthRowTop, 42), 60);
    EXPECT_EQ(greenPixels(tablePicture, 100, 42 * 9), 0);
    EXPECT_EQ(greenPixels(tablePicture, tenthRowTop + 42, 42 * 6), 0);
    EXPECT_GT(brightPixels(tablePicture, 100, 42 * 9), 400) << "the white rows above";
}

TEST(PostFinishScene, WithOnlineScoresOffNothingIsSentAndTheBestIsStoredAtOnce) {
    REQUIRE_DISPLAY();
    TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    ASSERT_TRUE(server.start()) << server.log();

    ScriptedGame game;
    game.settings().setInt("submitscores", 0);
    game.settings().setString("username", playerName);
    game.settings().setString("highscoreserver", server.address());
    PlayScreen screen(game.window(), raceMode, playedCatalogue(), 0, true);
    CorridorDriver driver(game, screen);
    StepLog log;
    bool storedAtFinish = false;
    game.everyFrame([&](GameWindow&) {
        log.record(screen);
        if (screen.finishState().phase != FinishPhase::racing && !storedAtFinish) {
            storedAtFinish = readPersonalBest(raceMode, playedLevelId) > 0.0f;
        }
    });
    screen.run();

    EXPECT_TRUE(screen.quitting());
    EXPECT_TRUE(storedAtFinish);
    EXPECT_TRUE(log.firstShown.empty()) << "the step never ran";
    HighscoreTable table;
    HighscoreClient(server.address()).fetchTable(raceMode, playedLevelId, table);
    EXPECT_EQ(table.recordCount(), 0u);
    EXPECT_EQ(server.log().find("sbmt.php"), std::string::npos);
}

TEST(PostFinishScene, AServerThatIsDownCostsNoWaitAndTheTimeWaitsInTheOutbox) {
    REQUIRE_DISPLAY();
    const TempFolder playerData;
    const OfflineFinish run = finishWithout(refusingAddress(), playerData);
    EXPECT_TRUE(run.quit);
    EXPECT_FALSE(run.rowsSeen);
    EXPECT_TRUE(run.savedNoteShown) << "Saved, sent when the server answers";
    EXPECT_GT(run.bestAfter, 0.3f) << "the best is kept locally";
    EXPECT_EQ(run.waitingAfter, 2u) << "the time and the run";
    ASSERT_EQ(run.log.firstShown.size(), 3u);
    EXPECT_LT(run.log.submitSeconds(), 1.0);
    EXPECT_LT(run.log.fetchSeconds(), 1.0);
}

TEST(PostFinishScene, AServerThatNeverAnswersCostsOneTimeOutPerStep) {
    REQUIRE_DISPLAY();
    // Listening but never accepting: connections complete, answers never come.
    sf::TcpListener silent;
    ASSERT_EQ(silent.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost), sf::Socket::Done);
    const TempFolder playerData;
    const OfflineFinish run =
        finishWithout("127.0.0.1:" + std::to_string(silent.getLocalPort()), playerData);
    EXPECT_TRUE(run.quit);
    EXPECT_FALSE(run.rowsSeen);
    EXPECT_TRUE(run.savedNoteShown);
    EXPECT_GT(run.bestAfter, 0.3f);
    EXPECT_EQ(run.waitingAfter, 2u);
    ASSERT_EQ(run.log.firstShown.size(), 3u);
    for (const double seconds : {run.log.submitSeconds(), run.log.fetchSeconds()}) {
        EXPECT_GT(seconds, HighscoreClient::kDefaultTimeoutSeconds - slackSeconds);
        EXPECT_LT(seconds, HighscoreClient::kDefaultTimeoutSeconds + slackSeconds);
    }
}

TEST(PostFinishScene, ATimeThatWaitedReachesTheServerAfterTheNextFinish) {
    REQUIRE_DISPLAY();
    const TempFolder playerData;
    const std::string address = refusingAddress();
    ASSERT_EQ(finishWithout(address, playerData).waitingAfter, 2u);

    // The server comes up where the game looks for it, late.
    TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    ASSERT_TRUE(server.start({"--listen", address})) << server.log();
    const OfflineFinish next = finishWithout(address, playerData);
    EXPECT_TRUE(next.rowsSeen);
    EXPECT_FALSE(next.savedNoteShown);
    EXPECT_EQ(next.waitingAfter, 0u);
    // The waiting time first, then the new one; the corridor's runs are no
    // runs of the level the server has under this id, so they are refused
    // and dropped.
    const std::string log = server.log();
    const std::regex submitted("sbmt\\.php 200 [^\n]*name=\"racer\"");
    EXPECT_EQ(std::distance(std::sregex_iterator(log.begin(), log.end(), submitted),
                            std::sregex_iterator()),
              2)
        << log;
    HighscoreTable table;
    HighscoreClient(server.address()).fetchTable(raceMode, playedLevelId, table);
    ASSERT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(table.field(0, 2), playerName);
}
