#pragma once

#include <SFML/Graphics/Texture.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "sim/run/GhostGap.hpp"
#include "sim/run/GhostTrack.hpp"

class GameWindow;
class LevelSimulation;

// The gap as the head-up display shows it: a sign (none when level) and
// hundredths while racing, "+1.25" behind, "-0.40" ahead; thousandths at the
// finish, as finish times are kept.
std::string ghostGapText(float seconds, bool atFinish);

// The ghost the player races: the ball of a recorded run, drawn see-through
// where that ball was after as many physics steps as the player's world has
// taken, and how far ahead of it the player is (GhostGap). It is only a
// picture: no body, no contacts, no sounds.
class GhostBall {
  public:
    // 40 % of the ball picture shows through.
    static constexpr std::uint8_t alpha = 102;

    // The red body the ball starts with ("images/bodyred.png").
    void loadImage();
    // Races `track` from now on; none shows no ghost.
    void follow(std::unique_ptr<GhostTrack> track);
    // Moves the ghost to where its ball was after as many physics steps as
    // the player's world took, and measures the gap; once the player's level
    // is finished, the gap is that of the finish times.
    void update(const LevelSimulation& player);
    // In the world view, at the pose of the last update.
    void draw(GameWindow& window) const;

    // Where it is drawn; empty while there is no ghost.
    std::optional<GhostPose> pose() const { return current; }
    // Seconds ahead (negative) or behind; empty while there is no ghost.
    std::optional<float> gap() const { return gapSeconds; }
    bool gapIsFinal() const { return finalGap; }

  private:
    sf::Texture texture;
    std::unique_ptr<GhostTrack> track;
    GhostGap gapRule;
    std::optional<GhostPose> current;
    std::optional<float> gapSeconds;
    bool finalGap = false;
};
