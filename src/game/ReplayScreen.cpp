#include "game/ReplayScreen.hpp"

#include <SFML/Graphics/Image.hpp>

#include <cstdio>

#include "app/files/Files.hpp"
#include "app/look/ScreenLook.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "sim/base/FileBytes.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/run/LevelStamp.hpp"
#include "sim/run/RunText.hpp"

ReplayScreen::ReplayScreen(GameWindow& window, const ReplaySource& source)
    : window(window), hudView(ScreenLook::logicalView()), show(window) {
    ScreenLook::loadFont(font);
    open(source);
    loadLabels(source);
}

// The checks a run passes before it is shown, in the order a viewer would
// want the reason: a run at all, a level of this game, that level's file
// there, and the run made on that very file in this physics.
void ReplayScreen::open(const ReplaySource& source) {
    if (!source.problem.empty()) {
        refuse(source.problem);
        return;
    }
    RecordedRun run;
    std::string error;
    if (!parseRun(source.runText, run, error)) {
        refuse("this is not a run: " + error);
        return;
    }
    const std::string levelFile = source.levelFile.empty() ? levelFileOfRun(run) : source.levelFile;
    if (levelFile.empty()) {
        refuse("its level (id " + std::to_string(run.levelId) + ") is not one of this game's");
        return;
    }
    const auto bytes = readWholeFile(levelFile);
    if (!bytes) {
        refuse("its level file " + levelFile + " is missing");
        return;
    }
    const std::string levelBytes(bytes->data(), bytes->size());
    const std::string mismatch = stampProblem(run, sha256Hex(levelBytes));
    if (!mismatch.empty()) {
        refuse(mismatch);
        return;
    }
    replay = std::make_unique<RunTimeline>(std::move(run), levelBytes);
    // The level's picture, as the level selection shows it; none is no fault.
    sf::Image thumbnail;
    loadImage(thumbnail, levelFile + ".png");
    show.begin(replay->simulation(), thumbnail);
}

void ReplayScreen::refuse(const std::string& reason) {
    refusal = reason;
    std::fprintf(stderr, "rollavortex: cannot replay the run: %s\n", reason.c_str());
}

void ReplayScreen::run() {
    while (!over()) {
        runFrame();
    }
}

void ReplayScreen::runFrame() {
    update(window.frameTime());
    if (over()) {
        return;
    }
    draw();
}

bool ReplayScreen::over() const {
    return quit || !window.isOpen();
}

// One frame's update. Reads: the window's keys and frame time. Writes: the
// pause, speed and position; the recorded frames due at the speed (or the
// one asked for while paused) played into the simulation and handed to the
// show; the show's animations by the frame time at the speed.
void ReplayScreen::update(float frameTime) {
    window.setInputUse(InputUse::menu);
    lastPlayed = 0;
    stepAsked = false;
    if (!readKeys() || !replay) {
        return;
    }
    const double shown = pause ? 0.0 : static_cast<double>(frameTime) * speeds[speed];
    show.beginFrame(static_cast<float>(shown));
    double animated = shown;
    if (!pause) {
        lastPlayed = playFor(shown);
    } else if (stepAsked && !replay->atEnd()) {
        // A step shows its frame as it would have passed.
        animated = replay->run().frameTimes[replay->frame()];
        playOne();
        lastPlayed = 1;
    }
    show.animate(static_cast<float>(animated), replay->simulation());
    menuMusic().update();
}

bool ReplayScreen::readKeys() {
    sf::Event event;
    while (window.pollEvent(event)) {
        if (event.type == sf::Event::Closed) {
            window.close();
            return false;
        }
        if (event.type == sf::Event::KeyPressed) {
            handleKey(event.key.code);
        }
        if (quit) {
            return false;
        }
    }
    return true;
}

void ReplayScreen::handleKey(sf::Keyboard::Key key) {
    if (key == sf::Keyboard::Escape) {
        quit = true;
        return;
    }
    if (!replay) {
        return;
    }
    switch (key) {
        case sf::Keyboard::Space:
        case sf::Keyboard::Enter:
            pause = !pause;
            owed = 0.0;
            break;
        case sf::Keyboard::Up:
            speed = std::min(speed + 1, static_cast<int>(speeds.size()) - 1);
            break;
        case sf::Keyboard::Down:
            speed = std::max(speed - 1, 0);
            break;
        case sf::Keyboard::Left:
            seekBy(-seekSeconds);
            break;
        case sf::Keyboard::Right:
            seekBy(seekSeconds);
            break;
        case sf::Keyboard::Period:
        case sf::Keyboard::PageDown:
            stepAsked = pause;
            break;
        case sf::Keyboard::R:
        case sf::Keyboard::Home:
            seekTo(0);
            break;
        default:
            break;
    }
}

void ReplayScreen::seekBy(double seconds) {
    const RunTimes& times = replay->times();
    seekTo(times.frameAt(times.secondsAt(replay->frame()) + seconds));
}

void ReplayScreen::seekTo(std::size_t frame) {
    replay->seek(frame);
    show.catchUp(replay->simulation());
    owed = 0.0;
}

int ReplayScreen::playFor(double seconds) {
    owed += seconds;
    int played = 0;
    while (!replay->atEnd()) {
        const double next = replay->run().frameTimes[replay->frame()];
        if (owed < next) {
            break;
        }
        owed -= next;
        playOne();
        ++played;
    }
    if (replay->atEnd()) {
        owed = 0.0;
    }
    return played;
}

void ReplayScreen::playOne() {
    const FrameReport report = replay->playNext();
    show.takeFrame(report, replay->simulation());
    if (report.finishedNow) {
        show.playFinishSound(false);
    }
}
