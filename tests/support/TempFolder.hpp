#pragma once

#include <filesystem>
#include <optional>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes away.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return root; }
    std::string file(const std::string& name) const { return (root / name).string(); }

  private:
    std::filesystem::path root;
};

// Whole file as bytes; empty when it cannot be read.
std::string slurpFile(const std::string& path);
// Writes bytes to a file, replacing it.
void writeFileBytes(const std::string& path, const std::string& bytes);

// Makes a folder the game's data folder (ROLLAVORTEX_DATA) for the lifetime
// of the object, so a test can give a screen its own "music/...", "images/..."
// files; or, with "XDG_DATA_HOME", the folder the game keeps the player's
// runs in.
class ScopedDataFolder {
  public:
    explicit ScopedDataFolder(const std::filesystem::path& folder,
                              const char* variable = "ROLLAVORTEX_DATA");
    ~ScopedDataFolder();
    ScopedDataFolder(const ScopedDataFolder&) = delete;
    ScopedDataFolder& operator=(const ScopedDataFolder&) = delete;

  private:
    const char* variable;
    std::optional<std::string> previous;
};
