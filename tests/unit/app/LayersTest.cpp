#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Layers point down: app at the bottom, online beside it, then level, game and
// menu; the start-up order at the top (src/GameEntry) sees them all. An
// include of a higher layer is a fault wherever it appears.

namespace {

struct LayerRule {
    const char* folder;
    std::vector<std::string> above;  // folders it must not include
};

std::vector<std::string> includesOf(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> found;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("#include \"", 0) == 0) {
            found.push_back(line.substr(10, line.find('"', 10) - 10));
        }
    }
    return found;
}

}  // namespace

TEST(Layers, NoFolderIncludesALayerAboveIt) {
    const LayerRule rules[] = {
        {"app", {"online", "level", "game", "menu", "GameEntry.hpp"}},
        {"online", {"level", "game", "menu", "GameEntry.hpp"}},
        {"level", {"menu", "GameEntry.hpp"}},
        {"game", {"menu", "GameEntry.hpp"}},
        {"menu", {"GameEntry.hpp"}},
    };
    int filesRead = 0;
    for (const LayerRule& rule : rules) {
        const std::string folder = std::string("src/") + rule.folder;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            if (!entry.is_regular_file()) {
                continue;
            }
            ++filesRead;
            for (const std::string& include : includesOf(entry.path())) {
                for (const std::string& above : rule.above) {
                    EXPECT_NE(include.rfind(above, 0), 0u)
                        << entry.path() << " includes " << include;
                }
            }
        }
    }
    EXPECT_GT(filesRead, 100) << "run from the source folder";
}
