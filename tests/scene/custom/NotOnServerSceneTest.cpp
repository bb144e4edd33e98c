// A custom level the highscore server does not keep: the level selection and
// the table after the finish say "not on this server" where the table would
// be, and the game goes on as with any table. The real server of this build
// answers 404 "ERROR level not on this server" for a level it lacks; one from
// before custom levels answered 400, which the game reads alike
// (tableAnswerOf, unit_online).
#include <gtest/gtest.h>

#include "CustomLevelSupport.hpp"
#include "Pixels.hpp"
#include "PlayDriver.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"

TEST(NotOnServerScene, ACustomLevelsTableSaysNotOnThisServerInSelectionAndAfterTheFinish) {
    REQUIRE_DISPLAY();
    TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    ASSERT_TRUE(server.start()) << server.log();
    ScriptedGame game(settingsText({{"nameentered", "1"},
                                    {"submitscores", "1"},
                                    {"username", "me"},
                                    {"highscoreserver", server.address()}}),
                      1.0f / 60.0f, 60 * 60);
    dropLevel("Mine.tmx", slurpFile(corridorLevel));

    // The first level's table is the server's as ever; the custom level's
    // place says the server does not have it.
    LevelSelectScreen select(game.window(), raceMode, nullptr);
    const int index = indexOfFile(select, "Mine.tmx");
    ASSERT_GE(index, 0);
    bool shippedNotOnServer = true;
    game.when([&](GameWindow&) { return select.fetchCount() == 1; },
              [&](GameWindow& window) {
                  shippedNotOnServer = select.levelNotOnServer();
                  moveToLevel(game, window.frameNumber() + 2, index, select.levels().size());
              });
    sf::Image shown;
    game.when([&](GameWindow&) { return select.fetchCount() == 2; },
              [&](GameWindow& window) {
                  shown = window.capture();
                  game.keyAt(window.frameNumber() + 2, sf::Keyboard::Escape);
              });
    select.run();
    EXPECT_FALSE(shippedNotOnServer);
    EXPECT_TRUE(select.levelNotOnServer());
    EXPECT_TRUE(select.rowTexts().empty());
    EXPECT_GT(countPixels(shown, {400, 640, 480, 32}, isLighterThanSky), 40);

    // Finished, the time goes to the server, which refuses it, and the table's
    // place says so until the player goes on.
    PlayScreen screen(game.window(), raceMode, select.levels(), index, true);
    CorridorDriver driver(game, screen);
    bool notOnServer = false;
    sf::Image tablePlace;
    game.when([&](GameWindow&) { return screen.finishState().phase == FinishPhase::showingTable; },
              [&](GameWindow& window) {
                  notOnServer = screen.postFinishState().levelNotOnServer();
                  tablePlace = window.capture();
                  window.queueEventAt(window.frameNumber() + 30,
                                      GameWindow::keyEvent(sf::Keyboard::Return, true));
              });
    screen.run();
    EXPECT_TRUE(notOnServer);
    EXPECT_TRUE(game.window().isOpen()) << "the player went on from the message";
    EXPECT_GT(countPixels(tablePlace, {300, 512, 680, 60}, isLighterThanSky), 40);
    EXPECT_NE(server.log().find(" 404 "), std::string::npos) << server.log();
    EXPECT_NE(server.log().find("refused: level not on this server"), std::string::npos)
        << server.log();
}
