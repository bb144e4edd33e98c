#include <gtest/gtest.h>

#include "MenuSceneSupport.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "menu/OptionsScreen.hpp"

using Key = sf::Keyboard;

namespace {

// Keys are taken once the 0.8 s fade-in is over (frame 48 at 60 per second).
constexpr std::uint64_t firstKeyFrame = 50;

const std::map<std::string, std::string> knownSettings{
    {"nameentered", "1"},  {"screenwidth", "1280"}, {"screenheight", "1024"}, {"screendepth", "32"},
    {"fullscreen", "1"},   {"submitscores", "1"},   {"turnspeed", "280"},     {"shiftspeed", "700"},
    {"ctrlspeed", "105"},  {"invertcontrols", "0"}, {"musicvolume", "8"},     {"drawclouds", "1"},
    {"username", "keeper"}};

// One key on each value line, top to bottom: the wrap of the resolution, the
// depth swap, the toggles, the speed clamps and the volume clamp.
std::uint64_t changeEveryLine(ScriptedGame& game, std::uint64_t frame) {
    const std::vector<Key::Key> keys{
        Key::Right,                          // 1280 x 1024 wraps to 800 x 600
        Key::Down,  Key::Left,               // 32 -> 16 Bit
        Key::Down,  Key::Right,              // fullscreen off
        Key::Down,  Key::Left,               // 280 -> 260
        Key::Down,  Key::Right, Key::Right,  // 700 -> 720 -> stays 720
        Key::Down,  Key::Left,  Key::Right,  // 105 -> 100 -> 120
        Key::Down,  Key::Left,               // submit scores off
        Key::Down,  Key::Left,  Key::Right,  // "Set Highscore Name" ignores both
        Key::Down,  Key::Right,              // invert controls on
        Key::Down,  Key::Right, Key::Right,  // volume 8 -> 9 -> stays 9
        Key::Down,  Key::Left,               // clouds off
        Key::Down,  Key::Left,               // ghost: personal best -> off
    };
    return game.tapKeys(frame, keys, 4);
}

std::string valueOf(const std::string& file, const std::string& key) {
    const std::size_t at = file.find("\n" + key + "\t");
    if (at == std::string::npos) {
        return "<missing>";
    }
    const std::size_t start = at + key.size() + 2;
    return file.substr(start, file.find('\n', start) - start);
}

}  // namespace

// Back and Escape leave alike: every value saved.
TEST(OptionsScene, EveryLineFollowsItsRuleAndBackOrEscapeSavesThemAll) {
    REQUIRE_DISPLAY();
    for (const Key::Key leave : {Key::Return, Key::Escape}) {
        SCOPED_TRACE(leave);
        ScriptedGame game(settingsText(knownSettings));
        OptionsScreen options(game.window(), nullptr);
        // As the main menu leaves it for "musicvolume" 8.
        menuMusic().volume = 8.0f / 9.0f;
        gameMusic().volume = 8.0f / 9.0f;
        FrameLog<float> volume(game, [] { return menuMusic().volume; });
        FrameLog<std::string> savedVolume(
            game, [&] { return std::to_string(game.settings().getInt("musicvolume", -1)); });
        std::vector<std::string> finalLines;
        std::uint64_t frame = changeEveryLine(game, firstKeyFrame);
        game.when([&](GameWindow& window) { return window.frameNumber() == frame + 2; },
                  [&](GameWindow&) {
                      for (int line = 0; line < optionLineCount; ++line) {
                          finalLines.push_back(options.lineText(line));
                      }
                  });
        game.tapKeys(frame + 4, {Key::Down, Key::Down}, 4);  // past "Controls" to "Back"
        game.keyAt(frame + 12, leave);
        options.run();

        EXPECT_TRUE(game.window().isOpen());
        EXPECT_EQ(finalLines,
                  (std::vector<std::string>{
                      "< Resolution: 800 x 600 >", "< Screen Depth: 16 Bit >", "< Fullscreen: No >",
                      "< Turnspeed: 260 Degrees >", "< Shift Turnspeed: 720 Degrees >",
                      "< Ctrl Turnspeed: 120 Degrees >", "< Submit Scores Online: No >",
                      "Set Highscore Name", "< Invert Controls: Yes >", "< Music Volume: 9 >",
                      "< Draw Clouds: No >", "< Ghost: Off >", "Controls", "Back"}));
        // The volume was heard at once, long before anything was saved.
        const long long louder = volume.first([](float v) { return v == 1.0f; });
        ASSERT_GT(louder, 0);
        EXPECT_EQ(savedVolume.at(static_cast<std::uint64_t>(louder)), "8");
        EXPECT_EQ(gameMusic().volume, 1.0f);

        const std::string saved = game.savedSettingsFile();
        const std::map<std::string, std::string> expected{
            {"screenwidth", "800"}, {"screenheight", "600"}, {"screendepth", "16"},
            {"fullscreen", "0"},    {"submitscores", "0"},   {"turnspeed", "260"},
            {"shiftspeed", "720"},  {"ctrlspeed", "120"},    {"invertcontrols", "1"},
            {"musicvolume", "9"},   {"drawclouds", "0"},     {"username", "keeper"},
            {"ghost", "0"}};
        for (const auto& [key, value] : expected) {
            EXPECT_EQ(valueOf(saved, key), value) << key;
        }
    }
}

TEST(OptionsScene, ClosingTheWindowInsideTheNameEntrySavesNothing) {
    REQUIRE_DISPLAY();
    auto values = knownSettings;
    values["highscoreserver"] = refusingAddress();
    ScriptedGame game(settingsText(values));
    OptionsScreen options(game.window(), nullptr);
    std::uint64_t frame = game.tapKeys(firstKeyFrame, {Key::Right});
    frame = game.tapKeys(frame, std::vector<Key::Key>(7, Key::Down), 3);
    game.keyAt(frame, Key::Return);  // "Set Highscore Name"
    // Inside the name entry: erase a letter, then close the window.
    game.keyAt(frame + 30, Key::Backspace);
    game.closeAt(frame + 40);
    options.run();

    EXPECT_FALSE(game.window().isOpen());
    const std::string saved = game.savedSettingsFile();
    EXPECT_EQ(valueOf(saved, "screenwidth"), "1280");
    EXPECT_EQ(valueOf(saved, "username"), "keeper");
    EXPECT_EQ(valueOf(saved, "submitscores"), "1");
}

TEST(OptionsScene, TheSubmitLineAdoptsWhatTheNameEntryDecided) {
    REQUIRE_DISPLAY();
    auto values = knownSettings;
    values["highscoreserver"] = refusingAddress();
    values.erase("username");
    ScriptedGame game(settingsText(values));
    OptionsScreen options(game.window(), nullptr);
    std::string lineAfterEntry;
    std::uint64_t frame = game.tapKeys(firstKeyFrame, std::vector<Key::Key>(7, Key::Down), 3);
    game.keyAt(frame, Key::Return);
    // Return on the empty name inside the name entry: online off.
    game.keyAt(frame + 20, Key::Return);
    // Back in the options after the entry's fade-out and a fresh fade-in.
    game.when([&](GameWindow& window) { return window.frameNumber() == frame + 150; },
              [&](GameWindow& window) {
                  lineAfterEntry = options.lineText(submitScoresLine);
                  window.queueEvent(GameWindow::keyEvent(Key::Escape, true));
              });
    options.run();

    EXPECT_EQ(lineAfterEntry, "< Submit Scores Online: No >");
    const std::string saved = game.savedSettingsFile();
    EXPECT_EQ(valueOf(saved, "submitscores"), "0") << "saving did not undo the name entry";
    EXPECT_EQ(valueOf(saved, "username"), "");
}
