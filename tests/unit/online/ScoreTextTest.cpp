#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <sstream>

#include "sim/run/ScoreText.hpp"

namespace {

std::string characters(const std::string& digits) {
    std::string text;
    for (char digit : digits) {
        text += scoreCharacter(digit - '0');
    }
    return text;
}

}  // namespace

TEST(ScoreTextTable, TenDistinctCharactersThatTravelUnescaped) {
    std::set<char> seen;
    for (int digit = 0; digit <= 9; ++digit) {
        const char c = scoreCharacter(digit);
        EXPECT_EQ(scoreDigit(c), digit);
        EXPECT_FALSE(c >= '0' && c <= '9') << c;
        EXPECT_EQ(std::string(" &=%+\t\n\r").find(c), std::string::npos) << c;
        seen.insert(c);
    }
    EXPECT_EQ(seen.size(), 10u);
    EXPECT_EQ(scoreDigit('5'), -1);
    EXPECT_EQ(scoreDigit(' '), -1);
}

TEST(ScoreText, StoredTextsKeepTheirMeaningAndRoundTripsKeepSixDigitsWithoutAnExponent) {
    // Personal bests in settings files and other clients depend on these.
    EXPECT_EQ(encodeTime(12.5f), "2 rXt");
    EXPECT_EQ(encodeTime(0.5f), "1 Jt");
    EXPECT_EQ(encodeTime(12.3456f), "2 rXmEtW");
    EXPECT_EQ(encodeTime(1089.0f), "0 rJC_");

    std::mt19937 random(7);
    std::uniform_real_distribution<float> seconds(0.001f, 99999.0f);
    for (int i = 0; i < 2000; ++i) {
        const float t = seconds(random);
        std::ostringstream sixDigits;
        sixDigits << t;
        EXPECT_EQ(decodeTime(encodeTime(t)), std::stof(sixDigits.str())) << t;
    }

    // The stream writes these as 1.23457e+06 and 1.5e-05; taken digit by digit
    // that would read back as 123457 and 155 seconds.
    EXPECT_FLOAT_EQ(decodeTime(encodeTime(1234567.0f)), 1234570.0f);
    EXPECT_FLOAT_EQ(decodeTime(encodeTime(0.000015f)), 0.000015f);
}

TEST(ScoreText, DecodeRefusesWhatIsNoScoreTextAndStrictParseOnlyWellFormedText) {
    EXPECT_EQ(decodeTime(""), -1);
    EXPECT_EQ(decodeTime("2 "), -1);
    EXPECT_EQ(decodeTime("x " + characters("125")), -1);
    EXPECT_EQ(decodeTime("0 " + std::string(60, scoreCharacter(9))), -1);
    // The game's own reading is forgiving: an unknown character is a 0.
    EXPECT_FLOAT_EQ(decodeTime("2 " + characters("12") + "?"), 12.0f);

    ASSERT_TRUE(parseScoreText(encodeTime(75.5f)).has_value());
    EXPECT_FLOAT_EQ(*parseScoreText(encodeTime(75.5f)), 75.5f);
    EXPECT_FALSE(parseScoreText("2 " + characters("12") + "?"));
    for (const std::string& bad :
         {"2" + characters("125"), "12 " + characters("125"), "x " + characters("125"),
          "4 " + characters("125"), std::string("2 ")}) {
        EXPECT_FALSE(parseScoreText(bad)) << bad;
    }
    EXPECT_FALSE(parseScoreText("0 " + std::string(17, scoreCharacter(1))));
    EXPECT_TRUE(parseScoreText("0 " + std::string(16, scoreCharacter(1))));
}
