#include "MenuSceneSupport.hpp"

#include <chrono>
#include <filesystem>
#include <thread>

#include "online/HighscoreClient.hpp"
#include "online/ScoreText.hpp"

HighscoreServer::HighscoreServer() : process(folder.file("scores.db"), folder.file("server.log")) {
    started = !ServerProcess::binaryPath().empty() && process.start();
}

void HighscoreServer::submit(const std::string& name, int mode, int levelId, float seconds) const {
    HighscoreClient(address()).submitScore(name, mode, levelId, encodeTime(seconds));
}

std::string settingsText(const std::map<std::string, std::string>& values) {
    std::string text = "Rollavortex settings\n\n";
    for (const auto& [key, value] : values) {
        text += key + "\t" + value + "\n";
    }
    return text;
}

int countPixels(const sf::Image& image, const sf::FloatRect& logical,
                const std::function<bool(sf::Color)>& test) {
    const sf::Vector2u size = image.getSize();
    const float sx = static_cast<float>(size.x) / 1280.0f;
    const float sy = static_cast<float>(size.y) / 1024.0f;
    const auto x0 = static_cast<unsigned>(logical.left * sx);
    const auto y0 = static_cast<unsigned>(logical.top * sy);
    const auto x1 = std::min(size.x, static_cast<unsigned>((logical.left + logical.width) * sx));
    const auto y1 = std::min(size.y, static_cast<unsigned>((logical.top + logical.height) * sy));
    int count = 0;
    for (unsigned y = y0; y < y1; ++y) {
        for (unsigned x = x0; x < x1; ++x) {
            count += test(image.getPixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool isWhitish(sf::Color c) {
    return c.r > 220 && c.g > 220 && c.b > 220;
}

bool isLighterThanSky(sf::Color c) {
    return c.r > 180 && c.g > 195 && c.b > 220;
}

bool isGreenish(sf::Color c) {
    return c.g > 180 && c.r < 100 && c.b < 100;
}

bool isReddish(sf::Color c) {
    return c.r > 180 && c.g < 80 && c.b < 80;
}
