#include "CustomLevelSupport.hpp"

#include "TempFolder.hpp"
#include "app/files/UserFolders.hpp"

namespace {

// The play screen opens after the selection's fade-out and counts down 5 s.
constexpr std::uint64_t countdownOver = 61 + 300 + 30;
constexpr std::uint64_t quarterTurnFrames = 20;  // 280 degrees a second
constexpr std::uint64_t spaceEvery = 30;
constexpr std::uint64_t spaces = 20;

}  // namespace

std::filesystem::path dropLevel(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(defaultCustomLevelFolder());
    const std::filesystem::path file = defaultCustomLevelFolder() / name;
    writeFileBytes(file.string(), bytes);
    return file;
}

int indexOfFile(const LevelSelectScreen& screen, const std::string& fileName) {
    const auto& levels = screen.levels().levels;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (std::filesystem::path(levels[i].file).filename() == fileName) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::uint64_t moveToLevel(ScriptedGame& game, std::uint64_t frame, int index, int levels) {
    frame = game.tapKeys(frame, {sf::Keyboard::Down, sf::Keyboard::Down}, 4);
    for (int i = 0; i < levels - index; ++i) {
        frame = game.tapKeys(frame, {sf::Keyboard::Left}, 4);
    }
    return frame;
}

std::uint64_t playShownCorridor(ScriptedGame& game, std::uint64_t frame) {
    const std::uint64_t play = game.tapKeys(frame, {sf::Keyboard::Up, sf::Keyboard::Return}, 4) - 4;
    const std::uint64_t turn = play + countdownOver;
    game.keyAt(turn, sf::Keyboard::Right, false);
    game.window().queueEventAt(turn + quarterTurnFrames,
                               GameWindow::keyEvent(sf::Keyboard::Right, false));
    for (std::uint64_t i = 0; i < spaces; ++i) {
        game.keyAt(turn + 60 + i * spaceEvery, sf::Keyboard::Space);
    }
    return play;
}
