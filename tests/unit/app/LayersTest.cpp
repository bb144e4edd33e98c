#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Layers point down: the simulation at the bottom, then app, with online
// beside it, then level, game and menu; the start-up order at the top
// (src/GameEntry) sees them all. The simulation decides runs for the game and
// the server alike: no picture, window, sound or other layer of the game may
// reach it (its tests link it alone, too).
TEST(Layers, NoFolderIncludesALayerAboveIt) {
    const std::pair<std::string, std::vector<std::string>> rules[] = {
        {"sim",
         {"app/", "online/", "level/", "game/", "menu/", "GameEntry", "SFML/Graphics",
          "SFML/Window", "SFML/Audio", "SFML/Network", "SDL"}},
        {"app", {"online/", "level/", "game/", "menu/", "GameEntry"}},
        {"online", {"level/", "game/", "menu/", "GameEntry"}},
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
                    for (const char* quote : {"#include \"", "#include <"}) {
                        EXPECT_NE(line.rfind(quote + layer, 0), 0u) << file.path() << ": " << line;
                    }
                }
            }
        }
    }
    EXPECT_GT(filesRead, 100) << "run from the source folder";
}
