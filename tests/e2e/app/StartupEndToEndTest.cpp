#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "GameProcess.hpp"
#include "ScriptedGame.hpp"
#include "TempFolder.hpp"
#include "X11Window.hpp"

namespace {

const std::string header = "This file is generated automatically.\nPlease do not edit.\n";

std::map<std::string, std::string> playerEnvironment(const TempFolder& home,
                                                     const std::string& dataFolder = "") {
    return {{"HOME", home.path().string()},
            {"APPDATA", ""},
            {"USERPROFILE", ""},
            {"ROLLAVORTEX_DATA", dataFolder},
            {"SDL_AUDIODRIVER", "dummy"}};
}

// True once the game shows a screen on the sky-blue menu backdrop.
bool waitForMenu(unsigned long window, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (X11Window::colourShare(window, 110, 144, 205) > 0.05) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

void expectScreenSettingsInKeyOrder(const std::string& file) {
    ASSERT_EQ(file.rfind(header, 0), 0u) << file;
    const std::vector<std::string> all = lines(file);
    const std::vector<std::string> entries(all.begin() + 2, all.end());
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end())) << file;
    for (const char* wanted : {"fullscreen\t1", "screendepth\t32", "screenheight\t768",
                               "screenwidth\t1024", "version\t1.0"}) {
        EXPECT_NE(std::find(entries.begin(), entries.end(), wanted), entries.end())
            << wanted << " missing in\n"
            << file;
    }
}

}  // namespace

class StartupEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!haveDisplay()) {
            GTEST_SKIP() << "no display";
        }
    }
    TempFolder home;
};

TEST_F(StartupEndToEnd, FirstStartSkipsIntroReachesMenuAndWritesSettingsOnClose) {
    GameProcess game(std::filesystem::current_path().string(), playerEnvironment(home));
    const unsigned long window = X11Window::find("Rollavortex 1.0", 20.0);
    ASSERT_NE(window, 0u) << "the game window never appeared";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(X11Window::tap("Return"));
    ASSERT_TRUE(waitForMenu(window, 15.0)) << "no menu after the intro";
    ASSERT_TRUE(X11Window::requestClose(window));
    ASSERT_EQ(game.waitForExit(20.0), 0);
    expectScreenSettingsInKeyOrder(slurpFile(home.file(".Rollavortex")));
}

TEST_F(StartupEndToEnd, KilledRunLeavesThePreviousFileWholeAndWindowedModeIsHonoured) {
    const std::string previous = header +
                                 "fullscreen\t0\nnameentered\t1\nscreendepth\t32\n"
                                 "screenheight\t600\nscreenwidth\t800\nusername\tKept Name\n";
    writeFileBytes(home.file(".Rollavortex"), previous);
    GameProcess game(std::filesystem::current_path().string(), playerEnvironment(home));
    const unsigned long window = X11Window::find("Rollavortex 1.0", 20.0);
    ASSERT_NE(window, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    const auto [width, height] = X11Window::size(window);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    game.kill(SIGKILL);
    EXPECT_FALSE(game.running());
    EXPECT_EQ(slurpFile(home.file(".Rollavortex")), previous);
    EXPECT_FALSE(std::filesystem::exists(home.file(".Rollavortex.tmp")));
}

TEST_F(StartupEndToEnd, WithoutItsDataTheGameNamesWhatIsMissingYetReachesTheMenuAndEndsCleanly) {
    TempFolder empty;
    const std::string errors = home.file("errors.txt");
    // An empty data folder, then one that is not there at all.
    for (const std::string& data : {empty.path().string(), empty.file("gone")}) {
        SCOPED_TRACE(data);
        GameProcess game(empty.path().string(), playerEnvironment(home, data), errors);
        const unsigned long window = X11Window::find("Rollavortex 1.0", 20.0);
        ASSERT_NE(window, 0u);
        ASSERT_TRUE(waitForMenu(window, 15.0));
        ASSERT_TRUE(X11Window::requestClose(window));
        ASSERT_EQ(game.waitForExit(20.0), 0);
        expectScreenSettingsInKeyOrder(slurpFile(home.file(".Rollavortex")));
        const std::string said = slurpFile(errors);
        for (const char* file : {"font/VeraBd.ttf", "images/rvlogo.png", "music/intro.ogg"}) {
            EXPECT_NE(
                said.find("rollavortex: missing file " + data + "/" + file +
                          " (looked in the data folder " + data + ", set by ROLLAVORTEX_DATA)"),
                std::string::npos)
                << file << " not named in\n"
                << said;
        }
        const bool folderNamed = said.find("no data folder at " + data + " ") != std::string::npos;
        EXPECT_EQ(folderNamed, data != empty.path().string()) << said;
    }
}
