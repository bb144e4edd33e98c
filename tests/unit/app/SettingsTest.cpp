#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "TempFolder.hpp"
#include "app/files/Settings.hpp"

namespace {

const std::string header = "This file is generated automatically.\nPlease do not edit.\n";

Settings parsed(const std::string& body) {
    Settings settings;
    settings.parse(header + body);
    return settings;
}

}  // namespace

TEST(SettingsParsing,
     LinesGiveEntriesByTheirTabsNumbersTheLongestValidPrefixAndGettersStoreNothing) {
    // Runs of TABs are one separator; three fields are no entry; an empty
    // value is none; the later of two wins; no value ends in a carriage return.
    Settings s = parsed(
        "a\t\tb\nthree\tx\ty\nempty\t\ntwice\t1\ntwice\t2\ncr\tv\r\r\nmid\td\re\nhalf\tg\r\t\n");
    const std::map<std::string, std::string> expected{
        {"a", "b"}, {"twice", "2"}, {"cr", "v"}, {"mid", "d\re"}, {"half", "g"}};
    EXPECT_EQ(s.all(), expected);
    // Reading an absent string creates it empty; saved as "key TAB" and gone
    // again at the next load.
    EXPECT_EQ(s.getString("empty"), "");
    EXPECT_NE(s.format().find("empty\t\n"), std::string::npos);
    EXPECT_EQ(parsed(s.format().substr(header.size())).all(), expected);

    // Numbers take the longest valid prefix; getters store nothing.
    s = parsed("a\t12abc\nb\t1.0\nc\t  -7\nd\tabc\ne\t2.5e1x\nf\t99999999999\n");
    EXPECT_EQ(s.getInt("a", 0), 12);
    EXPECT_EQ(s.getInt("b", 0), 1);
    EXPECT_EQ(s.getInt("c", 0), -7);
    EXPECT_EQ(s.getInt("d", 42), 42);
    EXPECT_FLOAT_EQ(s.getFloat("e", 0.0f), 25.0f);
    EXPECT_FLOAT_EQ(s.getFloat("d", 1.5f), 1.5f);
    EXPECT_EQ(s.getInt("f", 5), 5) << "out of range is no usable number";
    EXPECT_EQ(s.getInt("absent", 9), 9);
    EXPECT_FALSE(s.contains("absent"));
}

TEST(SettingsFormat, NumbersAndByteOrder) {
    Settings s;
    s.setInt("screenheight", -3);
    s.setFloat("turnspeed", 280.0f);
    s.setFloat("third", 1.0f / 3.0f);
    s.setString("_ 1 250", "abc");
    s.setString("Zed", "z");
    EXPECT_EQ(s.format(),
              header + "Zed\tz\n_ 1 250\tabc\nscreenheight\t-3\nthird\t0.333333\nturnspeed\t280\n");
}

TEST(SettingsFile,
     SaveAndLoadRoundTripAFailedSaveKeepsThePreviousFileAndThePathComesFromTheEnvironment) {
    TempFolder folder;
    const std::string path = folder.file(".Rollavortex");
    Settings s(path);
    s.setString("username", "Ann Lee");
    s.setInt("musicvolume", 4);
    ASSERT_TRUE(s.save());
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    Settings loaded(path);
    ASSERT_TRUE(loaded.load());
    EXPECT_EQ(loaded.all(), s.all());

    // A folder where the temporary file should go makes the save fail part-way.
    const std::string before = slurpFile(path);
    std::filesystem::create_directory(path + ".tmp");
    s.setString("username", "Lost");
    EXPECT_FALSE(s.save());
    EXPECT_EQ(slurpFile(path), before);

    EXPECT_FALSE(Settings(folder.file("nothing-here")).load());
    EXPECT_FALSE(Settings("/nonexistent-folder/deeper/.Rollavortex").save());
    EXPECT_FALSE(Settings().save());

    // The three variables are the test program's again afterwards.
    const ScopedDataFolder appData("", "APPDATA"), profile("", "USERPROFILE"), home("", "HOME");
    unsetenv("APPDATA");
    unsetenv("USERPROFILE");
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(Settings::filePath(), "/home/player/.Rollavortex");
    setenv("APPDATA", "", 1);
    setenv("USERPROFILE", "/profiles/p", 1);
    EXPECT_EQ(Settings::filePath(), "/profiles/p/.Rollavortex");
    setenv("APPDATA", "/roaming/", 1);
    EXPECT_EQ(Settings::filePath(), "/roaming/.Rollavortex");
    unsetenv("APPDATA");
    unsetenv("USERPROFILE");
    unsetenv("HOME");
    EXPECT_EQ(Settings::filePath(), ".Rollavortex");
}

// The typed keys' names are those the options and level selection scene tests
// find in the file.
TEST(SettingsTyped, AnAbsentOrEmptyTextIsItsDefaultAndKeepWritesWhatItRead) {
    Settings s = parsed("highscoreserver\t\n");
    EXPECT_EQ(s.get(Setting::highscoreServer), "localhost:8077");
    EXPECT_EQ(s.get(Setting::userName), "");
    EXPECT_FALSE(s.contains("username")) << "reading adds nothing";
    // keep writes what it read, the default included, as the setters would.
    EXPECT_EQ(s.keep(Setting::shiftSpeed), 140.0f);
    EXPECT_EQ(s.keep(Setting::screenWidth), 1024);
    EXPECT_NE(s.format().find("screenwidth\t1024\nshiftspeed\t140\n"), std::string::npos);
}
