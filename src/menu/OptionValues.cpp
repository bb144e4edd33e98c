#include "menu/OptionValues.hpp"

#include <algorithm>

#include "app/files/Settings.hpp"

OptionValues OptionValues::read(const Settings& store) {
    OptionValues v;
    v.screenWidth = store.get(Setting::screenWidth);
    v.screenHeight = store.get(Setting::screenHeight);
    v.screenDepth = store.get(Setting::screenDepth);
    v.fullscreen = store.get(Setting::fullscreen);
    v.submitScores = store.get(Setting::submitScores);
    v.turnSpeed = store.get(Setting::turnSpeed);
    v.shiftSpeed = store.get(Setting::shiftSpeed);
    v.controlSpeed = store.get(Setting::controlSpeed);
    v.invertControls = store.get(Setting::invertControls);
    v.musicVolume = store.get(Setting::musicVolume);
    v.drawClouds = store.get(Setting::drawClouds);
    v.ghost = store.get(Setting::ghost);
    return v;
}

void OptionValues::write(Settings& store) const {
    store.set(Setting::screenWidth, screenWidth);
    store.set(Setting::screenHeight, screenHeight);
    store.set(Setting::screenDepth, screenDepth);
    store.set(Setting::fullscreen, fullscreen);
    store.set(Setting::submitScores, submitScores);
    store.set(Setting::turnSpeed, turnSpeed);
    store.set(Setting::shiftSpeed, shiftSpeed);
    store.set(Setting::controlSpeed, controlSpeed);
    store.set(Setting::invertControls, invertControls);
    store.set(Setting::musicVolume, musicVolume);
    store.set(Setting::drawClouds, drawClouds);
    store.set(Setting::ghost, ghost);
}

namespace {

std::size_t lastIndexOfWidth(int width) {
    std::size_t found = 0;
    for (std::size_t i = 0; i < optionResolutions.size(); ++i) {
        if (optionResolutions[i].width == width) {
            found = i;
        }
    }
    return found;
}

// An on/off line always flips what it shows, even for an odd stored value.
void toggle(int& value) {
    value = value != 0 ? 0 : 1;
}

void stepSpeed(float& speed, int direction) {
    const float next = speed + OptionLines::speedStep * static_cast<float>(direction);
    speed = direction < 0 ? std::max(next, OptionLines::minSpeed)
                          : std::min(next, OptionLines::maxSpeed);
}

std::string yesNo(int value) {
    return value != 0 ? "Yes" : "No";
}

// Whole degrees, the fraction cut off.
std::string degrees(float speed) {
    return std::to_string(static_cast<int>(speed)) + " Degrees";
}

constexpr int ghostChoices = 3;

// Left and Right go round the three ghosts; a stored value out of range
// starts again from "Off".
void stepGhost(int& ghost, int direction) {
    const int from = ghost >= 0 && ghost < ghostChoices ? ghost : Setting::ghostOff;
    ghost = (from + direction + ghostChoices) % ghostChoices;
}

std::string ghostName(int ghost) {
    switch (ghost) {
        case Setting::ghostPersonalBest:
            return "Personal Best";
        case Setting::ghostRecord:
            return "Record";
        default:
            return "Off";
    }
}

std::string valueLine(const std::string& label, const std::string& value) {
    return "< " + label + ": " + value + " >";
}

}  // namespace

OptionLines::OptionLines(const OptionValues& start)
    : values(start), resolutionIndex(lastIndexOfWidth(start.screenWidth)) {}

bool OptionLines::change(int line, int direction) {
    const std::size_t count = optionResolutions.size();
    switch (line) {
        case resolutionLine:
            resolutionIndex = direction < 0 ? (resolutionIndex + count - 1) % count
                                            : (resolutionIndex + 1) % count;
            values.screenWidth = optionResolutions[resolutionIndex].width;
            values.screenHeight = optionResolutions[resolutionIndex].height;
            return true;
        case screenDepthLine:
            // Only the two depths the game knows swap; anything else stays.
            if (values.screenDepth == 16 || values.screenDepth == 32) {
                values.screenDepth = 48 - values.screenDepth;
            }
            return true;
        case fullscreenLine:
            toggle(values.fullscreen);
            return true;
        case turnSpeedLine:
            stepSpeed(values.turnSpeed, direction);
            return true;
        case shiftSpeedLine:
            stepSpeed(values.shiftSpeed, direction);
            return true;
        case controlSpeedLine:
            stepSpeed(values.controlSpeed, direction);
            return true;
        case submitScoresLine:
            toggle(values.submitScores);
            return true;
        case invertControlsLine:
            toggle(values.invertControls);
            return true;
        case musicVolumeLine:
            values.musicVolume =
                std::clamp(values.musicVolume + direction, 0, Setting::maxMusicVolume);
            return true;
        case drawCloudsLine:
            toggle(values.drawClouds);
            return true;
        case ghostLine:
            stepGhost(values.ghost, direction);
            return true;
        default:
            return false;
    }
}

std::string OptionLines::text(int line) const {
    switch (line) {
        case resolutionLine:
            // The stored size itself, so a size set by hand shows as it is.
            return valueLine("Resolution", std::to_string(values.screenWidth) + " x " +
                                               std::to_string(values.screenHeight));
        case screenDepthLine:
            return "< Screen Depth: " + std::to_string(values.screenDepth) + " Bit >";
        case fullscreenLine:
            return valueLine("Fullscreen", yesNo(values.fullscreen));
        case turnSpeedLine:
            return valueLine("Turnspeed", degrees(values.turnSpeed));
        case shiftSpeedLine:
            return valueLine("Shift Turnspeed", degrees(values.shiftSpeed));
        case controlSpeedLine:
            return valueLine("Ctrl Turnspeed", degrees(values.controlSpeed));
        case submitScoresLine:
            return valueLine("Submit Scores Online", yesNo(values.submitScores));
        case highscoreNameLine:
            return "Set Highscore Name";
        case invertControlsLine:
            return valueLine("Invert Controls", yesNo(values.invertControls));
        case musicVolumeLine:
            return valueLine("Music Volume", std::to_string(values.musicVolume));
        case drawCloudsLine:
            return valueLine("Draw Clouds", yesNo(values.drawClouds));
        case ghostLine:
            return valueLine("Ghost", ghostName(values.ghost));
        case controlsLine:
            return "Controls";
        case backLine:
            return "Back";
        default:
            return "";
    }
}
