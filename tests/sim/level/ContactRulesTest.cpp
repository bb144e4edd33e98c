#include <gtest/gtest.h>

#include <functional>

#include "LevelTestSupport.hpp"
#include "sim/level/TileKinds.hpp"

namespace {

constexpr float playGravity = 86.49f;

// A real level in a real world, stepped by hand. Gravity is off unless a test
// turns it on, so speeds stay exact.
class ContactRules : public ::testing::Test {
  protected:
    Level& build(const std::vector<std::vector<int>>& rows) {
        level = buildLevel(mapOf(rows), play);
        setGravity(b2Vec2(0.0f, 0.0f));
        return *level;
    }

    void setGravity(b2Vec2 gravity) {
        level->world->SetGravity(gravity);
        play.gravity = gravity;
    }

    b2Body& ball() { return *level->ball->body(); }

    // Steps the world directly (no speed limit) until the condition holds.
    bool stepUntil(const std::function<bool()>& done, int maxSteps = 2000) {
        for (int i = 0; i < maxSteps; ++i) {
            level->world->Step(Level::stepSeconds, 10, 10);
            level->listener->advanceClock(Level::stepSeconds);
            if (done()) {
                return true;
            }
        }
        return false;
    }

    void stepFor(float seconds) {
        const int steps = static_cast<int>(seconds / Level::stepSeconds);
        for (int i = 0; i < steps; ++i) {
            stepLevel(*level);
        }
    }

    // Sends the ball down at `speed` onto whatever lies below it.
    void dropAt(float speed) { ball().SetLinearVelocity(b2Vec2(0.0f, -speed)); }

    bool movingUp() { return ball().GetLinearVelocity().y > 0.0f; }

    // The impact speeds of the events of `kind` reported so far.
    std::vector<float> speedsOf(ContactEvent::Kind kind) const {
        std::vector<float> speeds;
        for (const ContactEvent& event : play.events) {
            if (event.kind == kind) {
                speeds.push_back(event.impactSpeed);
            }
        }
        return speeds;
    }

    Entity* entityOfKind(BodyKind kind) {
        for (auto& [number, entity] : level->entities) {
            if (entity->kind() == kind) {
                return entity.get();
            }
        }
        return nullptr;
    }

    PlayState play;
    std::unique_ptr<Level> level;
};

// Ball at the top, a tile of `id` three rows below it, walls around.
std::vector<std::vector<int>> shaftOnto(int id) {
    return {{3, 3, 3}, {3, 1, 3}, {3, 0, 3}, {3, 0, 3}, {3, id, 3}, {3, 3, 3}};
}

TEST_F(ContactRules, KnocksAreReportedAboveTwentyWithTheirImpactSpeedButNotOnLeavingTheFloor) {
    using Speeds = std::vector<float>;
    for (auto [speed, knocks] :
         {std::pair{20.0f, Speeds{}}, {50.0f, Speeds{50.0f}}, {250.0f, Speeds{250.0f}}}) {
        build(shaftOnto(TileId::wall));
        play.events.clear();
        dropAt(speed);
        ASSERT_TRUE(stepUntil([&] { return movingUp(); }));
        EXPECT_EQ(speedsOf(ContactEvent::Kind::knock), knocks) << speed;
        EXPECT_FLOAT_EQ(play.impactSpeed, speed);
    }

    // Box2D reports no end of a touch of its own: the listener makes one from the
    // last manifold, and that end must never count as a new touch.
    build({{3, 3, 3}, {3, 0, 3}, {3, 1, 3}, {3, 3, 3}});
    setGravity(b2Vec2(0.0f, -playGravity));
    stepFor(1.0f);  // resting on the floor
    play.events.clear();
    // Fast enough to knock, were the parting taken for a touch; well clear of
    // the ceiling at the end.
    const float resting = ball().GetPosition().y;
    ball().SetLinearVelocity(b2Vec2(0.0f, 25.0f));
    ASSERT_TRUE(stepUntil([&] { return ball().GetPosition().y > resting + 0.5f; }));
    EXPECT_TRUE(speedsOf(ContactEvent::Kind::knock).empty());
}

TEST_F(ContactRules, BlocksBreakOnlyAboveTwentySixOutsideTheCooldownAndGoWithoutARule) {
    // Too slow, or inside the cooldown of a jump: the block stays.
    for (auto [speed, cooldown] : {std::pair{26.0f, -1.0f}, {60.0f, 0.03f}}) {
        build(shaftOnto(TileId::breakable));
        play.jumpCooldown = cooldown;
        dropAt(speed);
        ASSERT_TRUE(stepUntil([&] { return movingUp(); }));
        EXPECT_TRUE(play.destroyQueue.empty()) << speed;
    }

    build(shaftOnto(TileId::breakable));
    const int number = entityOfKind(BodyKind::breakable)->number();
    dropAt(26.5f);
    ASSERT_TRUE(stepUntil([&] { return !play.destroyQueue.empty(); }));
    EXPECT_EQ(play.destroyQueue.at(number), BodyKind::breakable);
    EXPECT_EQ(speedsOf(ContactEvent::Kind::blockBroken).size(), 1u);

    // A block removed while touched runs no rule and leaves nothing behind.
    play = PlayState();
    build(shaftOnto(TileId::breakable));
    setGravity(b2Vec2(0.0f, -playGravity));
    dropAt(40.0f);
    // Removed in the very step it broke, while the ball still touches it.
    ASSERT_TRUE(stepUntil([&] { return !play.destroyQueue.empty(); }));
    const std::size_t events = play.events.size();
    play.impactSpeed = -1.0f;  // any rule that ran would overwrite it
    destroyQueuedEntities(*level, play);
    EXPECT_EQ(entityOfKind(BodyKind::breakable), nullptr);
    EXPECT_EQ(play.events.size(), events);
    EXPECT_EQ(play.impactSpeed, -1.0f);

    // Clearing the level runs no rule either.
    play.impactSpeed = -1.0f;
    level->clear();
    EXPECT_EQ(play.impactSpeed, -1.0f);
}

TEST_F(ContactRules, ASwitchChangesTheRequestedColourOnceAndThenTheTargetBreaks) {
    // Ball, a blue switch, then a blue target below.
    build({{3, 3, 3}, {3, 1, 3}, {3, 0, 3}, {3, 11, 3}, {3, 0, 3}, {3, 21, 3}, {3, 3, 3}});
    play.jumpRequested = true;
    dropAt(10.0f);
    ASSERT_TRUE(stepUntil([&] { return play.requestedColour == Colour::blue; }));
    ASSERT_EQ(speedsOf(ContactEvent::Kind::switchTouched).size(), 1u);
    EXPECT_TRUE(play.jumpRequested) << "a switch never makes the ball jump";
    play.jumpRequested = false;

    // The ball still has the old colour until the play screen applies it.
    ASSERT_TRUE(stepUntil([&] { return movingUp(); }));
    EXPECT_TRUE(play.destroyQueue.empty());
    EXPECT_EQ(speedsOf(ContactEvent::Kind::switchTouched).size(), 1u)
        << "passing the same switch reports nothing";

    play.ballColour = play.requestedColour;
    dropAt(10.0f);
    ASSERT_TRUE(stepUntil([&] { return !play.destroyQueue.empty(); }));
    EXPECT_EQ(speedsOf(ContactEvent::Kind::targetBroken).size(), 1u);
}

TEST_F(ContactRules, PenaltiesAreChargedOncePerGuardTimeOfGameTime) {
    build(shaftOnto(TileId::penalty));
    Entity* penalty = entityOfKind(BodyKind::penalty);
    ContactPoint touch;
    touch.fixtureA = penalty->fixture();
    touch.fixtureB = level->ball->fixture();
    touch.velocity = b2Vec2(0.0f, -5.0f);
    touch.normal = b2Vec2(0.0f, 2.0f);  // from the penalty up to the ball; not unit length
    level->listener->handleContact(touch, true);
    level->listener->handleContact(touch, false);
    EXPECT_FLOAT_EQ(play.pendingPenalty, 3.0f);
    EXPECT_NEAR(ball().GetLinearVelocity().y * ball().GetMass(), 75.0f, 1e-3f);

    level->listener->advanceClock(0.049f);
    level->listener->handleContact(touch, false);
    EXPECT_FLOAT_EQ(play.pendingPenalty, 3.0f);
    level->listener->advanceClock(0.002f);
    // The ball reported first: the push still points away from the penalty.
    std::swap(touch.fixtureA, touch.fixtureB);
    touch.normal = b2Vec2(0.0f, -1.0f);
    ball().SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    level->listener->handleContact(touch, false);
    EXPECT_FLOAT_EQ(play.pendingPenalty, 6.0f);
    EXPECT_GT(ball().GetLinearVelocity().y, 60.0f);

    play.finished = true;
    level->listener->advanceClock(1.0f);
    ball().SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    level->listener->handleContact(touch, true);
    EXPECT_FLOAT_EQ(play.pendingPenalty, 6.0f) << "no penalty after the finish";
    EXPECT_EQ(ball().GetLinearVelocity().y, 0.0f);
}

TEST_F(ContactRules, TheFinishIsReachedOnceAndAJumpLiftsTheBallOncePerPress) {
    build({{3, 3, 3}, {3, 1, 3}, {3, 0, 3}, {3, 2, 3}, {3, 0, 3}, {3, 3, 3}});
    play.jumpRequested = true;
    dropAt(10.0f);
    ASSERT_TRUE(stepUntil([&] { return play.finished; }));
    EXPECT_EQ(speedsOf(ContactEvent::Kind::finishReached).size(), 1u);
    EXPECT_TRUE(play.jumpRequested);
    ASSERT_TRUE(stepUntil([&] { return movingUp(); }));  // bounced below the finish
    ASSERT_TRUE(stepUntil([&] { return ball().GetPosition().y > -1.5f; }));  // back through it
    EXPECT_EQ(speedsOf(ContactEvent::Kind::finishReached).size(), 1u);
    EXPECT_TRUE(play.jumpRequested) << "no jump after the finish";

    // Unfinished, a jump lifts the ball once per press against gravity.
    play = PlayState();
    build({{3, 3, 3, 3}, {3, 0, 0, 3}, {3, 0, 0, 3}, {3, 1, 0, 3}, {3, 3, 3, 3}});
    setGravity(b2Vec2(0.0f, -playGravity));
    stepFor(1.0f);  // settle on the floor
    play.jumpCooldown = -0.01f;
    play.jumpRequested = true;
    stepUntil([] { return false; }, 7);
    EXPECT_FALSE(play.jumpRequested);
    EXPECT_GT(ball().GetLinearVelocity().y, 20.0f);

    // While the cooldown runs, a new press waits.
    stepFor(0.5f);
    play.jumpCooldown = 0.02f;
    play.jumpRequested = true;
    stepFor(0.5f);
    EXPECT_TRUE(play.jumpRequested);
    EXPECT_LT(ball().GetLinearVelocity().y, 30.0f);
}

}  // namespace
