#pragma once

#include "sim/play/TurnSpeeds.hpp"

#include <array>
#include <string>

#include "app/files/SettingKeys.hpp"

class Settings;

// The options the options screen edits, as working values: they change only
// on screen and reach the settings all at once when the player leaves. Each
// starts from its setting's default (SettingKeys has units and ranges).
struct OptionValues {
    int screenWidth = Setting::screenWidth.fallback;
    int screenHeight = Setting::screenHeight.fallback;
    int screenDepth = Setting::screenDepth.fallback;
    int fullscreen = Setting::fullscreen.fallback;
    int submitScores = Setting::submitScores.fallback;
    float turnSpeed = Setting::turnSpeed.fallback;
    float shiftSpeed = Setting::shiftSpeed.fallback;
    float controlSpeed = Setting::controlSpeed.fallback;
    int invertControls = Setting::invertControls.fallback;
    int musicVolume = Setting::musicVolume.fallback;
    int drawClouds = Setting::drawClouds.fallback;
    int ghost = Setting::ghost.fallback;

    static OptionValues read(const Settings& store);
    void write(Settings& store) const;
};

// The fourteen lines of the options screen, top to bottom.
enum OptionLine {
    resolutionLine,
    screenDepthLine,
    fullscreenLine,
    turnSpeedLine,
    shiftSpeedLine,
    controlSpeedLine,
    submitScoresLine,
    highscoreNameLine,
    invertControlsLine,
    musicVolumeLine,
    drawCloudsLine,
    ghostLine,
    controlsLine,
    backLine,
    optionLineCount
};

struct Resolution {
    int width;
    int height;
};
inline constexpr std::array<Resolution, 3> optionResolutions{
    {{800, 600}, {1024, 768}, {1280, 1024}}};

// The rules of the lines: what Left and Right do to each value and how each
// line reads.
class OptionLines {
  public:
    static constexpr float minSpeed = TurnSpeeds::slowest;
    static constexpr float maxSpeed = TurnSpeeds::fastest;
    static constexpr float speedStep = 20.0f;

    explicit OptionLines(const OptionValues& start);

    // Left (direction -1) or Right (+1) on a line. False for the lines without
    // a value ("Set Highscore Name", "Controls", "Back"), which do not react.
    bool change(int line, int direction);
    std::string text(int line) const;

    OptionValues values;
    // The resolution entry Left and Right step from; the first entry when the
    // stored width is not one of the list's.
    std::size_t resolutionIndex = 0;
};
