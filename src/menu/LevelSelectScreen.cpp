#include "menu/LevelSelectScreen.hpp"

#include "app/look/ScreenLook.hpp"
#include "app/look/ShadowedLabel.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "game/PlayScreen.hpp"
#include "menu/MenuDrawing.hpp"
#include "online/client/HighscoreClient.hpp"

namespace {

// Keys count from 0.2 s after the screen opens.
constexpr float inputThreshold = 1.5f;
// The picture of the level, with the table below it (neither covers the other).
constexpr float thumbnailTop = 275.0f;
constexpr float thumbnailScale = 0.75f;
const sf::Color thumbnailTint(255, 255, 255, 192);
constexpr float firstRowY = 495.0f;
constexpr float tableMessageY = 640.0f;
constexpr unsigned waitLabelSize = 40;
const sf::Color ownRowColour(0, 255, 0, 160);
const sf::Color rowColour(255, 255, 255, 160);
// Why a level cannot be played, in its picture's place.
constexpr float problemTop = 300.0f;
constexpr unsigned problemSize = 26;
constexpr std::size_t problemLinesShown = 5;
const sf::Color problemColour(255, 232, 232, 255);  // a warm white

sf::String utf8(const std::string& text) {
    return sf::String::fromUtf8(text.begin(), text.end());
}

}  // namespace

std::string levelLineText(unsigned levelIndex, const std::string& name, bool recordGhost) {
    return "< " + std::to_string(levelIndex + 1) + " | " + name +
           (recordGhost ? " | Record Ghost >" : " >");
}

LevelSelectScreen::LevelSelectScreen(GameWindow& gameWindow, GameMode gameMode,
                                     ParticleEmitter* cloudBackdrop)
    : window(gameWindow),
      mode(gameMode),
      clouds(cloudBackdrop),
      startLevel(Setting::startLevel(gameMode)),
      userName(settings().get(Setting::userName)),
      submitScores(settings().get(Setting::submitScores) > 0),
      musicOn(settings().get(Setting::musicVolume) != 0),
      drawClouds(settings().get(Setting::drawClouds) > 0) {
    ScreenLook::loadFont(font);
    catalogue.fill(mode, customLevelFolder());
    // Compared as unsigned, so a negative stored level counts as too large.
    const auto stored = static_cast<unsigned>(settings().get(startLevel));
    const auto levels = static_cast<unsigned>(catalogue.size());
    shownLevel = levels == 0 || stored > levels - 1 ? 0 : stored;
    settings().set(startLevel, static_cast<int>(shownLevel));

    view = ScreenLook::logicalView();
    menu.setItems({"Play all", "Play single level", "", "Back"}, {50.0f, 120.0f, 190.0f, 900.0f},
                  font, ScreenLook::labelSize);
    placeLabel(waitLabel, font, "Loading hiscores, please wait...", tableMessageY, waitLabelSize);
    placeLabel(emptyTableLabel, font, "No hiscores available", tableMessageY,
               TableRowView::textSize);
    emptyTableLabel.setFillColor(rowColour);
    placeLabel(notOnServerLabel, font, notOnServerText, tableMessageY, TableRowView::textSize);
    notOnServerLabel.setFillColor(rowColour);
    thumbnail.setColor(thumbnailTint);
    showLevel(shownLevel);
    click.load(ScreenLook::clickSoundPath());
}

void LevelSelectScreen::toggleGhost() {
    const bool record = settings().get(Setting::ghost) == Setting::ghostRecord;
    settings().set(Setting::ghost, record ? Setting::ghostPersonalBest : Setting::ghostRecord);
    click.play();
    showLevel(shownLevel);
}

void LevelSelectScreen::showLevel(unsigned index) {
    shownLevel = index;
    if (index >= static_cast<unsigned>(catalogue.size())) {
        // A mode without levels: nothing to show or play.
        menu.setLabel(levelLine, "");
        thumbnailTexture = sf::Texture();
        return;
    }
    const bool recordGhost = settings().get(Setting::ghost) == Setting::ghostRecord;
    const CatalogueLevel& level = catalogue.levels[index];
    menu.setLabel(levelLine, utf8(levelLineText(index, level.shownName(), recordGhost)));
    placeLabel(problemLabel, font, utf8(problemText()), problemTop, problemSize);
    problemLabel.setFillColor(problemColour);
    const sf::Image& picture = catalogue.thumbnail(static_cast<int>(index));
    if (picture.getSize().x == 0 || !thumbnailTexture.loadFromImage(picture)) {
        thumbnailTexture = sf::Texture();
    }
    thumbnailTexture.setSmooth(true);
    thumbnail.setTexture(thumbnailTexture, true);
    thumbnail.setScale(thumbnailScale, thumbnailScale);
    const float width = static_cast<float>(thumbnailTexture.getSize().x) * thumbnailScale;
    thumbnail.setPosition(ScreenLook::viewWidth * 0.5f - width * 0.5f, thumbnailTop);
}

std::string LevelSelectScreen::lineText(int line) const {
    const auto text = menu.item(static_cast<std::size_t>(line)).getString().toUtf8();
    return std::string(text.begin(), text.end());
}

bool LevelSelectScreen::shownLevelPlayable() const {
    return shownLevel < static_cast<unsigned>(catalogue.size()) &&
           catalogue.levels[shownLevel].playable();
}

std::string LevelSelectScreen::problemText() const {
    if (shownLevel >= static_cast<unsigned>(catalogue.size()) || shownLevelPlayable()) {
        return {};
    }
    const std::vector<std::string>& problems = catalogue.levels[shownLevel].problems;
    std::string text = "This level cannot be played:";
    for (std::size_t i = 0; i < problems.size() && i < problemLinesShown; ++i) {
        text += "\n" + problems[i];
    }
    if (problems.size() > problemLinesShown) {
        text += "\n(and " + std::to_string(problems.size() - problemLinesShown) + " more)";
    }
    return text;
}

std::vector<std::string> LevelSelectScreen::rowTexts() const {
    std::vector<std::string> texts;
    for (const TableRowView& row : rows) {
        texts.push_back(row.text());
    }
    return texts;
}

void LevelSelectScreen::applyWaitRule() {
    if (idleTime <= fetchDelay) {
        idleTime = 0.0f;
    }
}

void LevelSelectScreen::handleKey(const sf::Event::KeyEvent& key) {
    const unsigned levels = static_cast<unsigned>(catalogue.size());
    switch (key.code) {
        case sf::Keyboard::Escape:
            click.play();
            backRequested = true;
            fade.startFadeOut();
            applyWaitRule();
            return;
        case sf::Keyboard::Down:
            if (menu.moveDown(click)) {
                applyWaitRule();
            }
            return;
        case sf::Keyboard::Up:
            if (menu.moveUp(click)) {
                applyWaitRule();
            }
            return;
        case sf::Keyboard::Return:
        case sf::Keyboard::Space:
            // On the level line these keys do nothing; a mode without levels,
            // or a level that cannot be played, has nothing to play.
            if (menu.selected == levelLine ||
                (menu.selected != backLine && !shownLevelPlayable())) {
                return;
            }
            click.play();
            fade.startFadeOut();
            applyWaitRule();
            return;
        case sf::Keyboard::G:
            toggleGhost();
            return;
        case sf::Keyboard::Right:
        case sf::Keyboard::Left:
            break;
        default:
            return;
    }
    if (menu.selected != levelLine || levels == 0) {
        return;
    }
    const unsigned next = key.code == sf::Keyboard::Right ? (shownLevel + 1) % levels
                                                          : (shownLevel + levels - 1) % levels;
    showLevel(next);
    click.play();
    tableNeedsFetch = true;
    idleTime = 0.0f;
}

void LevelSelectScreen::buildRows() {
    rows.clear();
    for (unsigned i = 0; i < tableRows; ++i) {
        const unsigned record = scores.firstShown + i;
        if (record >= scores.recordCount()) {
            break;
        }
        // Every record under the player's name is marked, not just the first.
        const bool own = scores.field(record, 2) == userName;
        rows.emplace_back(scores, record, font,
                          firstRowY + TableRowView::rowHeight * static_cast<float>(i),
                          own ? ownRowColour : rowColour);
    }
}

bool LevelSelectScreen::tableShown() const {
    return shownLevelPlayable() && submitScores && idleTime > fetchDelay;
}

void LevelSelectScreen::updateTable() {
    if (!tableShown() || !tableNeedsFetch || fade.fadingOut()) {
        fetchAnnounced = false;
        return;
    }
    if (!fetchAnnounced) {
        // This frame shows the wait message; the request blocks the next one
        // (at most the client's time-out) with the message on screen.
        scores.clear();
        rows.clear();
        notOnServer = false;
        fetchAnnounced = true;
        return;
    }
    const HighscoreClient client(settings().get(Setting::highscoreServer));
    notOnServer = client.fetchTable(mode, catalogue.levels[shownLevel].identity, scores) ==
                  TableAnswer::notOnServer;
    scores.findOwnRecord(userName, leadRows);
    buildRows();
    tableNeedsFetch = false;
    fetchAnnounced = false;
    ++fetches;
}

void LevelSelectScreen::drawTable() const {
    if (!tableShown()) {
        return;
    }
    if (fetchAnnounced) {
        drawShadowedLabel(window, waitLabel);
        return;
    }
    if (tableNeedsFetch) {
        return;
    }
    for (const TableRowView& row : rows) {
        row.draw(window);
    }
    if (notOnServer) {
        drawShadowedLabel(window, notOnServerLabel);
    } else if (rows.empty()) {
        // A server that is down and a level nobody has finished look the same
        // from here; either way the player sees that there is nothing to show.
        drawShadowedLabel(window, emptyTableLabel);
    }
}

void LevelSelectScreen::play(bool singleLevel) {
    settings().set(startLevel, static_cast<int>(shownLevel));
    ++gamesPlayed;
    {
        PlayScreen game(window, mode, catalogue, static_cast<int>(shownLevel), singleLevel);
        game.run();
    }
    // Every game ends the visit: the next one starts from the main menu.
    quit = true;
    if (musicOn) {
        gameMusic().stop();
        menuMusic().start();
    }
}

void LevelSelectScreen::endAction() {
    if (backRequested || menu.selected == backLine) {
        quit = true;
    } else if (menu.selected == playAllLine || menu.selected == playSingleLine) {
        play(menu.selected == playSingleLine);
    }
    fade.restartFadeIn();
}

// Reads the keys, moves clouds and highlight on, fetches the table when it is
// due, and at the end of the fade-out goes back or plays (a game runs its own
// frames until it is over).
void LevelSelectScreen::update(float frameTime) {
    idleTime += frameTime;
    if (!MenuDrawing::readMenuKeys(window, fade, inputThreshold,
                                   [this](const sf::Event::KeyEvent& key) { handleKey(key); })) {
        return;
    }
    MenuDrawing::updateClouds(clouds, drawClouds, frameTime);
    menu.highlight(frameTime);
    updateTable();
    if (fade.advance(frameTime)) {
        endAction();
    }
    menuMusic().update();
}

void LevelSelectScreen::draw() const {
    MenuDrawing::beginFrame(window, view, clouds, drawClouds);
    MenuDrawing::drawMenu(window, menu);
    window.draw(thumbnail);
    drawShadowedLabel(window, problemLabel);
    drawTable();
    fade.draw(window);
    window.display();
}

// A frame that ends the visit draws nothing: after a game the window holds
// the play screen's last picture, and the main menu's fade-in shows next.
void LevelSelectScreen::run() {
    while (!quit && window.isOpen()) {
        update(window.frameTime());
        if (quit || !window.isOpen()) {
            return;
        }
        draw();
    }
}
