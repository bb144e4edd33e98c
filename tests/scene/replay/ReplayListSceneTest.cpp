// The Replays list: what it offers from the runs folder, the command line and
// the server, and that a chosen line plays in the replay screen, a record
// included, fetched from the real server.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "ScriptedGame.hpp"
#include "ServerProcess.hpp"
#include "ShippedRun.hpp"
#include "TestRuns.hpp"
#include "game/PersonalRuns.hpp"
#include "menu/ReplayListScreen.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/client/HighscoreClient.hpp"

namespace {

using Key = sf::Keyboard;
const std::string dot = " \xC2\xB7 ";

// The runs folder of the scripted game: the Labyrinth's best kept, a friend's
// run, a broken file and what is no run file at all.
void fillRunsFolder() {
    const ShippedRun labyrinth = loadShippedRun("TheLabyrinth");
    ASSERT_TRUE(PersonalRuns().save(labyrinth.run));
    const std::filesystem::path folder = PersonalRuns::defaultFolder();
    writeFileBytes((folder / "friend.run").string(), loadShippedRun("Fortified").text);
    writeFileBytes((folder / "junk.run").string(), "not a run\n");
    writeFileBytes((folder / "notes.txt").string(), "hello\n");
    std::filesystem::create_directories(folder / "folder.run");
}

}  // namespace

// The list offers the command line's file, the bests kept, the records (with
// online scores on) and the other run files. A record fetched from the real
// server plays with its holder's name; one without a verified run says so.
// Down to the friend's run, watch it, back in the list, down to the broken
// file, watch its refusal, back, Escape: three replays, and the list is left.
TEST(ReplayListScene, OffersTheRunsAndAChosenLineOrRecordPlaysInTheReplayScreen) {
    REQUIRE_DISPLAY();
    const ShippedRun labyrinth = loadShippedRun("TheLabyrinth");
    TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    ASSERT_TRUE(server.start()) << server.log();
    const HighscoreClient client(server.address());
    const RecordedRun& run = labyrinth.run;
    client.post(HighscoreProtocol::kRunPath, runSubmission("Alice", run.mode, run.levelId,
                                                           labyrinth.text, run.finishMilliseconds));
    // The server verifies in the background; the run is fetched once verified.
    for (int tries = 0; tries < 100 && client.fetchRun(run.mode, run.levelId, 1).empty(); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_FALSE(client.fetchRun(run.mode, run.levelId, 1).empty()) << server.log();

    ScriptedGame game;
    game.settings().setString("highscoreserver", server.address());
    fillRunsFolder();
    const long long ms = run.finishMilliseconds;
    char time[32];
    std::snprintf(time, sizeof time, "%lld.%03lld", ms / 1000, ms % 1000);
    const std::string best = "Race" + dot + "The Labyrinth" + dot + "your best " + time;
    struct Case {
        int online;
        std::string commandLine;
        std::vector<std::string> expected;
    };
    const std::string record = dot + "record";
    for (const Case& c : {
             Case{0, "", {best, "friend.run", "junk.run"}},
             Case{0, "/somewhere/given.run", {"given.run", best, "friend.run", "junk.run"}},
             Case{1,
                  "",
                  {best, "Race" + dot + "The Labyrinth" + record,
                   "Race" + dot + "The Rope Bridge" + record, "Puzzle" + dot + "Fortified" + record,
                   "Puzzle" + dot + "Chaos Unleashed" + record, "friend.run", "junk.run"}},
         }) {
        SCOPED_TRACE(c.commandLine);
        game.settings().setInt("submitscores", c.online);
        const ReplayListScreen list(game.window(), nullptr, c.commandLine);
        std::vector<std::string> labels;
        for (const ReplayEntry& entry : list.entries()) {
            labels.push_back(entry.label);
        }
        EXPECT_EQ(labels, c.expected);
    }
    ReplayListScreen list(game.window(), nullptr);
    ASSERT_EQ(list.entries()[1].kind, ReplayEntry::Kind::record);
    // The Rope Bridge's record (third line) has no run: the list says so.
    game.tapKeys(20, {Key::Down, Key::Down, Key::Return}, 4);
    std::string noRecordNote;
    std::string recordShown;
    game.when([&](GameWindow& window) { return window.frameNumber() == 45; },
              [&](GameWindow&) { noRecordNote = list.message(); });
    game.tapKeys(50, {Key::Up, Key::Return}, 4);
    // The fade-out, then the replay screen's frames: Escape in one of them.
    game.keyAt(150, Key::Escape);
    game.when([&](GameWindow& window) { return window.frameNumber() == 190; },
              [&](GameWindow&) { recordShown = list.lastShown(); });
    game.tapKeys(190, {Key::Down, Key::Down, Key::Down, Key::Down, Key::Return}, 4);
    game.keyAt(290, Key::Escape);
    game.tapKeys(330, {Key::Down, Key::Return}, 4);
    game.keyAt(410, Key::Escape);
    game.keyAt(450, Key::Escape);
    std::size_t selectedAtEnd = 0;
    game.everyFrame([&](GameWindow&) { selectedAtEnd = list.selectedEntry(); });
    list.run();
    EXPECT_EQ(noRecordNote, "The server has no verified run of this record");
    EXPECT_EQ(recordShown, "Record by Alice");
    EXPECT_EQ(list.replaysShown(), 3);
    EXPECT_EQ(list.lastShown(), "junk.run");
    EXPECT_EQ(selectedAtEnd, list.entries().size()) << "Escape points at Back";
    EXPECT_TRUE(game.window().isOpen());
}
