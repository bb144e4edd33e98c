#include "app/look/MenuList.hpp"

#include <cmath>

#include "app/audio/SoundEffect.hpp"
#include "app/look/ScreenLook.hpp"
#include "app/platform/GameWindow.hpp"

void MenuList::setItems(const std::vector<std::string>& labels, const std::vector<float>& tops,
                        const sf::Font& font, unsigned size) {
    items.clear();
    itemFont = &font;
    itemSize = size;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        sf::Text text;
        placeLabel(text, font, sf::String::fromUtf8(labels[i].begin(), labels[i].end()),
                   i < tops.size() ? tops[i] : 0.0f, size);
        items.push_back(text);
    }
    if (selected >= static_cast<int>(items.size())) {
        selected = 0;
    }
}

void MenuList::setLabel(std::size_t index, const sf::String& text) {
    if (index >= items.size() || itemFont == nullptr) {
        return;
    }
    placeLabel(items[index], *itemFont, text, items[index].getPosition().y, itemSize);
}

bool MenuList::moveUp(SoundEffect& click) {
    if (selected <= 0) {
        return false;
    }
    click.play();
    --selected;
    return true;
}

bool MenuList::moveDown(SoundEffect& click) {
    if (selected + 1 >= static_cast<int>(items.size())) {
        return false;
    }
    click.play();
    ++selected;
    return true;
}

void MenuList::select(int index) {
    if (index >= 0 && index < static_cast<int>(items.size())) {
        selected = index;
    }
}

sf::Color MenuList::pulseColor(float phase) {
    const float t = phase <= 1.0f ? phase : 2.0f - phase;
    return lerpColor(sf::Color::White, ScreenLook::highlightRed, t);
}

void MenuList::highlight(float frameTime) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool chosen = static_cast<int>(i) == selected;
        items[i].setFillColor(chosen ? pulseColor(pulse) : sf::Color::White);
    }
    pulse = std::fmod(pulse + 2.0f * frameTime, 2.0f);
}

void MenuList::draw(GameWindow& window) const {
    for (const sf::Text& text : items) {
        window.draw(text);
    }
}
