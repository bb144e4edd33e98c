#pragma once

#include <array>
#include <string>

class Settings;

// The options the options screen edits, as working values: they change only
// on screen and reach the settings all at once when the player leaves.
struct OptionValues {
    int screenWidth = 800;
    int screenHeight = 600;
    int screenDepth = 32;
    int fullscreen = 1;
    int submitScores = 1;
    // Degrees per second.
    float turnSpeed = 280.0f;
    float shiftSpeed = 140.0f;
    float controlSpeed = 420.0f;
    int invertControls = 0;
    // 0 (silent) to 9 (full).
    int musicVolume = 7;
    int drawClouds = 1;

    static OptionValues read(const Settings& store);
    void write(Settings& store) const;
};

// The thirteen lines of the options screen, top to bottom.
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
    static constexpr float minSpeed = 100.0f;
    static constexpr float maxSpeed = 720.0f;
    static constexpr float speedStep = 20.0f;
    static constexpr int maxMusicVolume = 9;

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
