#include "menu/ReplayListScreen.hpp"

#include "app/look/ScreenLook.hpp"
#include "app/look/ShadowedLabel.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "game/PersonalRuns.hpp"
#include "game/ReplayScreen.hpp"
#include "menu/MenuDrawing.hpp"
#include "online/HighscoreTable.hpp"
#include "online/client/HighscoreClient.hpp"

namespace {

// Keys count from 0.2 s after the screen opens.
constexpr float inputThreshold = 1.5f;
constexpr float titleY = 40.0f;
constexpr float firstRowY = 150.0f;
constexpr float rowStep = 58.0f;
constexpr unsigned rowSize = 36;
constexpr float noteY = 810.0f;
constexpr float backY = 900.0f;
constexpr int recordPosition = 1;
constexpr unsigned nameField = 2;

}  // namespace

ReplayListScreen::ReplayListScreen(GameWindow& gameWindow, ParticleEmitter* cloudBackdrop,
                                   const std::string& commandLineFile)
    : window(gameWindow),
      clouds(cloudBackdrop),
      found(findReplays(PersonalRuns::defaultFolder(), commandLineFile,
                        settings().get(Setting::submitScores) > 0)),
      drawClouds(settings().get(Setting::drawClouds) > 0) {
    ScreenLook::loadFont(font);
    view = ScreenLook::logicalView();
    placeLabel(title, font, "Replays", titleY);
    click.load(ScreenLook::clickSoundPath());
    if (found.empty()) {
        note = "No runs yet: a finished level keeps its best run";
    }
    showRows();
    if (!commandLineFile.empty()) {
        due = replayOfFile(commandLineFile, found.front().whose);
    }
}

// The rows from `first` on that fit, then "Back" in the menu's own size.
void ReplayListScreen::showRows() {
    std::vector<std::string> labels;
    std::vector<float> tops;
    for (std::size_t i = first; i < found.size() && labels.size() < visibleRows; ++i) {
        labels.push_back(found[i].label);
        tops.push_back(firstRowY + rowStep * static_cast<float>(labels.size() - 1));
    }
    const std::size_t rows = labels.size();
    labels.push_back("Back");
    tops.push_back(backY);
    menu.setItems(labels, tops, font, rowSize);
    menu.item(rows).setCharacterSize(ScreenLook::labelSize);
    menu.setLabel(rows, "Back");
    menu.select(chosen == found.size() ? static_cast<int>(rows) : static_cast<int>(chosen - first));
    placeLabel(noteLabel, font, sf::String::fromUtf8(note.begin(), note.end()), noteY,
               ScreenLook::tableLineSize);
}

// One line up or down; the rows scroll to keep it in sight.
void ReplayListScreen::move(int step) {
    const std::size_t last = found.size();  // "Back"
    if ((step < 0 && chosen == 0) || (step > 0 && chosen == last)) {
        return;
    }
    click.play();
    chosen = step < 0 ? chosen - 1 : chosen + 1;
    if (chosen < last && chosen < first) {
        first = chosen;
    } else if (chosen < last && chosen >= first + visibleRows) {
        first = chosen + 1 - visibleRows;
    }
    note.clear();
    showRows();
}

void ReplayListScreen::handleKey(const sf::Event::KeyEvent& key) {
    switch (key.code) {
        case sf::Keyboard::Up:
            move(-1);
            break;
        case sf::Keyboard::Down:
            move(1);
            break;
        case sf::Keyboard::Escape:
            click.play();
            chosen = found.size();
            fade.startFadeOut();
            break;
        case sf::Keyboard::Return:
        case sf::Keyboard::Space:
            click.play();
            if (chosen < found.size() && found[chosen].kind == ReplayEntry::Kind::record) {
                fetchAnnounced = true;
                note = "Asking the server for the record's run...";
                showRows();
                break;
            }
            if (chosen < found.size()) {
                due = replayOfFile(found[chosen].file, found[chosen].whose);
            }
            fade.startFadeOut();
            break;
        default:
            break;
    }
}

// The wait message has been on screen for a frame; the requests block this
// one (each at most the client's time-out). The record's holder is named
// from the table, where the record is the first line.
void ReplayListScreen::fetchRecord() {
    fetchAnnounced = false;
    const ReplayEntry& entry = found[chosen];
    const HighscoreClient client(settings().get(Setting::highscoreServer));
    const std::string text = client.fetchRun(entry.mode, entry.levelId, recordPosition);
    if (text.empty()) {
        note = "The server has no verified run of this record";
        showRows();
        return;
    }
    HighscoreTable table;
    client.fetchTable(entry.mode, entry.levelId, table);
    const std::string& holder = table.field(0, nameField);
    note.clear();
    showRows();
    due = ReplaySource{holder.empty() ? entry.whose : "Record by " + holder, text, "", ""};
    fade.startFadeOut();
}

void ReplayListScreen::watch(const ReplaySource& source) {
    ++shown;
    lastWhose = source.whose;
    ReplayScreen replay(window, source);
    replay.run();
}

void ReplayListScreen::endAction() {
    if (due) {
        const ReplaySource source = std::move(*due);
        due.reset();
        watch(source);
    } else if (chosen == found.size()) {
        quit = true;
    }
    fade.restartFadeIn();
}

// Reads the keys, moves clouds and highlight on, makes a record's request
// when announced, and at the end of the fade-out watches or goes back (the
// replay screen runs its own frames until it is over). The command line's
// run plays in the first frame.
void ReplayListScreen::update(float frameTime) {
    if (due && !fade.fadingOut()) {
        const ReplaySource source = std::move(*due);
        due.reset();
        watch(source);
        fade.restartFadeIn();
        return;
    }
    if (fetchAnnounced) {
        fetchRecord();
        return;
    }
    if (!MenuDrawing::readMenuKeys(window, fade, inputThreshold,
                                   [this](const sf::Event::KeyEvent& key) { handleKey(key); })) {
        return;
    }
    MenuDrawing::updateClouds(clouds, drawClouds, frameTime);
    menu.highlight(frameTime);
    if (fade.advance(frameTime)) {
        endAction();
    }
    menuMusic().update();
}

void ReplayListScreen::draw() const {
    MenuDrawing::beginFrame(window, view, clouds, drawClouds);
    drawShadowedLabel(window, title);
    MenuDrawing::drawMenu(window, menu);
    if (!note.empty()) {
        drawShadowedLabel(window, noteLabel);
    }
    fade.draw(window);
    window.display();
}

void ReplayListScreen::run() {
    MenuDrawing::runFrames(
        window, [this] { return quit; }, [this](float frameTime) { update(frameTime); },
        [this] { draw(); });
}
