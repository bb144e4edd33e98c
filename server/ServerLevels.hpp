#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "online/HighscoreRequest.hpp"
#include "sim/level/LevelIdentity.hpp"
#include "sim/run/RunVerification.hpp"

// A level this server keeps tables for: one of the game's own, or a custom
// level from a folder of levels (the data folder's packs, --levels).
struct ServerLevel {
    int mode = 0;
    // Its key in the tables: a shipped level's id, or the negative key the
    // store gave a custom level's hash.
    int key = 0;
    LevelIdentity identity;
    std::string name;
    // The name of its pack; empty for a level on its own.
    std::string pack;
    // Where its bytes are read.
    std::filesystem::path file;
    // How a canonical run of a custom level names its file: by its place in
    // the folder it was found in, which does not change with where the folder
    // lies.
    std::string runFile;

    bool isShipped() const { return identity.isShipped(); }
    // "Tour: First Roll" for a level of a pack, else the name.
    std::string shownName() const;
    // The claim of a run of this level at `seconds`, naming the level as the
    // canonical run does.
    RunClaim claim(float seconds) const;
};

// Every level this server keeps: the game's own four, then the custom levels
// in the order they were found. Read once, at the start; all calls may come
// from any thread.
class ServerLevels {
  public:
    // The game's own levels, and `custom`, each with its key.
    explicit ServerLevels(std::vector<ServerLevel> custom = {});

    const std::vector<ServerLevel>& all() const { return levels; }
    // The level of `mode` of this identity, or of this key; null when the
    // server does not keep it.
    const ServerLevel* find(int mode, const LevelIdentity& identity) const;
    const ServerLevel* byKey(int mode, int key) const;
    // "mode=1 level=250", a custom level by its hash, for the log.
    std::string logText(int mode, int key) const;
    // The keys of the custom levels, for reading requests.
    CustomLevelKeys customKeys() const;
    // The bytes of the level's file as it is now; for a custom level only
    // while they still have its hash (a file edited under the running server
    // is another level, kept after a restart). Empty when unreadable.
    std::optional<std::string> fileBytes(const ServerLevel& level) const;

  private:
    std::vector<ServerLevel> levels;
};
