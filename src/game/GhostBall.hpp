#pragma once

#include <SFML/Graphics/Texture.hpp>

#include <cstdint>
#include <memory>
#include <optional>

#include "sim/run/GhostTrack.hpp"

class GameWindow;

// The ghost the player races: the ball of a recorded run, drawn see-through
// where that ball was after as many physics steps as the player's world has
// taken. It is only a picture: no body, no contacts, no sounds.
class GhostBall {
  public:
    // 40 % of the ball picture shows through.
    static constexpr std::uint8_t alpha = 102;

    // The red body the ball starts with ("images/bodyred.png").
    void loadImage();
    // Races `track` from now on; none shows no ghost.
    void follow(std::unique_ptr<GhostTrack> track);
    // Moves the ghost to where its ball was after `step` physics steps.
    void update(long long step);
    // In the world view, at the pose of the last update.
    void draw(GameWindow& window) const;

    // Where it is drawn; empty while there is no ghost.
    std::optional<GhostPose> pose() const { return current; }

  private:
    sf::Texture texture;
    std::unique_ptr<GhostTrack> track;
    std::optional<GhostPose> current;
};
