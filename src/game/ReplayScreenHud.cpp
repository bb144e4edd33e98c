// The replay screen's labels, head-up display, legend and refusal.

#include <SFML/Graphics/RectangleShape.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "app/look/ScreenLook.hpp"
#include "app/look/ShadowedLabel.hpp"
#include "app/platform/GameWindow.hpp"
#include "game/ReplayScreen.hpp"
#include "game/ScoreFont.hpp"

namespace {

constexpr float margin = 24.0f;  // logical units from the screen's edges
constexpr float firstLineY = 14.0f;
constexpr float secondLineY = 62.0f;
constexpr unsigned titleSize = 40;
constexpr unsigned subjectSize = 30;
constexpr float barY = 108.0f;
constexpr float barHeight = 8.0f;
const sf::Color barTrack(255, 255, 255, 90);
constexpr unsigned legendSize = 20;
constexpr float legendTop = 132.0f;
constexpr float legendLineStep = 25.0f;
constexpr float legendGap = 14.0f;  // between a row's keys and its action
const sf::Color legendColour(255, 255, 255, 230);
const sf::Color legendHeadColour(255, 255, 255, 150);
// Dark glass behind the texts so they read over any level.
const sf::Color panelColour(16, 22, 40, 140);
constexpr float panelPadding = 10.0f;
// Texts from a run or a file name are cut to this many characters.
constexpr std::size_t longestName = 40;
constexpr float refusalTitleY = 380.0f;
constexpr float refusalWhoseY = 460.0f;
constexpr float refusalReasonY = 530.0f;
constexpr float refusalLineStep = 44.0f;
constexpr std::size_t refusalLineLength = 56;
constexpr float backHintY = 900.0f;

// The legend: each action with its keys and, after the slash, the pad's
// button or stick (the menu keys they stand for, app/PadLayout).
struct LegendRow {
    const char* keys;
    const char* action;
};
const std::array<LegendRow, 7> legendRows{{
    {"key / pad", ""},
    {"Space / bottom", "pause"},
    {"Up, Down / stick", "speed"},
    {"Left, Right / stick", "5 s back, ahead"},
    {". / left", "next frame"},
    {"R / top", "restart"},
    {"Escape / right", "back"},
}};

sf::String utf8(const std::string& text) {
    return sf::String::fromUtf8(text.begin(), text.end());
}

std::string textOf(const sf::Text& label) {
    const std::basic_string<sf::Uint8> bytes = label.getString().toUtf8();
    return std::string(bytes.begin(), bytes.end());
}

std::string cut(const std::string& text) {
    return text.size() <= longestName ? text : text.substr(0, longestName - 3) + "...";
}

sf::Text labelAt(const sf::Font& font, const std::string& text, unsigned size, float x, float y) {
    sf::Text label(utf8(text), font, size);
    label.setPosition(x, y);
    return label;
}

// The same with its right edge at x.
sf::Text rightLabelAt(const sf::Font& font, const std::string& text, unsigned size, float x,
                      float y) {
    sf::Text label = labelAt(font, text, size, x, y);
    const sf::FloatRect bounds = label.getLocalBounds();
    label.setPosition(x - bounds.left - bounds.width, y);
    return label;
}

// Minutes, seconds and tenths of game time: "0:12.5".
std::string positionText(double seconds) {
    const long tenths = std::lround(seconds * 10.0);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld.%ld", tenths / 600, tenths / 10 % 60, tenths % 10);
    return text;
}

// Words no wider than `length` characters a line.
std::vector<std::string> wrapped(const std::string& text, std::size_t length) {
    std::vector<std::string> lines{""};
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string word = text.substr(start, end - start);
        if (!lines.back().empty() && lines.back().size() + 1 + word.size() > length) {
            lines.push_back("");
        }
        lines.back() += (lines.back().empty() ? "" : " ") + word;
        start = end + 1;
    }
    return lines;
}

void drawPanel(sf::RenderTarget& target, const sf::FloatRect& area) {
    sf::RectangleShape panel(sf::Vector2f(area.width, area.height));
    panel.setPosition(area.left, area.top);
    panel.setFillColor(panelColour);
    target.draw(panel);
}

}  // namespace

void ReplayScreen::loadLabels(const ReplaySource& source) {
    if (!replay) {
        placeLabel(refusalTitle, font, "This run cannot be shown", refusalTitleY);
        placeLabel(subject, font, utf8(cut(source.whose)), refusalWhoseY, subjectSize);
        subject.setFillColor(legendHeadColour);
        return;
    }
    const RecordedRun& run = replay->run();
    title = labelAt(font, "Replay \xC2\xB7 " + cut(run.levelName), titleSize, margin, firstLineY);
    const std::string time =
        run.finishMilliseconds < 0
            ? std::string("not finished")
            : ScoreFont::shownText(static_cast<float>(run.finishMilliseconds) / 1000.0f, true);
    subject =
        labelAt(font, cut(source.whose) + " \xC2\xB7 " + time, subjectSize, margin, secondLineY);
}

std::string ReplayScreen::headline() const {
    return textOf(title);
}

std::string ReplayScreen::byline() const {
    return textOf(subject);
}

std::string ReplayScreen::speedText() const {
    if (pause) {
        return "Paused";
    }
    // A quarter and a half as the fractions the font has.
    static constexpr std::array<const char*, 5> shown{"\xC2\xBC\xC3\x97", "\xC2\xBD\xC3\x97",
                                                      "1\xC3\x97", "2\xC3\x97", "4\xC3\x97"};
    return shown[static_cast<std::size_t>(speed)];
}

// The level as the play screen draws it, then what says it is a replay.
void ReplayScreen::draw() const {
    if (!replay) {
        drawRefusal();
        window.display();
        return;
    }
    show.drawWorld(replay->simulation());
    show.drawHud();
    if (replay->simulation().finished()) {
        show.drawBanner();
    }
    drawReplayHud();
    show.drawIntroCover();
    window.display();
}

void ReplayScreen::drawRefusal() const {
    window.clear(ScreenLook::backdrop);
    window.setView(hudView);
    drawShadowedLabel(window, refusalTitle);
    drawShadowedLabel(window, subject);
    // The reason as a sentence; standard error has it after a colon.
    std::string reason = refusal;
    reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
    float y = refusalReasonY;
    for (const std::string& line : wrapped(reason, refusalLineLength)) {
        sf::Text text;
        placeLabel(text, font, utf8(line), y, ScreenLook::tableLineSize);
        drawShadowedLabel(window, text);
        y += refusalLineStep;
    }
    sf::Text back;
    placeLabel(back, font, "Escape: back", backHintY, ScreenLook::tableLineSize);
    back.setFillColor(legendColour);
    drawShadowedLabel(window, back);
}

// Top left what is shown and whose it is, top right the speed and the
// position in the run over a bar of the whole run, bottom right the legend.
void ReplayScreen::drawReplayHud() const {
    window.setView(hudView);
    drawPanel(window.target(),
              sf::FloatRect(0.0f, 0.0f, ScreenLook::viewWidth, barY + barHeight + margin));
    drawShadowedLabel(window, title);
    drawShadowedLabel(window, subject);
    sf::Text speedLabel =
        rightLabelAt(font, speedText(), titleSize, ScreenLook::viewWidth - margin, firstLineY);
    if (pause) {
        speedLabel.setFillColor(ScreenLook::highlightRed);
    }
    drawShadowedLabel(window, speedLabel);
    drawProgress();
    drawLegend();
}

void ReplayScreen::drawProgress() const {
    const RunTimes& times = replay->times();
    const double now = times.secondsAt(replay->frame());
    const double whole = times.totalSeconds();
    drawShadowedLabel(
        window, rightLabelAt(font, positionText(now) + " / " + positionText(whole), subjectSize,
                             ScreenLook::viewWidth - margin, secondLineY));
    const float width = ScreenLook::viewWidth - 2.0f * margin;
    sf::RectangleShape track(sf::Vector2f(width, barHeight));
    track.setPosition(margin, barY);
    track.setFillColor(barTrack);
    window.draw(track);
    const float done = whole > 0.0 ? static_cast<float>(now / whole) : 1.0f;
    sf::RectangleShape filled(sf::Vector2f(width * done, barHeight));
    filled.setPosition(margin, barY);
    filled.setFillColor(ScreenLook::highlightRed);
    window.draw(filled);
}

// The columns are as wide as their widest text, the actions against the right
// margin, so a longer word never runs off the screen.
void ReplayScreen::drawLegend() const {
    float widestKeys = 0.0f;
    float widestAction = 0.0f;
    for (const LegendRow& row : legendRows) {
        widestKeys = std::max(
            widestKeys, labelAt(font, row.keys, legendSize, 0.0f, 0.0f).getLocalBounds().width);
        widestAction = std::max(
            widestAction, labelAt(font, row.action, legendSize, 0.0f, 0.0f).getLocalBounds().width);
    }
    const float actionX = ScreenLook::viewWidth - margin - widestAction;
    const float panelLeft = actionX - legendGap - widestKeys - panelPadding;
    const float legendHeight = legendLineStep * static_cast<float>(legendRows.size());
    drawPanel(window.target(),
              sf::FloatRect(panelLeft, legendTop - panelPadding, ScreenLook::viewWidth - panelLeft,
                            legendHeight + 2.0f * panelPadding));
    float y = legendTop;
    for (const LegendRow& row : legendRows) {
        const bool head = row.action[0] == '\0';
        sf::Text keys = rightLabelAt(font, row.keys, legendSize, actionX - legendGap, y);
        keys.setFillColor(head ? legendHeadColour : legendColour);
        drawShadowedLabel(window, keys);
        sf::Text action = labelAt(font, row.action, legendSize, actionX, y);
        action.setFillColor(legendColour);
        drawShadowedLabel(window, action);
        y += legendLineStep;
    }
}
