#include "PlayDriver.hpp"

LevelCatalogue corridorCatalogue() {
    LevelCatalogue catalogue;
    catalogue.addLevel(corridorLevel, "Corridor", corridorId);
    catalogue.addLevel(longCorridorLevel, "Long Corridor", longCorridorId);
    catalogue.loadThumbnails();
    return catalogue;
}

LevelCatalogue corridorAs(int levelId) {
    LevelCatalogue catalogue;
    catalogue.addLevel(corridorLevel, "Corridor", levelId);
    catalogue.loadThumbnails();
    return catalogue;
}

CorridorDriver::CorridorDriver(ScriptedGame& game, PlayScreen& screen) : screen(screen) {
    game.everyFrame([this](GameWindow& window) { onFrame(window); });
}

void CorridorDriver::send(GameWindow& window, const sf::Event& event, std::uint64_t delay) {
    // Queued in this frame's display: read by the poll of a later frame.
    window.queueEventAt(window.frameNumber() + delay, event);
}

void CorridorDriver::onFrame(GameWindow& window) {
    if (!enabled || screen.currentState() != PlayScreen::playing || screen.quitting()) {
        return;
    }
    const LevelSimulation& sim = screen.simulation();
    const PlayState& play = sim.play();
    if (play.countdownRunning) {
        return;
    }
    if (!sim.finished()) {
        if (!sim.keys().rightHeld && sim.viewAngle() > -90.0f) {
            send(window, GameWindow::keyEvent(sf::Keyboard::Right, true));
        } else if (sim.keys().rightHeld && sim.viewAngle() <= -90.0f) {
            send(window, GameWindow::keyEvent(sf::Keyboard::Right, false));
        }
        return;
    }
    if (screen.finishFlashLeft() == 0.0f && screen.bannerWave().incoming &&
        !screen.keysOfScreen().confirm) {
        send(window, GameWindow::keyEvent(sf::Keyboard::Space, true));
        send(window, GameWindow::keyEvent(sf::Keyboard::Space, false), 3);
    }
}
