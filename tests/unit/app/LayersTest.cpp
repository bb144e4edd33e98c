#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Layers point down: the simulation library (sim) at the bottom, then app,
// online beside it, level, game and menu; the start-up order at the top
// (src/GameEntry) sees them all.
TEST(Layers, NoFolderIncludesALayerAboveIt) {
    const std::pair<std::string, std::vector<std::string>> rules[] = {
        // The simulation library: the standard library and its own few
        // libraries, nothing of the game's windows, sounds or screens.
        {"sim", {"app/", "online/", "level/", "game/", "menu/", "GameEntry", "SFML", "SDL"}},
        {"app", {"online/", "level/", "game/", "menu/", "GameEntry"}},
        {"online", {"level/", "game/", "menu/", "GameEntry"}},
        // The rules of a level play nothing: the server replays runs with them.
        {"level", {"game/", "menu/", "GameEntry", "app/SoundEffect", "app/Music", "SDL"}},
        {"game", {"menu/", "GameEntry"}},
        {"menu", {"GameEntry"}},
    };
    int filesRead = 0;
    for (const auto& [folder, above] : rules) {
        for (const auto& file : std::filesystem::recursive_directory_iterator("src/" + folder)) {
            std::ifstream in(file.path());
            filesRead += file.is_regular_file() ? 1 : 0;
            for (std::string line; std::getline(in, line);) {
                for (const std::string& layer : above) {
                    for (const char* include : {"#include \"", "#include <"}) {
                        EXPECT_NE(line.rfind(include + layer, 0), 0u)
                            << file.path() << ": " << line;
                    }
                }
            }
        }
    }
    EXPECT_GT(filesRead, 100) << "run from the source folder";
}
