#pragma once

#include <optional>
#include <string>
#include <string_view>

// The score text: how a time travels in the settings file (personal bests) and
// to the highscore server. It is the position of the decimal point, one space,
// and then each decimal digit of the time replaced by its character from the
// score-text table, so 65.0 s becomes "0 " plus the characters of 6 and 5, and
// 12.5 s becomes "2 " plus those of 1, 2 and 5.
//
// The game and the server share this table: entries written with one table read
// back correctly only with the same table.

// The character that stands for the decimal digit `digit` (0 to 9).
char scoreCharacter(int digit);
// The digit a character stands for, or -1 when it is not in the table.
int scoreDigit(char character);

// The score text of a time in seconds (0 or more). Six significant digits are
// kept, as a default output stream writes them; times of 10,000 s or more lose
// their fraction.
std::string encodeTime(float seconds);

// The seconds a score text stands for, or -1 when the text is shorter than
// three characters or does not start with a number. Forgiving like the game has
// always been with its settings file: a character not in the table counts as 0.
float decodeTime(std::string_view text);

// Strict reading for text that arrives from outside (the server's requests): a
// single point position digit, one space, then 1 to 16 table characters, with
// the point position not beyond the digits. Anything else is empty.
std::optional<float> parseScoreText(std::string_view text);
