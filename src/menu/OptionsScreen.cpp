#include "menu/OptionsScreen.hpp"

#include <vector>

#include "app/look/ScreenLook.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "menu/ControlsScreen.hpp"
#include "menu/MenuDrawing.hpp"
#include "menu/NameEntryScreen.hpp"

namespace {

constexpr unsigned lineSize = 42;
constexpr float firstLineY = 100.0f;
constexpr float lineGap = 60.0f;
constexpr float backY = 900.0f;
// Keys count only once the fade-in is over.
constexpr float inputThreshold = 0.0f;

}  // namespace

OptionsScreen::OptionsScreen(GameWindow& gameWindow, ParticleEmitter* cloudBackdrop)
    : window(gameWindow),
      clouds(cloudBackdrop),
      lines(OptionValues::read(settings())),
      windowFullscreen(gameWindow.fullscreen()) {
    ScreenLook::loadFont(font);
    click.load(ScreenLook::clickSoundPath());
    // The main menu's view; set here too so the screen stands on its own.
    view = ScreenLook::logicalView();
    std::vector<std::string> texts;
    std::vector<float> tops;
    for (int line = 0; line < optionLineCount; ++line) {
        texts.push_back(lines.text(line));
        tops.push_back(line == backLine ? backY : firstLineY + lineGap * static_cast<float>(line));
    }
    menu.setItems(texts, tops, font, lineSize);
}

void OptionsScreen::rebuildLine(int line) {
    menu.setLabel(static_cast<std::size_t>(line), lines.text(line));
}

void OptionsScreen::save() {
    lines.values.write(settings());
}

void OptionsScreen::changeValue(int direction) {
    if (!lines.change(menu.selected, direction)) {
        return;
    }
    rebuildLine(menu.selected);
    click.play();
    if (menu.selected == fullscreenLine) {
        window.setFullscreen(lines.values.fullscreen > 0);
        windowFullscreen = window.fullscreen();
    }
    if (menu.selected == musicVolumeLine) {
        const float volume = static_cast<float>(lines.values.musicVolume) /
                             static_cast<float>(Setting::maxMusicVolume);
        menuMusic().volume = volume;
        gameMusic().volume = volume;
    }
}

void OptionsScreen::runNameEntry() {
    {
        NameEntryScreen entry(window, clouds, false);
        entry.run();
    }
    // The name entry writes "submitscores" itself; adopt it so that saving
    // here does not undo it.
    lines.values.submitScores = settings().get(Setting::submitScores);
    rebuildLine(submitScoresLine);
    // The name entry left on a black frame.
    fade.restartFadeIn();
}

void OptionsScreen::runControls() {
    {
        ControlsScreen controls(window, clouds, lines.values.drawClouds > 0);
        controls.run();
    }
    fade.restartFadeIn();
}

// F11 switched the screen while the options were open: the line follows, so
// that leaving does not store the old choice again.
void OptionsScreen::followFullscreenSwitch() {
    if (window.fullscreen() == windowFullscreen) {
        return;
    }
    windowFullscreen = window.fullscreen();
    lines.values.fullscreen = windowFullscreen ? 1 : 0;
    rebuildLine(fullscreenLine);
}

void OptionsScreen::handleKey(const sf::Event::KeyEvent& key) {
    switch (key.code) {
        case sf::Keyboard::Down:
            menu.moveDown(click);
            break;
        case sf::Keyboard::Up:
            menu.moveUp(click);
            break;
        case sf::Keyboard::Left:
            changeValue(-1);
            break;
        case sf::Keyboard::Right:
            changeValue(1);
            break;
        case sf::Keyboard::Return:
        case sf::Keyboard::Space:
            click.play();
            if (menu.selected == backLine) {
                save();
                fade.startFadeOut();
            } else if (menu.selected == highscoreNameLine) {
                runNameEntry();
            } else if (menu.selected == controlsLine) {
                runControls();
            }
            break;
        case sf::Keyboard::Escape:
            click.play();
            save();
            fade.startFadeOut();
            break;
        default:
            break;
    }
}

// Reads the keys (the name entry runs its own frames from here), moves clouds
// and highlight on and ends the screen with its fade-out.
void OptionsScreen::update(float frameTime) {
    // Closed inside the name entry too: nothing more will come, and the
    // working values are dropped.
    if (!MenuDrawing::readMenuKeys(window, fade, inputThreshold,
                                   [this](const sf::Event::KeyEvent& key) { handleKey(key); })) {
        return;
    }
    MenuDrawing::updateClouds(clouds, lines.values.drawClouds > 0, frameTime);
    menu.highlight(frameTime);
    if (fade.advance(frameTime)) {
        quit = true;
    }
    menuMusic().update();
}

void OptionsScreen::draw() const {
    MenuDrawing::beginFrame(window, view, clouds, lines.values.drawClouds > 0);
    MenuDrawing::drawMenu(window, menu);
    fade.draw(window);
    window.display();
}

void OptionsScreen::run() {
    while (!quit && window.isOpen()) {
        update(window.frameTime());
        if (quit || !window.isOpen()) {
            return;
        }
        followFullscreenSwitch();
        draw();
    }
}
