#include "PlayDriver.hpp"

LevelCatalogue corridorCatalogue() {
    LevelCatalogue catalogue;
    catalogue.addLevel(corridorLevel, "Corridor", corridorId);
    catalogue.addLevel(longCorridorLevel, "Long Corridor", longCorridorId);
    catalogue.loadThumbnails();
    return catalogue;
}

CorridorDriver::CorridorDriver(ScriptedGame& game, PlayScreen& screen) : screen(screen) {
    game.everyFrame([this](GameWindow& window) { onFrame(window); });
}

void CorridorDriver::send(GameWindow& window, const sf::Event& event, std::uint64_t delay) {
    // Queued in this frame's display: read by the poll of a later frame.
    const std::uint64_t readIn = window.frameNumber() + delay;
    window.queueEventAt(readIn, event);
    sent[readIn].push_back(event);
}

void CorridorDriver::onFrame(GameWindow& window) {
    // Called in the display of the frame, before the window measures the next
    // frame time: this is the time the frame was played with.
    frameTimes[window.frameNumber()] = window.frameTime();
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
    if (play.finishFlash == 0.0f && screen.bannerWave().incoming && !play.jumpRequested) {
        send(window, GameWindow::keyEvent(sf::Keyboard::Space, true));
        send(window, GameWindow::keyEvent(sf::Keyboard::Space, false), 3);
    }
}
