#include "RunDriver.hpp"

#include "app/input/PlayInputEvents.hpp"

RunDriver::RunDriver(ScriptedGame& game, PlayScreen& screen, const RecordedRun& run,
                     std::uint64_t frameLimit)
    : screen(screen), run(run), frameLimit(frameLimit) {
    game.everyFrame([this](GameWindow& window) { onFrame(window); });
}

void RunDriver::onFrame(GameWindow& window) {
    const std::uint64_t frame = window.frameNumber();
    const std::size_t consumed = screen.recording().run().frameCount();
    if (!started && consumed > 0) {
        // The simulation has taken `consumed` frames: the next window frame
        // reads the inputs of run frame `consumed`.
        started = true;
        for (const RecordedInput& input : run.inputs) {
            if (input.frame >= consumed) {
                window.queueEventAt(frame + 1 + input.frame - consumed, eventOf(input.input));
            }
        }
        return;
    }
    if (screen.finishState().phase == FinishPhase::banner && screen.finishFlashLeft() == 0.0f &&
        !spaceSent) {
        spaceSent = true;
        window.queueEventAt(frame + 1, GameWindow::keyEvent(sf::Keyboard::Space, true));
        window.queueEventAt(frame + 3, GameWindow::keyEvent(sf::Keyboard::Space, false));
    }
    if (frame > frameLimit) {
        window.queueEvent(GameWindow::closedEvent());
    }
}
