// The game as `cmake --install` lays it out (the ctest fixture
// install_into_prefix installs this build into INSTALLED_PREFIX), started by a
// player from a folder of their own far from the source tree: it must find
// its files beside itself and show the main menu with its pictures.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "GameProcess.hpp"
#include "PrivateDisplay.hpp"
#include "TempFolder.hpp"
#include "WindowPicture.hpp"
#include "X11Window.hpp"

namespace {

// The middle of the title mascots in the main menu's top corners: red only
// when their pictures were found.
const sf::FloatRect leftMascotArea{75, 75, 120, 120};
const sf::FloatRect rightMascotArea{1085, 75, 120, 120};

bool menuWithPicturesShown(const WindowPicture& picture) {
    return picture.share(isMascotRed, leftMascotArea) > 0.2 &&
           picture.share(isMascotRed, rightMascotArea) > 0.2 && picture.share(isSky) > 0.1;
}

}  // namespace

TEST(InstalledGame, StartedFromElsewhereItFindsItsFilesAndShowsTheMenu) {
    if (!PrivateDisplay::available()) {
        GTEST_SKIP() << "no Xvfb to run the game in";
    }
    const std::string program = std::string(INSTALLED_PREFIX) + "/bin/rollavortex";
    ASSERT_TRUE(std::filesystem::exists(program)) << program << ": run through ctest, whose "
                                                  << "install_into_prefix test installs it";
    PrivateDisplay display;
    ASSERT_TRUE(display.ready()) << "Xvfb did not start";
    TempFolder home;
    TempFolder elsewhere;
    writeFileBytes(home.file(".Rollavortex"),
                   "fullscreen\t0\nnameentered\t1\nscreenheight\t768\nscreenwidth\t1024\n");
    const std::string errors = home.file("errors.txt");
    GameProcess game(
        elsewhere.path().string(),
        {{"HOME", home.path().string()}, {"ROLLAVORTEX_DATA", ""}, {"SDL_AUDIODRIVER", "dummy"}},
        errors, program);

    const unsigned long window = X11Window::find("Rollavortex 1.0", 20.0);
    ASSERT_NE(window, 0u) << slurpFile(errors);
    ASSERT_TRUE(PrivateDisplay::focus(window));
    X11Window::tap("Return");
    WindowPicture last;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline && !menuWithPicturesShown(last)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        last = WindowPicture::grab(window);
    }
    EXPECT_TRUE(menuWithPicturesShown(last))
        << "mascots " << last.share(isMascotRed, leftMascotArea) << "/"
        << last.share(isMascotRed, rightMascotArea) << ", sky " << last.share(isSky);
    ASSERT_TRUE(X11Window::requestClose(window));
    EXPECT_EQ(game.waitForExit(20.0), 0);

    const std::string said = slurpFile(errors);
    EXPECT_EQ(said.find("missing file"), std::string::npos) << said;
    EXPECT_EQ(said.find("no data folder"), std::string::npos) << said;
}
