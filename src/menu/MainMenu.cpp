#include "menu/MainMenu.hpp"

#include "app/files/Files.hpp"
#include "app/look/ScreenLook.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "menu/LevelSelectScreen.hpp"
#include "menu/MenuDrawing.hpp"
#include "menu/NameEntryScreen.hpp"
#include "menu/OptionsScreen.hpp"
#include "menu/ReplayListScreen.hpp"
#include "sim/base/DataFolder.hpp"

namespace {

constexpr float leftMascotX = 135.0f;
constexpr float rightMascotX = 1145.0f;
constexpr float logoX = 650.0f;
constexpr float logoY = 170.0f;

}  // namespace

MainMenu::MainMenu(GameWindow& gameWindow)
    : window(gameWindow), outboxSender(settings().get(Setting::highscoreServer)) {
    ScreenLook::loadFont(font);
    right.setup(rightMascotX);
    left.setup(leftMascotX);
    loadTexture(cloudTexture, dataPath("images/lightsmoke.png"));
    configureCloudBackdrop(clouds, &cloudTexture);
    view = ScreenLook::logicalView();
    // "Exit" stands apart from the others.
    menu.setItems({"Race", "Puzzle", "Replays", "Options", "Exit"},
                  {380.0f, 470.0f, 560.0f, 650.0f, 800.0f}, font, ScreenLook::labelSize);
    click.load(ScreenLook::clickSoundPath());
    loadTexture(logoTexture, dataPath("images/rvlogo.png"));
    logo.setTexture(logoTexture, true);
    const sf::Vector2u logoSize = logoTexture.getSize();
    logo.setOrigin(static_cast<float>(logoSize.x) * 0.5f, static_cast<float>(logoSize.y) * 0.5f);
    logo.setPosition(logoX, logoY);
    fillPlaylists();
    drawClouds = settings().get(Setting::drawClouds) > 0;
    const float volume = static_cast<float>(settings().get(Setting::musicVolume)) /
                         static_cast<float>(Setting::maxMusicVolume);
    menuMusic().volume = volume;
    gameMusic().volume = volume;
    menuMusic().start();
    sendOutbox();
}

void MainMenu::sendOutbox() {
    if (settings().get(Setting::submitScores) > 0) {
        outboxSender.send();
    }
}

void MainMenu::fillPlaylists() {
    // The playlists live for the whole program; a second menu must not add the
    // songs again.
    if (menuMusic().songCount() == 0) {
        menuMusic().addSong(dataPath("music/intro.ogg"), 1.0f);
    }
    if (gameMusic().songCount() == 0) {
        gameMusic().addSong(dataPath("music/song1.ogg"), 1.0f);
        gameMusic().addSong(dataPath("music/song2.ogg"), 1.0f);
        gameMusic().addSong(dataPath("music/song3.ogg"), 1.0f);
    }
}

void MainMenu::run(const std::string& commandLineReplay) {
    if (!commandLineReplay.empty()) {
        inSubScreen = true;
        ReplayListScreen replays(window, &clouds, commandLineReplay);
        replays.run();
        inSubScreen = false;
    }
    // Even with the window closed during the intro: the name entry then
    // returns at once, and the first start still counts as done.
    if (settings().get(Setting::nameEntered) == 0) {
        {
            NameEntryScreen entry(window, &clouds, true);
            entry.run();
        }
        settings().set(Setting::nameEntered, 1);
    }
    while (window.isOpen()) {
        update(window.frameTime());
        if (!window.isOpen()) {
            break;
        }
        draw();
    }
}

// Reads the keys, moves clouds, mascots and highlight on, and runs the chosen
// screen once the fade-out has ended; that screen shows its own frames until
// it returns, and the menu fades back in from black.
void MainMenu::update(float frameTime) {
    sf::Event event;
    while (window.pollEvent(event)) {
        if (event.type == sf::Event::Closed) {
            window.close();
            return;
        }
        if (event.type == sf::Event::KeyPressed && acceptsInput()) {
            handleKey(event.key);
        }
    }
    MenuDrawing::updateClouds(&clouds, drawClouds, frameTime);
    right.update(frameTime);
    left.update(frameTime);
    menu.highlight(frameTime);
    if (fade.advance(frameTime)) {
        act();
        fade.restartFadeIn();
    }
    menuMusic().update();
}

void MainMenu::handleKey(const sf::Event::KeyEvent& key) {
    switch (key.code) {
        case sf::Keyboard::Down:
            menu.moveDown(click);
            break;
        case sf::Keyboard::Up:
            menu.moveUp(click);
            break;
        case sf::Keyboard::Escape:
            // Points at "Exit" without choosing it.
            click.play();
            menu.select(exitItem);
            break;
        case sf::Keyboard::Space:
        case sf::Keyboard::Return:
            click.play();
            fade.startFadeOut();
            break;
        default:
            break;
    }
}

void MainMenu::act() {
    inSubScreen = true;
    switch (menu.selected) {
        case raceItem:
        case puzzleItem: {
            sendOutbox();
            LevelSelectScreen levels(window, menu.selected == raceItem ? raceMode : puzzleMode,
                                     &clouds);
            levels.run();
            break;
        }
        case replaysItem: {
            ReplayListScreen replays(window, &clouds);
            replays.run();
            break;
        }
        case optionsItem: {
            OptionsScreen options(window, &clouds);
            options.run();
            drawClouds = settings().get(Setting::drawClouds) > 0;
            break;
        }
        default:
            window.close();
            break;
    }
    inSubScreen = false;
}

void MainMenu::draw() const {
    MenuDrawing::beginFrame(window, view, &clouds, drawClouds);
    window.draw(logo);
    right.draw(window);
    left.draw(window);
    MenuDrawing::drawMenu(window, menu);
    fade.draw(window);
    window.display();
}
