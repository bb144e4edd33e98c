#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/View.hpp>

#include <array>
#include <list>
#include <vector>

#include "app/audio/SoundEffect.hpp"
#include "app/look/ParticleEmitter.hpp"
#include "game/ContactSounds.hpp"
#include "game/FinishBanner.hpp"
#include "game/GhostBall.hpp"
#include "game/PlayerFace.hpp"
#include "game/Popup.hpp"
#include "game/ScoreFont.hpp"
#include "game/StartSequence.hpp"
#include "level/EntitySprites.hpp"
#include "level/TileImages.hpp"

class GameWindow;
class LevelSimulation;
struct FrameReport;

// What the player sees and hears of a level while its simulation runs: the
// turning world with its clouds, the entities' pictures, popups and bursts,
// the ball's face and the ghost, the sounds the frames ask for, the start's
// fade-in and countdown numbers, the clock, the finish flash and the banner.
// It is driven by the frames a simulation played and by the seconds that pass
// on screen, so the play screen (the player's keys) and the replay screen (a
// recorded run) show a level alike. It reads a simulation and never changes
// one, and keeps no pointer to it: a replay may hand it another simulation
// of the same level after a seek.
//
// A frame of the screen that owns it: beginFrame, takeFrame for each frame
// the simulation played (none while a replay is paused), then animate; the
// draw functions show what that left.
class LevelShow {
  public:
    explicit LevelShow(GameWindow& window);

    // A level just built, or built again: its pictures, clouds and thumbnail,
    // the red face without a grin, the clock at 0 and the start from its
    // fade-in. Popups and bursts of the last try fly on.
    void begin(const LevelSimulation& simulation, const sf::Image& thumbnail);
    // After a jump in the simulation's time (a replay sought elsewhere): what
    // the skipped frames would have shown is gone (popups, bursts, flash, the
    // fade-in) and the face, banner, countdown and clock stand as the
    // simulation does.
    void catchUp(const LevelSimulation& simulation);

    // The finish flash fades by the frame's seconds on screen.
    void beginFrame(float frameTime);
    // One frame the simulation played: the beam, horn and contact sounds, the
    // face's colour and knocks, and the popups, bursts and flash of its
    // contact events.
    void takeFrame(const FrameReport& report, const LevelSimulation& simulation);
    // Seconds passing on screen: the view follows the simulation, clouds,
    // popups, glows, bursts and the face move on, the start sequence shows
    // its numbers and fades, the clock shows the race clock, and once the
    // level is finished the face grins and the banner waves.
    void animate(float frameTime, const LevelSimulation& simulation);
    void playFinishSound(bool personalBest);

    // --- Draw ---
    // Clears to the sky (brighter while the finish flashes) and draws the
    // world in the turned view.
    void drawWorld(const LevelSimulation& simulation) const;
    // In the fixed view: the thumbnail, the countdown numbers, the time label
    // and the clock.
    void drawHud() const;
    // The personal best's badge, pulsing.
    void drawBadge() const;
    void drawBanner() const;
    // The fade-in's black over everything.
    void drawIntroCover() const;

    float finishFlashLeft() const { return finishFlash; }
    BannerWave& bannerWave() { return finishBanner.wave; }
    const BannerWave& bannerWave() const { return finishBanner.wave; }
    const StartSequence& startState() const { return start; }
    GhostBall& ghostBall() { return ghost; }
    const GhostBall& ghostBall() const { return ghost; }
    const FaceAnimation& faceAnimation() const { return face.animation; }
    // The popups of broken blocks and targets in the world now.
    std::size_t worldPopupCount() const { return contactPopups.size(); }

  private:
    void loadResources();
    void placeWorldView(const LevelSimulation& simulation);
    void showContactEvents(const LevelSimulation& simulation);
    void updateStart(float frameTime, const LevelSimulation& simulation);
    void showCountdownPopup(int number);

    GameWindow& window;
    TileImages images;
    EntitySprites sprites;
    sf::View worldView;
    sf::View hudView;
    bool drawClouds = true;

    std::array<sf::Texture, 3> countdownTextures;  // the numbers 3, 2, 1
    SoundEffect clickSound;
    SoundEffect hornSound;
    SoundEffect personalBestSound;
    SoundEffect finishSound;
    SoundEffect beamSound;
    ContactSounds contactSounds;
    ParticleEmitter clouds;
    sf::Texture timeLabelTexture;
    sf::Sprite timeLabelSprite;
    sf::Sprite personalBestSprite;
    sf::Texture thumbnailTexture;
    sf::Sprite thumbnailSprite;
    FinishBanner finishBanner;
    StartSequence start;
    ScoreFont clock;
    PlayerFace face;
    GhostBall ghost;
    std::vector<Popup> contactPopups;  // world pixels
    std::vector<Popup> hudPopups;      // screen units
    std::list<ParticleEmitter> bursts;
    float finishFlash = 0.0f;   // 0..1, brightens the background after the finish
    float badgeSeconds = 0.0f;  // seconds on screen since the show opened
};
