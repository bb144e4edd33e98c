#include <gtest/gtest.h>

#include <filesystem>

#include "Pixels.hpp"
#include "ScriptedGame.hpp"
#include "menu/IntroScreen.hpp"
#include "sim/base/DataFolder.hpp"

namespace {

// A data folder with the logo, the font and a jingle of the given length, so
// the intro's timing does not depend on the shipped music.
struct JingleFolder {
    explicit JingleFolder(double seconds) {
        for (const char* file : {"images/3DLogo512Final.png", "font/VeraBd.ttf"}) {
            std::filesystem::create_directories((temp.path() / file).parent_path());
            std::filesystem::copy_file(dataPath(file), temp.path() / file);
        }
        std::filesystem::create_directories(temp.path() / "music");
        writeFileBytes(temp.file("music/vex.ogg"), makeToneWav(seconds));
    }
    TempFolder temp;
};

bool isLit(sf::Color c) {
    return c.r + c.g + c.b > 120;
}

}  // namespace

TEST(IntroScene, TheJingleKeysOrAClosedWindowEndItAndTheLogoFadesInFromBlack) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    {
        JingleFolder data(0.4);
        ScopedDataFolder dataFolder(data.temp.path());
        IntroScreen intro(game.window());
        intro.run();
        // The jingle plays in real time while script frames fly by, so only its
        // end can be checked, not the frame it falls in.
        EXPECT_TRUE(intro.isFinished());
        EXPECT_GT(game.window().frameNumber(), 1u);
    }
    {
        TempFolder empty;
        ScopedDataFolder dataFolder(empty.path());
        const std::uint64_t before = game.window().frameNumber();
        IntroScreen silent(game.window());
        silent.run();
        EXPECT_EQ(game.window().frameNumber(), before + 1) << "without a jingle it ends at once";
    }

    JingleFolder data(30.0);
    ScopedDataFolder dataFolder(data.temp.path());
    const std::uint64_t opened = game.window().frameNumber();
    IntroScreen intro(game.window());
    std::map<std::uint64_t, int> litLogo;  // by frames since the intro opened
    sf::Image last;
    bool fading = true;
    game.everyFrame([&](GameWindow& window) {
        if (fading) {
            last = window.capture();
            litLogo[window.frameNumber() - opened] = countPixels(last, {384, 256, 512, 512}, isLit);
        }
    });
    game.keyAt(opened + 240, sf::Keyboard::Escape);
    intro.run();
    fading = false;
    // The black cover thins over 5 s: a sixth of a second in the logo is still
    // dark, after two and after four seconds ever more of it shows.
    EXPECT_LT(litLogo.at(10), litLogo.at(120) / 4);
    EXPECT_LT(litLogo.at(120), litLogo.at(239));
    EXPECT_GT(countPixels(last, {100, 850, 1080, 56}, isWhitish), 200)
        << "the loading label in the last frame";

    // Return ends it only once let go.
    const std::uint64_t start = game.window().frameNumber();
    IntroScreen skipped(game.window());
    game.window().queueEventAt(start + 2, GameWindow::keyEvent(sf::Keyboard::Return, true));
    game.window().queueEventAt(start + 20, GameWindow::keyEvent(sf::Keyboard::Return, false));
    skipped.run();
    EXPECT_TRUE(skipped.isFinished());
    EXPECT_TRUE(game.window().isOpen());
    EXPECT_EQ(game.window().frameNumber(), start + 21);

    IntroScreen closed(game.window());
    game.closeAt(start + 24);
    closed.run();
    EXPECT_FALSE(game.window().isOpen());
}
