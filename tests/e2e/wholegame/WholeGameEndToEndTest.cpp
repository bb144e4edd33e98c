#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <sstream>
#include <thread>

#include "GameProcess.hpp"
#include "PrivateDisplay.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "WindowPicture.hpp"
#include "X11Window.hpp"
#include "app/Settings.hpp"

// The real binary as a player meets it on a first start: real key presses on
// a real window, the name checked with the real highscore server on loopback,
// a level of "Race" started, turned and paused, left through the pause menu,
// and the game ended from the main menu. Screens are told apart by what the
// window shows, so every wait lasts only as long as the game needs.

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Every screen change waits this long at most: a loaded two-core machine
// draws slowly, and the game's fades run on measured frame time.
constexpr double screenSeconds = 30.0;

const std::string header = "This file is generated automatically.\nPlease do not edit.\n";
const std::string playerName = "Tester 42";

// Logical rectangles of the game's 1280 x 1024 screen.
const sf::FloatRect greetingArea{300, 100, 680, 32};
const sf::FloatRect leftMascotArea{75, 75, 120, 120};
const sf::FloatRect rightMascotArea{1085, 75, 120, 120};
const sf::FloatRect clockArea{170, 950, 260, 60};
// The pause panel's top margin, above "Continue".
const sf::FloatRect pausePanelStrip{350, 270, 580, 24};
// The level above the head-up display.
const sf::FloatRect levelArea{0, 0, 1280, 930};

std::string describe(const WindowPicture& picture) {
    std::ostringstream text;
    text << "brightness " << picture.brightness() << ", sky " << picture.share(isSky) << ", warm "
         << picture.share(isWarm) << ", greeting " << picture.share(isBrightGreen, greetingArea)
         << ", mascots " << picture.share(isMascotRed, leftMascotArea) << "/"
         << picture.share(isMascotRed, rightMascotArea) << ", pause strip "
         << picture.share(isDark, pausePanelStrip) << ", tilt " << picture.tilt(levelArea).degrees;
    return text.str();
}

bool mascotsShown(const WindowPicture& picture) {
    return picture.share(isMascotRed, leftMascotArea) > 0.2 &&
           picture.share(isMascotRed, rightMascotArea) > 0.2 && picture.share(isSky) > 0.1;
}

// The sky at full brightness with neither mascots nor a level in front of it.
bool levelSelectionShown(const WindowPicture& picture) {
    return picture.share(isSky) > 0.2 && picture.share(isMascotRed, leftMascotArea) < 0.01 &&
           picture.share(isMascotRed, rightMascotArea) < 0.01 &&
           picture.share(isBrightGreen, greetingArea) < 0.01 && picture.share(isWarm) < 0.04;
}

// A level, faded in: tiles in front of the full sky.
bool levelShown(const WindowPicture& picture) {
    return picture.share(isSky) > 0.05 && picture.share(isWarm) > 0.06;
}

bool pauseMenuShown(const WindowPicture& picture) {
    return picture.share(isDark, pausePanelStrip) > 0.95;
}

std::map<std::string, std::string> playerEnvironment(const TempFolder& home) {
    return {{"HOME", home.path().string()},
            {"APPDATA", ""},
            {"USERPROFILE", ""},
            {"SDL_AUDIODRIVER", "dummy"}};
}

void tapKeys(const std::vector<std::string>& keys) {
    for (const std::string& key : keys) {
        X11Window::tap(key);
        std::this_thread::sleep_for(100ms);
    }
}

void typeName() {
    X11Window::key("Shift_L", true);
    X11Window::tap("t");
    X11Window::key("Shift_L", false);
    tapKeys({"e", "s", "t", "e", "r", "space", "4", "2"});
}

}  // namespace

class WholeGameEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!PrivateDisplay::available()) {
            GTEST_SKIP() << "no Xvfb to run the game in";
        }
        display = std::make_unique<PrivateDisplay>();
        ASSERT_TRUE(display->ready()) << "Xvfb did not start";
        ASSERT_TRUE(server.start()) << server.log();
    }

    // Polls the window's picture until `shown` holds; the last picture is kept
    // for the failure message.
    bool waitFor(const std::function<bool(const WindowPicture&)>& shown) {
        const auto deadline = Clock::now() + std::chrono::duration<double>(screenSeconds);
        while (Clock::now() < deadline) {
            last = WindowPicture::grab(window);
            if (!last.empty() && shown(last)) {
                return true;
            }
            std::this_thread::sleep_for(40ms);
        }
        return false;
    }

    // The race clock starts with the horn: its digits change from one picture
    // to the next, where before they stood at zero.
    bool waitForRunningClock() {
        const auto deadline = Clock::now() + std::chrono::duration<double>(screenSeconds);
        WindowPicture before = WindowPicture::grab(window);
        while (Clock::now() < deadline) {
            std::this_thread::sleep_for(250ms);
            last = WindowPicture::grab(window);
            if (last.changedShare(before, clockArea, 100) > 0.02) {
                return true;
            }
            before = last;
        }
        return false;
    }

    // Holds Shift and Right (the slow turn) until the tiles stand visibly
    // askew, then lets go. The angle is read from the picture, not from
    // timing, so a slow machine turns just as far.
    bool turnTheWorld() {
        X11Window::key("Shift_L", true);
        X11Window::key("Right", true);
        const auto deadline = Clock::now() + std::chrono::duration<double>(screenSeconds);
        bool turned = false;
        while (!turned && Clock::now() < deadline) {
            last = WindowPicture::grab(window);
            turned = !last.empty() && askew(last.tilt(levelArea));
        }
        X11Window::key("Right", false);
        X11Window::key("Shift_L", false);
        return turned;
    }

    static bool upright(WindowPicture::Tilt tilt) {
        return tilt.certainty > 0.3 && std::abs(tilt.degrees) < 2.0;
    }
    static bool askew(WindowPicture::Tilt tilt) {
        return tilt.certainty > 0.2 && std::abs(tilt.degrees) > 15.0;
    }

    std::unique_ptr<PrivateDisplay> display;
    TempFolder home;
    TempFolder serverFolder;
    ServerProcess server{serverFolder.file("scores.db"), serverFolder.file("server.log")};
    unsigned long window = 0;
    WindowPicture last;
};

TEST_F(WholeGameEndToEnd, FirstStartNameRaceLevelTurnedPausedLeftAndExit) {
    // Only where the server is and a small window: without "nameentered" this
    // is still a first start.
    writeFileBytes(home.file(".Rollavortex"),
                   header + "fullscreen\t0\nhighscoreserver\t" + server.address() +
                       "\nscreendepth\t32\nscreenheight\t512\nscreenwidth\t640\n");
    GameProcess game(std::filesystem::current_path().string(), playerEnvironment(home));
    window = X11Window::find("Rollavortex 1.0", screenSeconds);
    ASSERT_NE(window, 0u) << "the game window never appeared";
    ASSERT_TRUE(waitFor([](const WindowPicture&) { return true; })) << "the window never showed";
    ASSERT_TRUE(PrivateDisplay::focus(window));

    // The intro ends when Return is let go; the name entry greets.
    X11Window::tap("Return");
    ASSERT_TRUE(waitFor([](const WindowPicture& picture) {
        return picture.share(isBrightGreen, greetingArea) > 0.05 && picture.share(isSky) > 0.2;
    })) << "no first-start greeting: "
        << describe(last);

    typeName();
    X11Window::tap("Return");
    ASSERT_TRUE(waitFor(mascotsShown)) << "no main menu after the name entry: " << describe(last);
    EXPECT_NE(server.log().find("chk.php 200"), std::string::npos) << server.log();
    EXPECT_NE(server.log().find("name=\"" + playerName + "\" free"), std::string::npos)
        << server.log();

    // "Race" is the first item; in the level selection "Play single level".
    X11Window::tap("Return");
    ASSERT_TRUE(waitFor(levelSelectionShown)) << "no level selection: " << describe(last);
    tapKeys({"Down", "Return"});
    ASSERT_TRUE(waitFor(levelShown)) << "no level: " << describe(last);
    ASSERT_TRUE(waitForRunningClock()) << "the race never started: " << describe(last);

    const WindowPicture::Tilt start = WindowPicture::grab(window).tilt(levelArea);
    EXPECT_TRUE(upright(start)) << "the level starts turned by " << start.degrees << " degrees";
    EXPECT_TRUE(turnTheWorld()) << "held Right turned nothing: " << describe(last);

    X11Window::tap("Escape");
    ASSERT_TRUE(waitFor(pauseMenuShown)) << "no pause menu: " << describe(last);
    // "Continue", "Restart", "Next Level", "Exit".
    tapKeys({"Down", "Down", "Down", "Return"});
    ASSERT_TRUE(waitFor(mascotsShown)) << "not back in the main menu: " << describe(last);

    // Escape points at "Exit", Return takes it.
    tapKeys({"Escape", "Return"});
    ASSERT_EQ(game.waitForExit(screenSeconds), 0) << "the game did not end cleanly";

    const std::string file = slurpFile(home.file(".Rollavortex"));
    ASSERT_EQ(file.rfind(header, 0), 0u) << file;
    Settings saved;
    saved.parse(file);
    EXPECT_EQ(saved.getString("username"), playerName) << file;
    EXPECT_EQ(saved.getInt("submitscores", -1), 1) << file;
    EXPECT_EQ(saved.getInt("nameentered", -1), 1) << file;
    EXPECT_EQ(saved.getInt("startlevel_1", -1), 0) << file;
    EXPECT_EQ(saved.getString("highscoreserver"), server.address()) << file;
    // The race was left unfinished: no best, nothing sent.
    EXPECT_FALSE(saved.contains("_ 1 250")) << file;
    EXPECT_EQ(server.log().find("sbmt.php"), std::string::npos) << server.log();
}
