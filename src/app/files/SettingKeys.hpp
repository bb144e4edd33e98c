#pragma once

#include <string>

#include "sim/base/GameMode.hpp"
#include "sim/level/LevelIdentity.hpp"
#include "sim/play/TurnSpeeds.hpp"

// A setting the game reads: its key in the settings file, and the value the
// game goes by while the key is absent (or, for a text, empty). Settings::get
// and Settings::set take these, so a key and its default are written once.
template <typename Value>
struct SettingKey {
    std::string key;
    Value fallback;
};

// Every setting of the game, with its default. Keys and stored values are the
// file's own and never change; the reader of each is named on the right.
namespace Setting {

// Display, read at start-up and written straight back, so the file lists them.
inline const SettingKey<int> screenWidth{"screenwidth", 1024};   // pixels
inline const SettingKey<int> screenHeight{"screenheight", 768};  // pixels
inline const SettingKey<int> screenDepth{"screendepth", 32};     // bits per pixel
inline const SettingKey<int> fullscreen{"fullscreen", 1};        // > 0: fullscreen
// Written at every start; nothing reads it.
inline const SettingKey<std::string> version{"version", "1.0"};

// Turn rates of the world in degrees per second (play screen, options); the
// play screen writes them back so players find them in the file.
inline const SettingKey<float> turnSpeed{"turnspeed", TurnSpeeds{}.turn};
inline const SettingKey<float> shiftSpeed{"shiftspeed", TurnSpeeds{}.shift};     // Shift held
inline const SettingKey<float> controlSpeed{"ctrlspeed", TurnSpeeds{}.control};  // Control held
inline const SettingKey<int> invertControls{"invertcontrols", 0};  // non-zero: reversed

// Music volume step: 0 (silent) to maxMusicVolume (full); the players get
// step / maxMusicVolume.
inline const SettingKey<int> musicVolume{"musicvolume", 7};
inline constexpr int maxMusicVolume = 9;
// > 0: the screens draw the cloud backdrop.
inline const SettingKey<int> drawClouds{"drawclouds", 1};

// Online highscores: > 0 sends finished times; the player's name (empty while
// none was chosen); the server, "host" or "host:port".
inline const SettingKey<int> submitScores{"submitscores", 1};
inline const SettingKey<std::string> userName{"username", ""};
inline const SettingKey<std::string> highscoreServer{"highscoreserver", "localhost:8077"};
// 1 once the first-start name entry has been shown.
inline const SettingKey<int> nameEntered{"nameentered", 0};

// The ghost ball the play screen shows: 0 none, 1 the personal best's run,
// 2 the record's run from the highscore server (the personal best's when the
// server has none).
inline const SettingKey<int> ghost{"ghost", 1};
inline constexpr int ghostOff = 0;
inline constexpr int ghostPersonalBest = 1;
inline constexpr int ghostRecord = 2;

// "startlevel_" and the mode's number: the level index last chosen in the
// level selection of that mode.
SettingKey<int> startLevel(GameMode mode);

}  // namespace Setting

// "_ ", the mode's number, a space and the level's identity (the id of a
// shipped level, the SHA-256 of any other): the personal best of that level
// as score text (game/PersonalBest reads and writes it; absent while the
// level was never finished).
std::string personalBestKey(GameMode mode, const LevelIdentity& level);
