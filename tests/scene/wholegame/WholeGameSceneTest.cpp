// The whole game through its real screens, in the game window's script mode,
// against the real highscore server on loopback: a first start with a name,
// "Race", "Play single level" on the first level, the level played by its
// recorded run, the finish, the submission, the table with the player's own
// row, back to the main menu and "Exit".

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "GameEntry.hpp"
#include "ScriptedGame.hpp"
#include "ServerProcess.hpp"
#include "game/LevelSimulation.hpp"
#include "game/PersonalBest.hpp"
#include "game/RecordedRun.hpp"
#include "level/LevelCatalogue.hpp"
#include "level/TileImages.hpp"
#include "online/HighscoreClient.hpp"
#include "online/ScoreText.hpp"

using Key = sf::Keyboard;

namespace {

const std::string playerName = "Replay Pilot";
// Frames a screen is given after it first shows before keys go to it: its
// fade-in takes keys after 0.2 s.
constexpr std::uint64_t settleFrames = 30;
// The finish flash lasts 1 s; the banner waits for it before it takes Space.
constexpr std::uint64_t flashFrames = 90;
// Frames after the recorded finish by which the table must have come.
constexpr std::uint64_t giveUpFrames = 600;

// Players who finished the level before: one faster, two slower, so the
// player's own row is the second of the table.
struct Rival {
    const char* name;
    float seconds;
};
const Rival rivals[] = {{"Speedy", 12.5f}, {"Slowpoke", 40.0f}, {"Dawdler", 55.25f}};

// Row i of the table after a finish, in logical units.
sf::FloatRect tableRow(unsigned i) {
    return {100.0f, 100.0f + 42.0f * static_cast<float>(i), 1000.0f, 34.0f};
}

int countPixels(const sf::Image& image, const sf::FloatRect& logical, bool (*test)(sf::Color)) {
    const sf::Vector2u size = image.getSize();
    const float sx = static_cast<float>(size.x) / 1280.0f;
    const float sy = static_cast<float>(size.y) / 1024.0f;
    int count = 0;
    for (auto y = static_cast<unsigned>(logical.top * sy);
         y < std::min(size.y, static_cast<unsigned>((logical.top + logical.height) * sy)); ++y) {
        for (auto x = static_cast<unsigned>(logical.left * sx);
             x < std::min(size.x, static_cast<unsigned>((logical.left + logical.width) * sx));
             ++x) {
            count += test(image.getPixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool isOwnRowGreen(sf::Color c) {
    return c.g > 200 && c.r < 80 && c.b < 80;
}
bool isRowWhite(sf::Color c) {
    return c.r > 220 && c.g > 220 && c.b > 220;
}
bool isSky(sf::Color c) {
    return std::abs(c.r - 110) <= 3 && std::abs(c.g - 144) <= 3 && std::abs(c.b - 205) <= 3;
}
bool isFlashWhite(sf::Color c) {
    return c.r == 255 && c.g == 255 && c.b == 255;
}

const sf::FloatRect wholeScreen{0.0f, 0.0f, 1280.0f, 1024.0f};

// The first level of "Race" and its recorded run.
struct FirstRaceLevel {
    FirstRaceLevel() {
        LevelCatalogue catalogue;
        catalogue.fill(raceMode);
        if (catalogue.size() == 0) {
            return;
        }
        file = catalogue.files[0];
        id = catalogue.levelIds[0];
        runFile = "levels/runs/" + std::filesystem::path(file).stem().string() + ".run";
    }
    std::string file;
    int id = 0;
    std::string runFile;
};

void queueKey(GameWindow& window, std::uint64_t frame, Key::Key key, bool shift = false) {
    window.queueEventAt(frame, GameWindow::keyEvent(key, true, shift));
    window.queueEventAt(frame + 2, GameWindow::keyEvent(key, false, shift));
}

// Types the name one key every 4 frames from `frame` on; the frame after.
std::uint64_t queueName(GameWindow& window, std::uint64_t frame, const std::string& name) {
    for (char c : name) {
        if (c == ' ') {
            queueKey(window, frame, Key::Space);
        } else {
            const bool capital = c >= 'A' && c <= 'Z';
            const char lower = capital ? static_cast<char>(c - 'A' + 'a') : c;
            queueKey(window, frame, static_cast<Key::Key>(Key::A + (lower - 'a')), capital);
        }
        frame += 4;
    }
    return frame;
}

// Plays the game as a player does, one screen after the other. Each screen is
// recognised by what it leaves behind the moment it starts (the menu music,
// settings the screen writes when it is built), so the keys go to it at a fixed
// number of frames after its first frame, and the recorded run's keys reach the
// play screen in exactly the frames they were recorded for.
class WholeGameDriver {
  public:
    enum class Phase { intro, nameEntry, mainMenu, levelSelection, play, table, backInMenu };

    WholeGameDriver(ScriptedGame& game, const RecordedRun& run, int finishFrame, int levelId)
        : game(game),
          run(run),
          finishFrame(finishFrame),
          bestKey(personalBestKey(raceMode, levelId)) {
        game.everyFrame([this](GameWindow& window) { onFrame(window); });
    }

    Phase phase = Phase::intro;
    // Window frame of the first frame of each screen.
    std::uint64_t nameEntryFrame = 0;
    std::uint64_t mainMenuFrame = 0;
    std::uint64_t levelSelectionFrame = 0;
    std::uint64_t playFrame = 0;
    std::uint64_t submissionFrame = 0;
    std::uint64_t backInMenuFrame = 0;
    // Pictures of the frame the run finishes in, of the next one, and of the
    // table.
    sf::Image beforeFinish;
    sf::Image afterFinish;
    sf::Image tablePicture;

    static const char* phaseName(Phase phase) {
        static const char* const names[] = {
            "intro", "name entry",           "main menu", "level selection", "play",
            "table", "back in the main menu"};
        return names[static_cast<int>(phase)];
    }

    std::uint64_t finishWindowFrame() const {
        return playFrame + static_cast<std::uint64_t>(finishFrame);
    }

  private:
    void onFrame(GameWindow& window);
    void startRun(GameWindow& window);

    ScriptedGame& game;
    const RecordedRun& run;
    int finishFrame;
    std::string bestKey;
};

void WholeGameDriver::onFrame(GameWindow& window) {
    const std::uint64_t frame = window.frameNumber();
    Settings& store = game.settings();
    switch (phase) {
        case Phase::intro:
            // The main menu starts its music when it is built, right before
            // the name entry of a first start.
            if (menuMusic().isPlaying()) {
                phase = Phase::nameEntry;
                nameEntryFrame = frame;
                const std::uint64_t typed = queueName(window, frame + settleFrames, playerName);
                queueKey(window, typed + 4, Key::Return);
            }
            break;
        case Phase::nameEntry:
            if (store.contains("nameentered")) {
                phase = Phase::mainMenu;
                mainMenuFrame = frame;
                queueKey(window, frame + settleFrames, Key::Return);  // "Race"
            }
            break;
        case Phase::mainMenu:
            if (store.contains("startlevel_1")) {
                phase = Phase::levelSelection;
                levelSelectionFrame = frame;
                queueKey(window, frame + settleFrames, Key::Down);
                queueKey(window, frame + settleFrames + 6, Key::Return);  // "Play single level"
            }
            break;
        case Phase::levelSelection:
            // The play screen writes its turn speeds when it is built; this
            // is the display of its first frame.
            if (store.contains("turnspeed")) {
                phase = Phase::play;
                playFrame = frame;
                startRun(window);
            }
            break;
        case Phase::play:
            if (frame + 1 == finishWindowFrame()) {
                beforeFinish = window.capture();
            } else if (frame == finishWindowFrame()) {
                afterFinish = window.capture();
                // Space once the flash is over: the banner goes, the end phase
                // fades to half darkness and the online step begins.
                queueKey(window, frame + flashFrames, Key::Space);
            }
            // A run that strayed from its path never finishes: the game is
            // closed once the table is long overdue.
            if (frame == finishWindowFrame() + giveUpFrames) {
                window.queueEvent(GameWindow::closedEvent());
            }
            // A new best is stored right before it is sent.
            if (store.contains(bestKey)) {
                phase = Phase::table;
                submissionFrame = frame;
            }
            break;
        case Phase::table:
            if (frame == submissionFrame + 10) {
                tablePicture = window.capture();
                queueKey(window, frame + 2, Key::Return);
            }
            // The level selection starts the menu music again as it ends.
            if (menuMusic().isPlaying()) {
                phase = Phase::backInMenu;
                backInMenuFrame = frame;
                // Escape points at "Exit", Return takes it.
                queueKey(window, frame + settleFrames, Key::Escape);
                queueKey(window, frame + settleFrames + 6, Key::Return);
            }
            break;
        case Phase::backInMenu:
            break;
    }
}

void WholeGameDriver::startRun(GameWindow& window) {
    // Frame 0 of the run is this frame, which has already read its events: a
    // run must begin with a frame without keys (the countdown has many).
    for (std::size_t k = 1; k < run.frames.size(); ++k) {
        for (const sf::Event& event : run.frames[k].events) {
            window.queueEventAt(playFrame + k, event);
        }
    }
}

}  // namespace

class WholeGameScene : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!haveDisplay()) {
            GTEST_SKIP() << "no display";
        }
        ASSERT_FALSE(level.file.empty()) << "no race level";
        std::string error;
        ASSERT_TRUE(readRunFile(level.runFile, run, error)) << level.runFile << ": " << error;
        ASSERT_EQ(run.levelFile, level.file);
        ASSERT_FALSE(run.frames.empty());
        ASSERT_TRUE(run.frames[0].events.empty()) << "the run presses keys in its first frame";
        // The window hands every frame the same time: the run must have been
        // played that way.
        for (const RecordedFrame& frame : run.frames) {
            ASSERT_EQ(frame.frameTime, run.frames[0].frameTime);
        }
        // Where the run finishes, played headless.
        TileImages noPictures;
        LevelSimulation simulation(noPictures, raceMode, TurnSpeeds());
        ASSERT_TRUE(simulation.loadLevel(level.file));
        expected = replayRun(simulation, run, true);
        ASSERT_GE(expected.finishFrame, 0) << "the run does not finish its level";

        ASSERT_TRUE(server.start()) << server.log();
        for (const Rival& rival : rivals) {
            client().submitScore(rival.name, raceMode, level.id, encodeTime(rival.seconds));
        }
    }

    HighscoreClient client() const { return HighscoreClient(server.address()); }

    HighscoreTable fetchTable() const {
        HighscoreTable table;
        client().fetchTable(raceMode, level.id, table);
        return table;
    }

    FirstRaceLevel level;
    RecordedRun run;
    ReplayResult expected;
    TempFolder serverFolder;
    ServerProcess server{serverFolder.file("scores.db"), serverFolder.file("server.log")};
};

TEST_F(WholeGameScene, FirstStartNameRaceRecordedRunFinishSubmissionTableAndExit) {
    // A first start: nothing in the settings but where the server is.
    ScriptedGame game("Rollavortex settings\n\nhighscoreserver\t" + server.address() + "\n",
                      run.frames[0].frameTime, 60 * 120);
    WholeGameDriver driver(game, run, expected.finishFrame, level.id);
    // Return let go in the intro skips it.
    game.keyAt(1, Key::Return);
    runGame(game.window());

    // Every screen came, in order, and "Exit" ended the game well before the
    // frame budget would have.
    ASSERT_EQ(driver.phase, WholeGameDriver::Phase::backInMenu)
        << "stopped in the " << WholeGameDriver::phaseName(driver.phase) << " at frame "
        << game.window().frameNumber() << " (name entry from " << driver.nameEntryFrame
        << ", main menu " << driver.mainMenuFrame << ", level selection "
        << driver.levelSelectionFrame << ", play " << driver.playFrame << ")";
    EXPECT_FALSE(game.window().isOpen());
    EXPECT_LT(game.window().frameNumber(), driver.backInMenuFrame + 120);

    // The ball followed the recorded path: sky behind the level in the frame
    // before the run finishes, the white flash of the finish in its frame.
    ASSERT_GT(driver.beforeFinish.getSize().x, 0u);
    ASSERT_GT(driver.afterFinish.getSize().x, 0u);
    EXPECT_GT(countPixels(driver.beforeFinish, wholeScreen, isSky), 1000);
    EXPECT_EQ(countPixels(driver.afterFinish, wholeScreen, isSky), 0);
    EXPECT_GT(countPixels(driver.afterFinish, wholeScreen, isFlashWhite), 10000);

    // The table shows the player's own row second and green, the others white.
    ASSERT_GT(driver.tablePicture.getSize().x, 0u);
    EXPECT_GT(countPixels(driver.tablePicture, tableRow(1), isOwnRowGreen), 200);
    for (unsigned row : {0u, 2u, 3u}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(countPixels(driver.tablePicture, tableRow(row), isOwnRowGreen), 0);
        EXPECT_GT(countPixels(driver.tablePicture, tableRow(row), isRowWhite), 200);
    }
    EXPECT_EQ(countPixels(driver.tablePicture, tableRow(4), isRowWhite), 0) << "only four records";

    // The personal best is the recorded time, to the millisecond.
    const std::string best = game.settings().getString(personalBestKey(raceMode, level.id));
    EXPECT_EQ(best, encodeTime(expected.raceClock));
    EXPECT_EQ(raceMilliseconds(decodeTime(best)), run.finishMilliseconds);
    EXPECT_EQ(game.settings().getString("username"), playerName);
    EXPECT_EQ(game.settings().getInt("nameentered", 0), 1);
    EXPECT_EQ(game.settings().getInt("submitscores", 0), 1);
    EXPECT_EQ(game.settings().getInt("startlevel_1", -1), 0);
    const std::string file = game.savedSettingsFile();
    EXPECT_NE(file.find(personalBestKey(raceMode, level.id) + "\t" + best + "\n"),
              std::string::npos)
        << file;

    // The server holds the time under the player's name, second of four, and
    // it was sent once.
    const HighscoreTable table = fetchTable();
    ASSERT_EQ(table.recordCount(), 4u) << server.log();
    EXPECT_EQ(table.field(0, 2), "Speedy");
    EXPECT_EQ(table.field(1, 2), playerName);
    EXPECT_EQ(raceMilliseconds(std::stof(table.field(1, 3))), run.finishMilliseconds);
    const std::string log = server.log();
    std::size_t submissions = 0;
    for (std::size_t at = log.find("sbmt.php"); at != std::string::npos;
         at = log.find("sbmt.php", at + 1)) {
        ++submissions;
    }
    EXPECT_EQ(submissions, std::size(rivals) + 1) << log;
}
