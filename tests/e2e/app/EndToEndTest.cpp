// The real binary as a player meets it: real key presses on a real window in a
// virtual display of the test program's own (ctest starts it under xvfb-run),
// the name checked with the real highscore server on loopback, the settings
// file written when the game ends, and kept whole when the game is killed. Screens are told apart
// by what the window shows, so every wait lasts only as long as the game needs. What the screens do
// with the keys is the scene tests' business.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <tuple>

#include "GameProcess.hpp"
#include "Pixels.hpp"
#include "ScriptedGame.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "X11Window.hpp"
#include "app/files/Settings.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Every screen change waits this long at most: a loaded two-core machine
// draws slowly, and the game's fades run on measured frame time.
constexpr double screenSeconds = 30.0;

const std::string header = "This file is generated automatically.\nPlease do not edit.\n";

const sf::FloatRect greetingArea{300, 100, 680, 32};
const sf::FloatRect leftMascotArea{75, 75, 120, 120};
const sf::FloatRect rightMascotArea{1085, 75, 120, 120};
// The pause panel's top margin, above "Continue".
const sf::FloatRect pausePanelStrip{350, 270, 580, 24};

bool isWarm(sf::Color c) {  // tiles, crates and the ball: nothing of the sky
    return c.r > c.b + 40;
}
bool isDark(sf::Color c) {  // black fades and the pause panel
    return std::max({c.r, c.g, c.b}) < 120;
}

// Share (0 to 1) of the pixels of a logical rectangle that pass.
double share(const sf::Image& picture, const sf::FloatRect& area, bool (*test)(sf::Color)) {
    const double pixels = area.width * area.height * picture.getSize().x / wholeScreen.width *
                          picture.getSize().y / wholeScreen.height;
    return pixels > 0.0 ? countPixels(picture, area, test) / pixels : 0.0;
}

bool greetingShown(const sf::Image& p) {
    return share(p, greetingArea, isGreenish) > 0.05 && share(p, wholeScreen, isSky) > 0.2;
}
bool mainMenuShown(const sf::Image& p) {
    return share(p, leftMascotArea, isReddish) > 0.2 &&
           share(p, rightMascotArea, isReddish) > 0.2 && share(p, wholeScreen, isSky) > 0.1;
}
// The sky at full brightness with neither mascots nor a level in front of it.
bool levelSelectionShown(const sf::Image& p) {
    return share(p, wholeScreen, isSky) > 0.2 && share(p, leftMascotArea, isReddish) < 0.01 &&
           share(p, greetingArea, isGreenish) < 0.01 && share(p, wholeScreen, isWarm) < 0.04;
}
bool levelShown(const sf::Image& p) {
    return share(p, wholeScreen, isSky) > 0.05 && share(p, wholeScreen, isWarm) > 0.06;
}
bool pauseMenuShown(const sf::Image& p) {
    return share(p, pausePanelStrip, isDark) > 0.95;
}

}  // namespace

class EndToEnd : public ::testing::Test {
  protected:
    void SetUp() override { REQUIRE_DISPLAY(); }

    // Starts the game in `folder` as a player with its own home, waits for its
    // window to show and gives it the keyboard. `data` names the data folder (empty: the game finds
    // its own), `program` another game binary than this build's (an installed one).
    void start(const std::string& folder, const std::string& data = "",
               const std::string& program = "", const std::vector<std::string>& arguments = {}) {
        game = std::make_unique<GameProcess>(
            folder,
            std::map<std::string, std::string>{{"HOME", home.path().string()},
                                               {"APPDATA", ""},
                                               {"USERPROFILE", ""},
                                               {"ROLLAVORTEX_DATA", data},
                                               {"SDL_AUDIODRIVER", "dummy"}},
            errorsFile(), program, arguments);
        window = X11Window::find("Rollavortex 1.0", screenSeconds);
        ASSERT_NE(window, 0u) << "the game window never appeared";
        ASSERT_TRUE(waitFor([](const sf::Image&) { return true; })) << "the window never showed";
        ASSERT_TRUE(X11Window::focus(window));
    }

    // Polls the window's picture until `shown` holds; a failure tells what
    // the last picture showed.
    testing::AssertionResult waitFor(const std::function<bool(const sf::Image&)>& shown) {
        const auto deadline = Clock::now() + std::chrono::duration<double>(screenSeconds);
        while (Clock::now() < deadline) {
            last = X11Window::capture(window);
            if (last.getSize().x > 0 && shown(last)) {
                return testing::AssertionSuccess();
            }
            std::this_thread::sleep_for(40ms);
        }
        return testing::AssertionFailure() << "sky " << share(last, wholeScreen, isSky) << ", warm "
                                           << share(last, wholeScreen, isWarm);
    }

    // Types each step's keys, then waits for the screen they lead to.
    using Step = std::tuple<const char*, bool (*)(const sf::Image&), const char*>;
    void walk(std::initializer_list<Step> steps) {
        for (const auto& [keys, shown, screen] : steps) {
            X11Window::keys(keys);
            ASSERT_TRUE(waitFor(shown)) << "no " << screen << " after " << keys;
        }
    }

    std::string settingsFile() const { return slurpFile(home.file(".Rollavortex")); }
    std::string errorsFile() const { return home.file("errors.txt"); }

    TempFolder home;
    std::unique_ptr<GameProcess> game;
    unsigned long window = 0;
    sf::Image last;
};

TEST_F(EndToEnd, AFirstStartByRealKeysNamesThePlayerVisitsALevelAndSavesAtExit) {
    TempFolder serverFolder;
    ServerProcess server(serverFolder.file("scores.db"), serverFolder.file("server.log"));
    ASSERT_TRUE(server.start()) << server.log();
    // Only where the server is and a small window: without "nameentered" this
    // is still a first start.
    writeFileBytes(home.file(".Rollavortex"),
                   header + "fullscreen\t0\nhighscoreserver\t" + server.address() +
                       "\nscreendepth\t32\nscreenheight\t512\nscreenwidth\t640\n");
    start(std::filesystem::current_path().string());

    // The intro ends when Return is let go; the name entry greets. Then
    // "Race", "Play single level"; Escape in the level and the pause menu's
    // "Exit" lead back to the main menu, whose "Exit" ends the game.
    ASSERT_NO_FATAL_FAILURE(
        walk({{"Return", greetingShown, "first-start greeting"},
              {"shift+t e s t e r space 4 2 Return", mainMenuShown, "main menu"},
              {"Return", levelSelectionShown, "level selection"},
              {"Down Return", levelShown, "level"},
              {"Escape", pauseMenuShown, "pause menu"},
              {"Down Down Down Return", mainMenuShown, "main menu"}}));
    EXPECT_NE(server.log().find("name=\"Tester 42\" free"), std::string::npos) << server.log();
    X11Window::keys("Escape Return");
    ASSERT_EQ(game->waitForExit(screenSeconds), 0) << "the game did not end cleanly";

    // Written as the settings always are (their unit test checks the order).
    const std::string file = settingsFile();
    EXPECT_EQ(file.rfind(header, 0), 0u) << file;
    Settings saved;
    saved.parse(file);
    EXPECT_EQ(saved.getString("username"), "Tester 42") << file;
    EXPECT_EQ(saved.getInt("submitscores", -1), 1) << file;
    EXPECT_EQ(saved.getInt("nameentered", -1), 1) << file;
    EXPECT_EQ(saved.getInt("startlevel_1", -1), 0) << file;
    // The race was left unfinished: no best, nothing sent.
    EXPECT_FALSE(saved.contains("_ 1 250")) << file;
    EXPECT_EQ(server.log().find("sbmt.php"), std::string::npos) << server.log();
}

// A run named on the command line shows at once, without the intro; Escape
// leads to the Replays list and on to the main menu. A command line the game
// does not understand ends it before any window, with its usage.
TEST_F(EndToEnd, ARunGivenOnTheCommandLineShowsAtOnceThenTheMenusFollow) {
    writeFileBytes(home.file(".Rollavortex"),
                   "fullscreen\t0\nnameentered\t1\nscreenheight\t512\nscreenwidth\t640\n");
    const std::string root = std::filesystem::current_path().string();
    start(root, "", "", {"--replay", "levels/runs/TheLabyrinth.run"});
    ASSERT_TRUE(waitFor(levelShown)) << "no replay";
    ASSERT_NO_FATAL_FAILURE(walk(
        {{"Escape", levelSelectionShown, "Replays list"}, {"Escape", mainMenuShown, "main menu"}}));
    X11Window::keys("Escape Return");
    ASSERT_EQ(game->waitForExit(screenSeconds), 0) << "the game did not end cleanly";
    EXPECT_EQ(slurpFile(errorsFile()).find("cannot replay"), std::string::npos)
        << slurpFile(errorsFile());

    GameProcess refused(root, {{"HOME", home.path().string()}}, errorsFile(), "", {"--bogus"});
    EXPECT_EQ(refused.waitForExit(screenSeconds), 2);
    EXPECT_EQ(slurpFile(errorsFile()).rfind("rollavortex: unknown argument: --bogus\nusage: ", 0),
              0u)
        << slurpFile(errorsFile());
}

// No data files, no settings file: the game still reaches its menu, ends
// when its window is closed, and writes the screen settings it used.
TEST_F(EndToEnd, WithoutItsDataTheGameNamesWhatIsMissingYetReachesTheMenuAndEndsCleanly) {
    TempFolder empty;
    // An empty data folder, then one that is not there at all.
    for (const std::string& data : {empty.path().string(), empty.file("gone")}) {
        SCOPED_TRACE(data);
        start(empty.path().string(), data);
        ASSERT_TRUE(
            waitFor([](const sf::Image& p) { return share(p, wholeScreen, isSky) > 0.05; }));
        ASSERT_TRUE(X11Window::requestClose(window));
        ASSERT_EQ(game->waitForExit(screenSeconds), 0);
        const std::string file = settingsFile();
        EXPECT_EQ(file.rfind(header, 0), 0u) << file;
        for (const char* wanted :
             {"fullscreen\t1\n", "screenheight\t768\n", "screenwidth\t1024\n"}) {
            EXPECT_NE(file.find(wanted), std::string::npos) << wanted << " missing in\n" << file;
        }
        const std::string said = slurpFile(errorsFile());
        for (const char* missing : {"font/VeraBd.ttf", "images/rvlogo.png", "music/intro.ogg"}) {
            EXPECT_NE(
                said.find("rollavortex: missing file " + data + "/" + missing +
                          " (looked in the data folder " + data + ", set by ROLLAVORTEX_DATA)"),
                std::string::npos)
                << missing << " not named in\n"
                << said;
        }
        const bool folderNamed = said.find("no data folder at " + data + " ") != std::string::npos;
        EXPECT_EQ(folderNamed, data != empty.path().string()) << said;
    }
}

// The game as `cmake --install` lays it out (the ctest fixture
// install_into_prefix installs this build into INSTALLED_PREFIX), started from
// a folder far from the source tree: it finds its files beside itself, opens
// its window as stored, and killed, leaves the previous settings file whole.
TEST_F(EndToEnd, InstalledAndStartedFromElsewhereItShowsTheMenuAndAKillLeavesTheSettings) {
    const std::string program = std::string(INSTALLED_PREFIX) + "/bin/rollavortex";
    ASSERT_TRUE(std::filesystem::exists(program)) << program << ": run through ctest, whose "
                                                  << "install_into_prefix test installs it";
    const std::string previous = header +
                                 "fullscreen\t0\nnameentered\t1\nscreendepth\t32\n"
                                 "screenheight\t600\nscreenwidth\t800\nusername\tKept Name\n";
    writeFileBytes(home.file(".Rollavortex"), previous);
    TempFolder elsewhere;
    start(elsewhere.path().string(), "", program);
    ASSERT_NO_FATAL_FAILURE(walk({{"Return", mainMenuShown, "main menu"}}));
    EXPECT_EQ(last.getSize(), sf::Vector2u(800, 600));
    game->kill(SIGKILL);
    EXPECT_FALSE(game->running());
    EXPECT_EQ(settingsFile(), previous);
    EXPECT_FALSE(std::filesystem::exists(home.file(".Rollavortex.tmp")));
    const std::string said = slurpFile(errorsFile());
    EXPECT_EQ(said.find("missing file"), std::string::npos) << said;
    EXPECT_EQ(said.find("no data folder"), std::string::npos) << said;
}
