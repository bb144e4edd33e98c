#include "ScriptedGame.hpp"

#include <cstdlib>

#include "app/platform/Random.hpp"

namespace {

std::string prepareSettings(const TempFolder& folder, const std::string& text) {
    const std::string path = folder.file(".Rollavortex");
    if (!text.empty()) {
        writeFileBytes(path, text);
    }
    return path;
}

// The title never starts like the game's own, so end-to-end tests sharing the
// display never mistake a scene test's window for the game.
void openWindow(GameWindow& window, unsigned width, unsigned height) {
    window.open(sf::VideoMode(width, height, 32), "Scripted scene test",
                sf::Style::Titlebar | sf::Style::Close, sf::ContextSettings(24, 8, 0));
}

}  // namespace

bool haveDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

ScriptedGame::ScriptedGame(const std::string& settingsText, float frameTime,
                           std::uint64_t frameBudget)
    : userData(temp.path(), "XDG_DATA_HOME"),
      path(prepareSettings(temp, settingsText)),
      objects(path) {
    Random::seed(Random::fixedSeed);
    gameWindow.startScript(frameTime);
    gameWindow.setFrameBudget(frameBudget);
    // Small and windowed: the logical view scales to any size.
    openWindow(gameWindow, 640, 512);
    gameWindow.setFrameHook([this](GameWindow& window) {
        for (Trigger& trigger : triggers) {
            if (!trigger.done && trigger.condition(window)) {
                trigger.done = true;
                trigger.action(window);
            }
        }
        for (auto& action : frameActions) {
            action(window);
        }
    });
}

void ScriptedGame::keyAt(std::uint64_t frame, sf::Keyboard::Key key, bool release, bool shift,
                         bool control) {
    gameWindow.queueEventAt(frame, GameWindow::keyEvent(key, true, shift, control));
    if (release) {
        gameWindow.queueEventAt(frame + 1, GameWindow::keyEvent(key, false, shift, control));
    }
}

std::uint64_t ScriptedGame::tapKeys(std::uint64_t frame, const std::vector<sf::Keyboard::Key>& keys,
                                    std::uint64_t gap) {
    for (sf::Keyboard::Key key : keys) {
        keyAt(frame, key);
        frame += gap;
    }
    return frame;
}

void ScriptedGame::closeAt(std::uint64_t frame) {
    gameWindow.queueEventAt(frame, GameWindow::closedEvent());
}

void ScriptedGame::when(std::function<bool(GameWindow&)> condition,
                        std::function<void(GameWindow&)> action) {
    triggers.push_back({std::move(condition), std::move(action), false});
}

void ScriptedGame::everyFrame(std::function<void(GameWindow&)> action) {
    frameActions.push_back(std::move(action));
}

std::string ScriptedGame::savedSettingsFile() {
    objects.settings.save();
    return slurpFile(path);
}

std::string settingsText(const std::map<std::string, std::string>& values) {
    std::string text = "Rollavortex settings\n\n";
    for (const auto& [key, value] : values) {
        text += key + "\t" + value + "\n";
    }
    return text;
}
