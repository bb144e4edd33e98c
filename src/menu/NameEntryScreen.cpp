#include "menu/NameEntryScreen.hpp"

#include "app/look/ScreenLook.hpp"
#include "app/look/ShadowedLabel.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "menu/MenuDrawing.hpp"

namespace {

constexpr unsigned bigSize = 56;
constexpr unsigned smallSize = 32;
constexpr float typingNameY = 512.0f;
constexpr float warningNameY = 200.0f;
// Keys count from 0.2 s after the screen opens.
constexpr float inputThreshold = 1.5f;

using Lines = std::array<const char*, 4>;

// The sentence under the name, and what it means, for each outcome that is
// not a free name.
Lines warningWords(NameCheckOutcome outcome) {
    switch (outcome) {
        case NameCheckOutcome::unchecked:
            return {"could not be checked", "The highscore server did not answer or could",
                    "not look it up. You can keep this name and",
                    "play on; scores are sent while it works."};
        case NameCheckOutcome::refused:
            return {"was refused by the highscore server",
                    "A name holds up to 15 letters, digits, spaces,",
                    "full stops and commas. Please change it or", "disable online highscores."};
        default:
            return {"is already in hiscore", "If you have already submitted scores with",
                    "this name, this is fine. Otherwise it means,",
                    "someone else is already using this name."};
    }
}

}  // namespace

NameEntryScreen::NameEntryScreen(GameWindow& gameWindow, ParticleEmitter* cloudBackdrop, bool greet)
    : window(gameWindow),
      clouds(cloudBackdrop),
      editor(settings().get(Setting::userName)),
      firstStart(greet) {
    ScreenLook::loadFont(font);
    view = ScreenLook::logicalView();
    click.load(ScreenLook::clickSoundPath());
    showNameForTyping();

    placeLabel(greeting[0], font, "This is your first start of Rollavortex", 100.0f, smallSize);
    greeting[0].setFillColor(sf::Color::Green);
    placeLabel(greeting[1], font, "To enable online highscore enter a name or", 150.0f, smallSize);
    placeLabel(greeting[2], font, "press return to disable online highscore", 200.0f, smallSize);
    placeLabel(prompt, font, "Enter your name for online highscores", 450.0f, smallSize);
    placeLabel(optionsHint, font, "(You can disable online highscore in the options menu)", 930.0f,
               smallSize);
    placeLabel(padHint, font, "Names are typed on the keyboard", 620.0f, smallSize);
    placeLabel(checkingLabel, font, "Checking name, please wait...", 512.0f, smallSize);
    placeLabel(savingLabel, font, "Saving name...", 512.0f, smallSize);
    placeLabel(warningTitle, font, "WARNING", 100.0f, bigSize);
    warningTitle.setFillColor(sf::Color::Red);
    choices.setItems({"Change name", "Use current name", "Disable online highscores"},
                     {600.0f, 700.0f, 800.0f}, font, bigSize);
}

// A frame that ends the screen draws nothing: its fade-out is complete.
void NameEntryScreen::run() {
    MenuDrawing::runFrames(
        window, [this] { return quit; }, [this](float frameTime) { update(frameTime); },
        [this] { draw(); });
}

// Reads the keys, runs a name check that the last frame announced, moves the
// clouds, the highlight and the fade on.
void NameEntryScreen::update(float frameTime) {
    const int stateBefore = current;
    if (!takeEvents()) {
        return;
    }
    if (stateBefore == checking) {
        runCheck();
    }
    if (current == warning) {
        choices.highlight(frameTime);
    }
    MenuDrawing::updateClouds(clouds, true, frameTime);
    if (fade.advance(frameTime)) {
        quit = true;
    }
    menuMusic().update();
}

bool NameEntryScreen::keysAccepted() const {
    // Once a fade-out runs the screen is on its way out: a late key must not
    // start a name check that would undo the choice just made.
    return fade.acceptsInput(inputThreshold);
}

bool NameEntryScreen::takeEvents() {
    const int stateBefore = current;
    sf::Event event;
    while (window.pollEvent(event)) {
        if (event.type == sf::Event::Closed) {
            quit = true;
            window.close();
            return false;
        }
        if (event.type != sf::Event::KeyPressed || current != stateBefore || !keysAccepted()) {
            continue;
        }
        if (current == typing) {
            handleTypingKey(event.key);
        } else if (current == warning) {
            handleWarningKey(event.key);
        }
    }
    return true;
}

void NameEntryScreen::showNameForTyping() {
    placeLabel(nameText, font, editor.withCaret(), typingNameY, bigSize);
}

void NameEntryScreen::declineOnline() {
    settings().set(Setting::userName, "");
    settings().set(Setting::submitScores, 0);
    fade.startFadeOut();
}

void NameEntryScreen::handleTypingKey(const sf::Event::KeyEvent& key) {
    if (key.code == sf::Keyboard::Return || key.code == sf::Keyboard::Escape) {
        click.play();
        if (editor.empty()) {
            declineOnline();
        } else {
            current = checking;
        }
        return;
    }
    if (editor.apply(key.code, key.shift)) {
        showNameForTyping();
    }
}

// The checking message has been on screen since the last frame; it stays
// there while the request blocks. A free name goes straight out.
void NameEntryScreen::runCheck() {
    const std::string typed = editor.name();
    checkOutcome = checkNameOnServer(typed);
    // Kept whatever the answer: a name the server could not check may still be
    // the player's own.
    settings().set(Setting::userName, typed);
    settings().set(Setting::submitScores, 1);
    if (checkOutcome == NameCheckOutcome::free) {
        current = closing;
        fade.startFadeOut();
        return;
    }
    current = warning;
    prepareWarningTexts();
}

void NameEntryScreen::prepareWarningTexts() {
    placeLabel(nameText, font, editor.name(), warningNameY, bigSize);
    const Lines words = warningWords(checkOutcome);
    const std::array<float, 4> tops{312.0f, 400.0f, 440.0f, 480.0f};
    for (std::size_t i = 0; i < warningLines.size(); ++i) {
        placeLabel(warningLines[i], font, words[i], tops[i], smallSize);
    }
}

void NameEntryScreen::handleWarningKey(const sf::Event::KeyEvent& key) {
    switch (key.code) {
        case sf::Keyboard::Down:
            choices.moveDown(click);
            return;
        case sf::Keyboard::Up:
            choices.moveUp(click);
            return;
        case sf::Keyboard::Escape:
            click.play();
            current = typing;
            showNameForTyping();
            return;
        case sf::Keyboard::Return:
        case sf::Keyboard::Space:
            break;
        default:
            return;
    }
    click.play();
    if (choices.selected == changeName) {
        current = typing;
        showNameForTyping();
        return;
    }
    if (choices.selected == disableOnline) {
        settings().set(Setting::submitScores, 0);
    }
    current = closing;
    fade.startFadeOut();
}

// The picture of the state: the name being typed, the checking or saving
// message, or the warning with its choices. The name entry always shows the
// clouds, whatever "drawclouds" says.
void NameEntryScreen::draw() const {
    MenuDrawing::beginFrame(window, view, clouds, true);
    switch (current) {
        case checking:
            drawTexts({&checkingLabel});
            break;
        case warning:
            drawTexts({&warningTitle, &nameText, &warningLines[0], &warningLines[1],
                       &warningLines[2], &warningLines[3]});
            MenuDrawing::drawMenu(window, choices);
            break;
        case closing:
            drawTexts({&savingLabel});
            break;
        default:
            if (firstStart) {
                drawTexts({&greeting[0], &greeting[1], &greeting[2]});
            }
            drawTexts({&prompt, &optionsHint, &nameText});
            if (window.padConnected()) {
                drawTexts({&padHint});
            }
            break;
    }
    fade.draw(window);
    window.display();
}

void NameEntryScreen::drawTexts(const std::vector<const sf::Text*>& texts) const {
    for (const sf::Text* text : texts) {
        drawShadowedLabel(window, *text);
    }
}
