#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

// Layers point down: the simulation at the bottom, then app, with online
// beside it, then level, game and menu; the start-up order at the top
// (src/GameEntry) sees them all. The simulation decides runs for the game and
// the server alike: no picture, window, sound or other layer of the game may
// reach it (its tests link it alone, too).
TEST(Layers, NoFolderIncludesALayerAboveItAndTheSimulationCallsNoCpuDependentFunction) {
    const std::pair<std::string, std::vector<std::string>> rules[] = {
        {"sim",
         {"app/", "online/", "level/", "game/", "menu/", "GameEntry", "SFML/Graphics",
          "SFML/Window", "SFML/Audio", "SFML/Network", "SDL"}},
        {"app", {"online/", "level/", "game/", "menu/", "GameEntry"}},
        {"online", {"level/", "game/", "menu/", "GameEntry"}},
        {"level", {"game/", "menu/", "GameEntry", "app/audio/", "SDL"}},
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

    // The C library's transcendental functions pick their code by CPU and differ
    // in the last bit between machines: the simulation takes its sine and cosine
    // from sim/physics/DeterministicTrig and calls none of them.
    const std::regex call(
        "std::(sin|cos|tan|atan|atan2|exp|log|pow|hypot)\\(|(^|[^A-Za-z0-9_])(sinf|cosf|atan2f)"
        "\\(");
    filesRead = 0;
    for (const auto& file : std::filesystem::recursive_directory_iterator("src/sim")) {
        if (!file.is_regular_file() || file.path().filename() == "DeterministicTrig.cpp") {
            continue;
        }
        ++filesRead;
        std::ifstream in(file.path());
        for (std::string line; std::getline(in, line);) {
            EXPECT_FALSE(std::regex_search(line, call)) << file.path() << ": " << line;
        }
    }
    EXPECT_GT(filesRead, 40) << "run from the source folder";
}
