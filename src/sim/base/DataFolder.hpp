#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Where the game's files are: pictures, sounds, music, the font and the
// levels. Nothing here needs SFML: the highscore server compiles this file to
// find the same level files.
//
// The first that applies wins:
//   1. the folder named by ROLLAVORTEX_DATA, when set and not empty, even when
//      it does not exist (the player asked for it; what is missing there is
//      then reported, not silently taken from elsewhere);
//   2. ../share/rollavortex beside the running program, when that folder
//      exists: the installed layout, <prefix>/bin/rollavortex and
//      <prefix>/sbin/rollavortex-highscored beside <prefix>/share/rollavortex;
//   3. the data folder of the source tree the program was built from, so a
//      build runs straight from its build folder.
struct DataFolderChoice {
    std::filesystem::path folder;
    const char* reason = "";  // which rule chose it, for messages
};

// The rule on given inputs: the environment variable's value (nullptr when
// unset), the running program's path (empty when unknown) and the source
// tree's data folder.
DataFolderChoice chooseDataFolder(const char* fromEnvironment,
                                  const std::filesystem::path& executable,
                                  const std::filesystem::path& sourceData);

// The rule on this process: its environment, /proc/self/exe and the source
// tree it was built from. Looked up on every call, so it keeps no state; that
// is a few system calls, nothing beside reading the file it is asked for.
DataFolderChoice findDataFolder();

// A file of the data folder by its name inside it: dataPath("images/wall.png").
// A name ending in '/' gives a folder path ending in '/'.
std::string dataPath(std::string_view name);

// One line on standard error naming a file that could not be read (missing,
// or there but broken) and the data folder the game looked in.
void reportUnreadableFile(const std::string& path);
