// thumbnails: the preview picture of every level.
//
//   thumbnails LEVEL_DIR IMAGE_DIR    writes LEVEL_DIR/<Name>.tmx.png for each *.tmx
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "level/LevelPicture.hpp"
#include "level/TileImages.hpp"
#include "sim/level/TileMap.hpp"

namespace fs = std::filesystem;

namespace {

// The size the level selection and the play screen show.
constexpr unsigned thumbnailWidth = 512;
constexpr unsigned thumbnailHeight = 256;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: thumbnails LEVEL_DIR IMAGE_DIR\n";
        return 2;
    }
    const fs::path levels = argv[1];
    std::string imageFolder = argv[2];
    if (!imageFolder.empty() && imageFolder.back() != '/') {
        imageFolder += '/';
    }
    TileImages images;
    if (!images.loadImages(imageFolder)) {
        std::cerr << imageFolder << ": some tile pictures are missing\n";
        return 1;
    }
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(levels, error)) {
        if (entry.path().extension() == ".tmx") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    int failures = 0;
    for (const fs::path& file : files) {
        TileMap map;
        const std::string target = file.string() + ".png";
        if (!readTileMap(map, file.string().c_str()) ||
            !renderLevelPicture(map, images, thumbnailWidth, thumbnailHeight).saveToFile(target)) {
            std::cerr << file.string() << ": cannot render\n";
            ++failures;
            continue;
        }
        std::cout << target << "\n";
    }
    return files.empty() || failures > 0 ? 1 : 0;
}
