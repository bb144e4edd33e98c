#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>

#include <string>
#include <vector>

class GameWindow;
class SoundEffect;

// The vertical text menu of every screen. The selected item pulses from light
// red to white and back once per second; the phase runs on when the selection
// moves, so the pulse never jumps.
class MenuList {
  public:
    // Replaces the items: each label centred on x = 640 with its top at its y.
    void setItems(const std::vector<std::string>& labels, const std::vector<float>& tops,
                  const sf::Font& font, unsigned size);
    // Changes one label's text, keeping it centred at its height.
    void setLabel(std::size_t index, const sf::String& text);

    std::size_t count() const { return items.size(); }
    sf::Text& item(std::size_t index) { return items[index]; }
    const sf::Text& item(std::size_t index) const { return items[index]; }

    // One step up or down with the click; nothing (and no click) at either end.
    // True when the selection moved.
    bool moveUp(SoundEffect& click);
    bool moveDown(SoundEffect& click);
    void select(int index);

    // Colours the items for this frame and advances the pulse by 2 per second.
    void highlight(float frameTime);
    void draw(GameWindow& window) const;

    // Colour of the selected item at a pulse phase in [0, 2).
    static sf::Color pulseColor(float phase);

    int selected = 0;
    float pulse = 0.0f;

  private:
    std::vector<sf::Text> items;
    const sf::Font* itemFont = nullptr;
    unsigned itemSize = 56;
};
