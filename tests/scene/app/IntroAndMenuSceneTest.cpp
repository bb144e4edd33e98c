#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptedGame.hpp"
#include "app/IntroScreen.hpp"
#include "app/MenuList.hpp"
#include "app/ScreenLook.hpp"
#include "app/SoundEffect.hpp"

#define REQUIRE_DISPLAY() \
    if (!haveDisplay())   \
    GTEST_SKIP() << "no display"

namespace {

// A data folder whose only file is a jingle of the given length, so
// the intro's timing does not depend on the shipped music.
struct JingleFolder {
    explicit JingleFolder(double seconds) {
        std::filesystem::create_directories(temp.path() / "music");
        writeFileBytes(temp.file("music/vex.ogg"), makeToneWav(seconds));
    }
    TempFolder temp;
};

}  // namespace

TEST(IntroScene, ReleasedReturnSkipsButAPressAloneDoesNot) {
    REQUIRE_DISPLAY();
    ScriptedGame game("", 1.0f / 60.0f, 2000);
    JingleFolder data(30.0);
    ScopedDataFolder dataFolder(data.temp.path());
    IntroScreen intro(game.window());
    game.window().queueEventAt(2, GameWindow::keyEvent(sf::Keyboard::Return, true));
    game.window().queueEventAt(20, GameWindow::keyEvent(sf::Keyboard::Return, false));
    intro.run();
    EXPECT_TRUE(intro.isFinished());
    EXPECT_TRUE(game.window().isOpen());
    // The release in frame 20 ends it in that frame, not the press in frame 2.
    EXPECT_EQ(game.window().frameNumber(), 21u);
    EXPECT_FLOAT_EQ(intro.fadeProgress(), IntroScreen::fadeDuration);
}

TEST(IntroScene, EndsWhenTheJingleEndsAndWithoutOneAtOnce) {
    REQUIRE_DISPLAY();
    ScriptedGame game("", 1.0f / 60.0f, 2000);
    {
        JingleFolder data(0.4);
        ScopedDataFolder dataFolder(data.temp.path());
        IntroScreen intro(game.window());
        intro.run();
        EXPECT_TRUE(intro.isFinished());
        // The jingle plays in real time while script frames fly by, so only its
        // end can be checked, not the frame it falls in.
        EXPECT_TRUE(game.window().isOpen());
        EXPECT_GT(game.window().frameNumber(), 1u);
    }
    TempFolder empty;
    ScopedDataFolder dataFolder(empty.path());
    const std::uint64_t before = game.window().frameNumber();
    IntroScreen silent(game.window());
    silent.run();
    EXPECT_EQ(game.window().frameNumber(), before + 1);
}

TEST(IntroScene, ClosingTheWindowEndsIt) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    JingleFolder data(30.0);
    ScopedDataFolder dataFolder(data.temp.path());
    IntroScreen intro(game.window());
    game.closeAt(3);
    intro.run();
    EXPECT_FALSE(game.window().isOpen());
}

TEST(IntroScene, LastFrameShowsTheLoadingLabel) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    sf::Image last;
    game.everyFrame([&](GameWindow& window) { last = window.capture(); });
    IntroScreen intro(game.window());
    game.keyAt(5, sf::Keyboard::Escape);
    intro.run();
    ASSERT_GT(last.getSize().x, 0u);
    // The label sits at y 850..906 of 1024 in white; the window is 640 x 512.
    int white = 0;
    for (unsigned y = 425; y < 455; ++y) {
        for (unsigned x = 100; x < 540; ++x) {
            const sf::Color c = last.getPixel(x, y);
            white += (c.r > 200 && c.g > 200 && c.b > 200) ? 1 : 0;
        }
    }
    EXPECT_GT(white, 200) << "the loading label should be drawn in the last frame";
}

TEST(MenuListScene, NavigationStopsAtBothEnds) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    sf::Font font;
    ASSERT_TRUE(ScreenLook::loadFont(font));
    MenuList menu;
    menu.setItems({"Race", "Puzzle", "Options", "Exit"}, {400, 500, 600, 800}, font, 56);
    SoundEffect click;
    EXPECT_FALSE(menu.moveUp(click));
    EXPECT_EQ(menu.selected, 0);
    EXPECT_TRUE(menu.moveDown(click));
    EXPECT_TRUE(menu.moveDown(click));
    EXPECT_TRUE(menu.moveDown(click));
    EXPECT_FALSE(menu.moveDown(click));
    EXPECT_EQ(menu.selected, 3);
    // Labels are centred on x = 640 with their tops where asked.
    for (std::size_t i = 0; i < menu.count(); ++i) {
        const sf::FloatRect box = menu.item(i).getLocalBounds();
        EXPECT_NEAR(menu.item(i).getPosition().x + box.width * 0.5f, 640.0f, 0.51f);
    }
    EXPECT_EQ(menu.item(3).getPosition().y, 800.0f);
}
