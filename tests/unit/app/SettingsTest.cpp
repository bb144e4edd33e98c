#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "TempFolder.hpp"
#include "app/Settings.hpp"

namespace {

const std::string header = "This file is generated automatically.\nPlease do not edit.\n";

Settings parsed(const std::string& body) {
    Settings settings;
    settings.parse(header + body);
    return settings;
}

}  // namespace

TEST(SettingsParsing, TabsSeparateKeyAndValue) {
    Settings s = parsed("screenwidth\t800\na\t\tb\nthree\tx\ty\n\ttrailing\t\n");
    EXPECT_EQ(s.getInt("screenwidth", 1024), 800);
    // Runs of TABs are one separator; three fields are no entry.
    EXPECT_EQ(s.getString("a"), "b");
    EXPECT_FALSE(s.contains("three"));
    EXPECT_EQ(s.getString("trailing"), "");
    EXPECT_EQ(s.all().size(), 3u);  // a, screenwidth and the one getString just made
}

TEST(SettingsParsing, EmptyValueIsIgnoredAndGetStringCreatesIt) {
    Settings s = parsed("username\t\n");
    EXPECT_FALSE(s.contains("username"));
    EXPECT_EQ(s.getString("username"), "");
    EXPECT_TRUE(s.contains("username"));
    // Saved as "key TAB" and gone again at the next load.
    EXPECT_NE(s.format().find("username\t\n"), std::string::npos);
    Settings again;
    again.parse(s.format());
    EXPECT_FALSE(again.contains("username"));
}

TEST(SettingsParsing, LaterDuplicateWins) {
    Settings s = parsed("turnspeed\t100\nturnspeed\t300\n");
    EXPECT_FLOAT_EQ(s.getFloat("turnspeed", 280.0f), 300.0f);
}

TEST(SettingsParsing, NumbersTakeTheLongestValidPrefix) {
    Settings s = parsed("a\t12abc\nb\t1.0\nc\t  -7\nd\tabc\ne\t2.5e1x\nf\t99999999999\n");
    EXPECT_EQ(s.getInt("a", 0), 12);
    EXPECT_EQ(s.getInt("b", 0), 1);
    EXPECT_EQ(s.getInt("c", 0), -7);
    EXPECT_EQ(s.getInt("d", 42), 42);
    EXPECT_FLOAT_EQ(s.getFloat("e", 0.0f), 25.0f);
    EXPECT_FLOAT_EQ(s.getFloat("d", 1.5f), 1.5f);
    // Out of range is no usable number either.
    EXPECT_EQ(s.getInt("f", 5), 5);
    // Getters never store their default.
    EXPECT_EQ(s.getInt("absent", 9), 9);
    EXPECT_FALSE(s.contains("absent"));
}

TEST(SettingsParsing, CrLfLinesKeepNoCarriageReturn) {
    Settings s;
    s.parse(
        "This file is generated automatically.\r\nPlease do not edit.\r\n"
        "username\tAnna\r\nscreenwidth\t640\r\n");
    EXPECT_EQ(s.getString("username"), "Anna");
    EXPECT_EQ(s.getInt("screenwidth", 0), 640);
    EXPECT_EQ(s.format().find('\r'), std::string::npos);
}

TEST(SettingsFormat, NumbersAndByteOrder) {
    Settings s;
    s.setInt("screenwidth", 1024);
    s.setInt("screenheight", -3);
    s.setInt("screendepth", 32);
    s.setFloat("turnspeed", 280.0f);
    s.setFloat("third", 1.0f / 3.0f);
    s.setString("_ 1 250", "abc");
    s.setString("ctrlspeed", "420");
    s.setString("Zed", "z");
    EXPECT_EQ(s.format(), header +
                              "Zed\tz\n"
                              "_ 1 250\tabc\n"
                              "ctrlspeed\t420\n"
                              "screendepth\t32\n"
                              "screenheight\t-3\n"
                              "screenwidth\t1024\n"
                              "third\t0.333333\n"
                              "turnspeed\t280\n");
}

TEST(SettingsFile, SaveLoadRoundTripKeepsEverything) {
    TempFolder folder;
    Settings s(folder.file(".Rollavortex"));
    s.setString("username", "Ann Lee");
    s.setString("_ 2 20000", "xyz");
    s.setInt("musicvolume", 4);
    ASSERT_TRUE(s.save());
    EXPECT_FALSE(std::filesystem::exists(folder.file(".Rollavortex.tmp")));

    Settings loaded(folder.file(".Rollavortex"));
    ASSERT_TRUE(loaded.load());
    EXPECT_EQ(loaded.all(), s.all());
}

TEST(SettingsFile, MissingFileLeavesStoreEmpty) {
    TempFolder folder;
    Settings s(folder.file("nothing-here"));
    EXPECT_FALSE(s.load());
    EXPECT_TRUE(s.all().empty());
}

TEST(SettingsFile, FailedSaveKeepsThePreviousFile) {
    TempFolder folder;
    const std::string path = folder.file(".Rollavortex");
    writeFileBytes(path, header + "username\tKept\n");
    // A folder where the temporary file should go makes the save fail part-way.
    std::filesystem::create_directory(path + ".tmp");
    Settings s(path);
    s.setString("username", "Lost");
    EXPECT_FALSE(s.save());
    EXPECT_EQ(slurpFile(path), header + "username\tKept\n");
}

TEST(SettingsFile, UnwritableFolderReportsFailure) {
    Settings s("/nonexistent-folder/deeper/.Rollavortex");
    s.setInt("a", 1);
    EXPECT_FALSE(s.save());
    Settings inMemory;
    EXPECT_FALSE(inMemory.save());
}

TEST(SettingsFile, PathComesFromTheEnvironment) {
    const auto restore = [](const char* name, const char* old) {
        old ? setenv(name, old, 1) : unsetenv(name);
    };
    const char* appdata = std::getenv("APPDATA");
    const char* profile = std::getenv("USERPROFILE");
    const char* home = std::getenv("HOME");
    const std::string savedAppdata = appdata ? appdata : "";
    const std::string savedProfile = profile ? profile : "";
    const std::string savedHome = home ? home : "";

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

    restore("APPDATA", appdata ? savedAppdata.c_str() : nullptr);
    restore("USERPROFILE", profile ? savedProfile.c_str() : nullptr);
    restore("HOME", home ? savedHome.c_str() : nullptr);
}

TEST(SettingsParsing, StrayCarriageReturnsNeverEndAValue) {
    Settings s;
    s.parse("a\tb\r\r\nc\td\re\nf\tg\r\t\nh\t\r\t\n");
    EXPECT_EQ(s.getString("a"), "b");
    EXPECT_EQ(s.getString("c"), "d\re");
    EXPECT_EQ(s.getString("f"), "g");
    EXPECT_FALSE(s.contains("h"));
    Settings again;
    again.parse(s.format());
    EXPECT_EQ(again.all(), s.all());
}

TEST(SettingsTyped, KeysAndDefaultsAreTheFilesOwn) {
    // The typed keys read what the file has always held, under the same names.
    Settings s = parsed("drawclouds\t0\nturnspeed\t300\nhighscoreserver\t\nstartlevel_2\t1\n");
    EXPECT_EQ(s.get(Setting::drawClouds), 0);
    EXPECT_EQ(s.get(Setting::turnSpeed), 300.0f);
    EXPECT_EQ(s.get(Setting::startLevel(puzzleMode)), 1);
    EXPECT_EQ(s.get(Setting::startLevel(raceMode)), 0);
    EXPECT_EQ(s.get(Setting::musicVolume), 7);
    // An absent or empty text is its default, and reading it adds nothing.
    EXPECT_EQ(s.get(Setting::highscoreServer), "localhost:8077");
    EXPECT_EQ(s.get(Setting::userName), "");
    EXPECT_FALSE(s.contains("username"));
    // keep writes what it read, the default included, as the setters would.
    EXPECT_EQ(s.keep(Setting::shiftSpeed), 140.0f);
    EXPECT_EQ(s.keep(Setting::screenWidth), 1024);
    EXPECT_NE(s.format().find("screenwidth\t1024\nshiftspeed\t140\n"), std::string::npos);
}
