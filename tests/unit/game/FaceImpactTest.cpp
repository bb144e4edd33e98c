#include <gtest/gtest.h>

#include "game/PlayerFace.hpp"

TEST(FaceImpact, ANewExpressionIsHeldForTwoSeconds) {
    FaceAnimation face;
    face.reactToImpact();
    const int first = face.expression();
    EXPECT_FLOAT_EQ(face.holdLeft(), 2.0f);
    face.update(1.0f);
    face.reactToImpact();
    EXPECT_FLOAT_EQ(face.holdLeft(), 1.0f) << "a knock one second later changes nothing";
    EXPECT_EQ(face.expression(), first);
    face.update(1.0f);
    face.reactToImpact();
    EXPECT_FLOAT_EQ(face.holdLeft(), 2.0f) << "two seconds later it reacts again";
}
