#include "sim/run/RunWords.hpp"

#include <array>
#include <charconv>
#include <cmath>

namespace RunWords {

namespace {

constexpr char turnMark = '~';

struct KeyName {
    PlayKey key;
    std::string_view name;
};

constexpr std::array<KeyName, 12> keyNames{{
    {PlayKey::left, "Left"},
    {PlayKey::right, "Right"},
    {PlayKey::up, "Up"},
    {PlayKey::down, "Down"},
    {PlayKey::space, "Space"},
    {PlayKey::enter, "Return"},
    {PlayKey::escape, "Escape"},
    {PlayKey::leftShift, "LShift"},
    {PlayKey::rightShift, "RShift"},
    {PlayKey::leftControl, "LControl"},
    {PlayKey::rightControl, "RControl"},
    {PlayKey::other, "Other"},
}};

std::string_view nameOfKey(PlayKey key) {
    for (const KeyName& entry : keyNames) {
        if (entry.key == key) {
            return entry.name;
        }
    }
    return "Other";
}

bool keyOfName(std::string_view name, PlayKey& key) {
    for (const KeyName& entry : keyNames) {
        if (entry.name == name) {
            key = entry.key;
            return true;
        }
    }
    return false;
}

bool readFlags(std::string_view flags, bool& shift, bool& control) {
    for (char flag : flags) {
        if (flag == 's' && !shift) {
            shift = true;
        } else if (flag == 'c' && !control) {
            control = true;
        } else {
            return false;
        }
    }
    return true;
}

bool readTurn(std::string_view text, PlayInput& input) {
    float percent = 0.0f;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, percent);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(percent) ||
        clampTurnPercent(percent) != percent) {
        return false;
    }
    input = PlayInput::padTurn(percent);
    return true;
}

}  // namespace

std::string floatText(float value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string inputText(const PlayInput& input) {
    if (input.kind == PlayInput::Kind::turn) {
        return turnMark + floatText(input.turn);
    }
    std::string text(input.kind == PlayInput::Kind::press ? "+" : "-");
    text += nameOfKey(input.key);
    if (input.shift || input.control) {
        text += '/';
        if (input.shift) {
            text += 's';
        }
        if (input.control) {
            text += 'c';
        }
    }
    return text;
}

bool readInput(std::string_view word, PlayInput& input) {
    if (word.size() >= 2 && word[0] == turnMark) {
        return readTurn(word.substr(1), input);
    }
    if (word.size() < 2 || (word[0] != '+' && word[0] != '-')) {
        return false;
    }
    const bool pressed = word[0] == '+';
    word.remove_prefix(1);
    std::string_view flags;
    if (const auto slash = word.find('/'); slash != std::string_view::npos) {
        flags = word.substr(slash + 1);
        word = word.substr(0, slash);
        if (flags.empty()) {
            return false;
        }
    }
    PlayKey key = PlayKey::other;
    bool shift = false;
    bool control = false;
    if (!keyOfName(word, key) || !readFlags(flags, shift, control)) {
        return false;
    }
    input = pressed ? PlayInput::pressed(key, shift, control)
                    : PlayInput::released(key, shift, control);
    return true;
}

std::string quoted(std::string_view text, std::size_t limit) {
    std::string shown;
    for (char c : text.substr(0, limit)) {
        const auto byte = static_cast<unsigned char>(c);
        shown += byte >= 0x20 && byte < 0x7f ? c : '?';
    }
    if (text.size() > limit) {
        shown += "...";
    }
    return "'" + shown + "'";
}

}  // namespace RunWords
