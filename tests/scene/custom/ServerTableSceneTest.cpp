// The tables of the level selection and after a finish, from the real
// highscore server of this build. The selection's opens on the player's own
// record and follows the shown level. A custom level the server does not keep
// gets "not on this server" where the table would be, and the game goes on as
// with any table. The server answers 404 "ERROR level not on this server" for
// a level it lacks; one from before custom levels answered 400, which the game
// reads alike (tableAnswerOf, unit_online).
#include <gtest/gtest.h>

#include "CustomLevelSupport.hpp"
#include "Pixels.hpp"
#include "PlayDriver.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "online/client/HighscoreClient.hpp"
#include "sim/run/ScoreText.hpp"

using Key = sf::Keyboard;

TEST(ServerTableScene, TheTableOpensOnTheOwnRecordFollowsTheLevelAndNotOnThisServerIsSaid) {
    REQUIRE_DISPLAY();
    TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    ASSERT_TRUE(server.start()) << server.log();
    // Fourteen racers, "me" ninth; "other" on the second level only.
    const HighscoreClient client(server.address());
    for (int place = 1; place <= 14; ++place) {
        const std::string name = place == 9 ? "me" : "racer" + std::to_string(place);
        client.submitScore(name, raceMode, 250, encodeTime(30.0f + static_cast<float>(place)));
    }
    client.submitScore("other", raceMode, 275, encodeTime(50.0f));
    ScriptedGame game(settingsText({{"nameentered", "1"},
                                    {"submitscores", "1"},
                                    {"username", "me"},
                                    {"highscoreserver", server.address()}}),
                      1.0f / 60.0f, 60 * 60);
    dropLevel("Mine.tmx", slurpFile(corridorLevel));

    // The first level's table, the second's, then (Left twice, round to the
    // last) the custom level's place.
    LevelSelectScreen select(game.window(), raceMode, nullptr);
    const int index = indexOfFile(select, "Mine.tmx");
    ASSERT_EQ(index, select.levels().size() - 1);
    std::vector<std::string> firstRows;
    std::vector<std::string> secondRows;
    sf::Image firstShown;
    sf::Image notOnServerShown;
    bool shippedNotOnServer = true;
    game.when([&](GameWindow&) { return select.fetchCount() == 1; },
              [&](GameWindow& window) {
                  firstRows = select.rowTexts();
                  firstShown = window.capture();
                  shippedNotOnServer = select.levelNotOnServer();
                  game.tapKeys(window.frameNumber() + 5, {Key::Down, Key::Down, Key::Right}, 3);
              });
    game.when([&](GameWindow&) { return select.fetchCount() == 2; },
              [&](GameWindow& window) {
                  secondRows = select.rowTexts();
                  game.tapKeys(window.frameNumber() + 2, {Key::Left, Key::Left}, 4);
              });
    game.when([&](GameWindow&) { return select.fetchCount() == 3; },
              [&](GameWindow& window) {
                  notOnServerShown = window.capture();
                  game.keyAt(window.frameNumber() + 2, Key::Escape);
              });
    select.run();
    // Place 9 is record index 8: the view starts at index 3 and "me" is on the
    // sixth row (y 495 + 5 * 35), green where the first row is not.
    ASSERT_EQ(firstRows.size(), 11u);
    EXPECT_EQ(firstRows[0].substr(0, 8), "     4. ");
    EXPECT_NE(firstRows[5].find("  me"), std::string::npos);
    EXPECT_GT(countPixels(firstShown, {100, 670, 1000, 30}, isGreenish), 20);
    EXPECT_EQ(countPixels(firstShown, {100, 495, 1000, 30}, isGreenish), 0);
    EXPECT_FALSE(shippedNotOnServer);
    // The second level's table replaced the first.
    ASSERT_EQ(secondRows.size(), 1u);
    EXPECT_NE(secondRows[0].find("other"), std::string::npos);
    EXPECT_TRUE(select.levelNotOnServer());
    EXPECT_TRUE(select.rowTexts().empty());
    EXPECT_GT(countPixels(notOnServerShown, {400, 640, 480, 32}, isLighterThanSky), 40);

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
                                      GameWindow::keyEvent(Key::Return, true));
              });
    screen.run();
    EXPECT_TRUE(notOnServer);
    EXPECT_TRUE(game.window().isOpen()) << "the player went on from the message";
    EXPECT_GT(countPixels(tablePlace, {300, 512, 680, 60}, isLighterThanSky), 40);
    EXPECT_NE(server.log().find(" 404 "), std::string::npos) << server.log();
    EXPECT_NE(server.log().find("refused: level not on this server"), std::string::npos)
        << server.log();
}
