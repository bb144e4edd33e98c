#include "game/RunRecorder.hpp"

#include "game/LevelSimulation.hpp"

bool RunRecorder::start(const LevelSimulation& simulation, const std::string& levelName,
                        const std::string& levelFile, int levelId) {
    recorded = RecordedRun();
    recorded.levelName = levelName;
    recorded.mode = simulation.mode();
    recorded.turnSpeeds = simulation.turnSpeeds();
    pendingEvents.clear();
    started = true;
    return stampLevelFile(recorded, levelFile, levelId);
}

void RunRecorder::event(const sf::Event& event) {
    if (!recording()) {
        return;
    }
    if (event.type == sf::Event::KeyPressed || event.type == sf::Event::KeyReleased) {
        pendingEvents.push_back(event);
    }
}

void RunRecorder::frame(float frameTime, const LevelSimulation& simulation) {
    if (!recording()) {
        return;
    }
    // A frame of no time changes nothing but the keys, so its events go with
    // the next frame: the run stays the same and every frame it keeps has a
    // length, as a submitted run must.
    if (frameTime <= 0.0f && !simulation.finished()) {
        return;
    }
    recorded.frames.push_back({frameTime, std::move(pendingEvents)});
    pendingEvents.clear();
    if (simulation.finished()) {
        recorded.finishMilliseconds = raceMilliseconds(simulation.raceClock());
    }
}
