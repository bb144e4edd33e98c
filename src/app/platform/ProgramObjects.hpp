#pragma once

#include <filesystem>
#include <string>

#include "app/audio/MusicPlayer.hpp"
#include "app/files/Settings.hpp"
#include "app/files/UserFolders.hpp"

// The objects that live for the whole program, built in this order before the
// first screen and taken down in reverse after the last: the settings (loaded
// from their file), the menu playlist and the game playlist. Building them
// also seeds the random generator from the clock, so no two sessions draw
// the same clouds and songs (a test reseeds it after).
//
// Exactly one is alive at a time; the accessors below reach it. The settings
// are written by the entry function after a normal end, never by the
// destructor, so a run that dies part-way leaves the previous file as it was.
class ProgramObjects {
  public:
    // `levelFolder`: where the player's own levels are looked for (the
    // command line's --levels, else the user data folder's levels/).
    explicit ProgramObjects(const std::string& settingsPath,
                            std::filesystem::path levelFolder = defaultCustomLevelFolder());
    ~ProgramObjects();
    ProgramObjects(const ProgramObjects&) = delete;
    ProgramObjects& operator=(const ProgramObjects&) = delete;

    Settings settings;
    MusicPlayer menuMusic;
    MusicPlayer gameMusic;
    std::filesystem::path customLevels;

  private:
    ProgramObjects* previous;
};

// The live program-wide objects. Without a live ProgramObjects (a test that
// needs none) they are in-memory stand-ins that are never saved.
Settings& settings();
MusicPlayer& menuMusic();
MusicPlayer& gameMusic();
const std::filesystem::path& customLevelFolder();
