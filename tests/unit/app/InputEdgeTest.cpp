#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <sstream>

#include "app/files/Settings.hpp"
#include "app/input/InputEdge.hpp"
#include "app/input/KeyNames.hpp"
#include "app/input/TurnEvent.hpp"
#include "app/platform/GameWindow.hpp"

using Key = sf::Keyboard;
using Pad = sf::Joystick;

namespace {

constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
const std::string defaultKeys =
    "Left|Right|LShift / RShift|LControl / RControl|Space / Return|Escape";

sf::Event move(unsigned pad, Pad::Axis axis, float position) {
    return GameWindow::padMoveEvent(pad, axis, position);
}
sf::Event button(unsigned number, bool pressed = true, unsigned pad = 0) {
    return GameWindow::padButtonEvent(pad, number, pressed);
}
sf::Event key(Key::Key code, bool pressed = true, bool shift = false) {
    return GameWindow::keyEvent(code, pressed, shift);
}

// "+Left/s", "-Space", "~50": what the screens are given.
std::string describe(const std::deque<sf::Event>& events) {
    std::ostringstream text;
    for (const sf::Event& event : events) {
        float turn = 0.0f;
        if (TurnEvent::read(event, turn)) {
            text << " ~" << turn;
            continue;
        }
        text << ' ' << (event.type == sf::Event::KeyPressed ? '+' : '-') << keyName(event.key.code)
             << (event.key.shift ? "/s" : "") << (event.key.control ? "/c" : "");
    }
    return text.str().empty() ? "" : text.str().substr(1);
}

std::string translated(InputUse use, const std::vector<sf::Event>& raw,
                       const std::string& settingsText = "") {
    Settings store;
    store.parse(settingsText);
    InputEdge edge;
    std::deque<sf::Event> out;
    edge.setBindings(KeyBindings::read(store));
    edge.setUse(use, out);
    for (const sf::Event& event : raw) {
        edge.translate(event, out);
    }
    return describe(out);
}

}  // namespace

TEST(InputEdge,
     PadsAndChosenKeysBecomeMenuAndPlayEventsAndAHeldDirectionStaysSilentAcrossAChangeOfUse) {
    struct Case {
        InputUse use;
        std::vector<sf::Event> raw;
        std::string expected;
        std::string settings = "";
    };
    const InputUse menu = InputUse::menu;
    const InputUse play = InputUse::play;
    const Case cases[] = {
        {menu, {move(0, Pad::Y, 40)}, ""},
        {menu, {move(0, Pad::Y, -60), move(0, Pad::Y, -35)}, "+Up"},
        {menu, {move(0, Pad::X, notANumber), move(0, Pad::X, 1e9f)}, "+Right"},
        {menu, {button(0, false), button(7)}, "+Escape"},
        {menu, {button(5), button(31), button(500), button(0, true, 9)}, ""},
        {menu, {key(Key::A)}, "+A", "key_turnleft\tA\n"},
        {play,
         {move(0, Pad::X, -1e9f), move(0, Pad::X, 15), move(0, Pad::X, notANumber)},
         "~-100 ~0"},
        {play, {move(0, Pad::PovX, -100)}, "~-50"},
        {play, {move(0, Pad::X, 60), move(1, Pad::X, -90)}, "~50 ~-87.5"},
        {play, {move(0, Pad::Y, 100)}, "+Down"},
        {play, {button(1), button(0), GameWindow::padConnectionEvent(0, false)}, "+Space -Space"},
        {play, {key(Key::A), key(Key::Left), key(Key::Up)}, "+Left +Up", "key_turnleft\tA\n"},
        {play,
         {key(Key::Z), key(Key::Left), key(Key::Z, false), button(0)},
         "+LShift/s +Left/s -LShift +Space",
         "key_slow\tZ\n"},
        {play,
         {key(Key::LShift, true, true), key(Key::Left, true, true)},
         "+Left",
         "key_slow\tZ\n"},
        {play, {key(Key::LShift, true, true), key(Key::Left, true, true)}, "+LShift/s +Left/s"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(translated(c.use, c.raw, c.settings), c.expected)
            << (c.use == menu ? "menu " : "play ") << c.settings << " -> " << c.expected;
    }

    // The scene tests time the repeat; here a push held while play had the pad.
    InputEdge edge;
    std::deque<sf::Event> out;
    edge.translate(move(0, Pad::PovY, 100), out);
    edge.setUse(InputUse::play, out);
    edge.setUse(InputUse::menu, out);
    edge.advance(1.0f);
    edge.takeRepeats(out);
    edge.translate(move(0, Pad::PovY, 0), out);
    edge.translate(move(0, Pad::PovY, 100), out);
    EXPECT_EQ(describe(out), "+Down +Down");
}

TEST(KeyBindings, UnknownOrSharedKeysFallBackToTheDefaultsAndNoBindingTakesAnotherActionsKey) {
    const std::pair<const char*, std::string> cases[] = {
        {"", defaultKeys},
        {"key_turnleft\tA\nkey_jump\tJ\n", "A|Right|LShift / RShift|LControl / RControl|J|Escape"},
        {"key_turnleft\tRight\nkey_turnright\tLeft\n",
         "Right|Left|LShift / RShift|LControl / RControl|Space / Return|Escape"},
        {"key_turnleft\tF11\n", defaultKeys},
        {"key_slow\tZ X Y\n", defaultKeys},
        {"key_jump\tLeft\n", defaultKeys},
        {"key_turnleft\tA\nkey_turnright\tA\n", defaultKeys},
        {"key_pause\tP\nkey_fast\tRShift P\n", defaultKeys},
    };
    for (const auto& [text, expected] : cases) {
        Settings store;
        store.parse(text);
        const KeyBindings bindings = KeyBindings::read(store);
        std::string keys;
        for (std::size_t i = 0; i < actionCount; ++i) {
            keys += (i == 0 ? "" : "|") + bindings.text(static_cast<Action>(i));
        }
        EXPECT_EQ(keys, expected) << text;
        Settings written;
        bindings.write(written);
        EXPECT_EQ(KeyBindings::read(written), bindings) << text;
    }

    KeyBindings bindings;
    Action holder = Action::pause;
    EXPECT_EQ(bindings.bind(Action::turnLeft, Key::F11, holder), KeyBindings::BindResult::unusable);
    EXPECT_EQ(bindings.bind(Action::turnLeft, Key::Unknown, holder),
              KeyBindings::BindResult::unusable);
    EXPECT_EQ(bindings, KeyBindings());
    EXPECT_EQ(bindings.bind(Action::jump, Key::Enter, holder), KeyBindings::BindResult::bound);
    EXPECT_EQ(bindings.text(Action::jump), "Return");
    EXPECT_EQ(bindings.actionOf(Key::Space), std::nullopt);
}

TEST(KeyNames, EveryKeyHasOneNameThatReadsBack) {
    std::set<std::string> names;
    for (int code = 0; code < Key::KeyCount; ++code) {
        const auto k = static_cast<Key::Key>(code);
        const std::string name = keyName(k);
        EXPECT_EQ(keyOfName(name), k) << code;
        EXPECT_TRUE(names.insert(name).second) << name;
    }
    EXPECT_EQ(keyOfName("left"), Key::Unknown);
    EXPECT_EQ(keyName(Key::Unknown), "");
}
