#include <gtest/gtest.h>

#include "menu/NameCheck.hpp"
#include "menu/NameEditor.hpp"

using Key = sf::Keyboard;

TEST(NameEditor, TypesLettersByShiftDigitsAndThreeMarksAndHoldsFifteenCharacters) {
    NameEditor editor;
    EXPECT_TRUE(editor.apply(Key::A, true));
    EXPECT_TRUE(editor.apply(Key::B, false));
    EXPECT_TRUE(editor.apply(Key::Num1, false));
    EXPECT_EQ(editor.withCaret(), "Ab1_");
    EXPECT_TRUE(editor.apply(Key::Backspace, false));
    EXPECT_EQ(editor.name(), "Ab");
    for (Key::Key key : {Key::Z, Key::Period, Key::Comma, Key::Space, Key::Num0, Key::Num9}) {
        EXPECT_TRUE(editor.apply(key, true));
    }
    // Shift changes letters only; the digits and marks stay what they are.
    EXPECT_EQ(editor.name(), "AbZ., 09");

    // Keys outside the name alphabet change nothing.
    NameEditor other("x");
    for (Key::Key key : {Key::Numpad1, Key::Semicolon, Key::Slash, Key::Hyphen, Key::Quote,
                         Key::Tab, Key::Return, Key::Escape, Key::Left, Key::F1, Key::Unknown}) {
        EXPECT_FALSE(other.apply(key, false)) << "key " << key;
        EXPECT_FALSE(other.apply(key, true)) << "key " << key << " with Shift";
    }
    EXPECT_EQ(other.name(), "x");

    // Fifteen characters at most; Backspace stops at empty.
    NameEditor full;
    for (int i = 0; i < 15; ++i) {
        EXPECT_TRUE(full.apply(Key::Num7, false));
    }
    EXPECT_FALSE(full.apply(Key::Num8, false)) << "the sixteenth character is refused";
    EXPECT_EQ(full.name(), std::string(15, '7'));
    for (int i = 0; i < 15; ++i) {
        EXPECT_TRUE(full.apply(Key::Backspace, false));
    }
    EXPECT_TRUE(full.empty());
    EXPECT_FALSE(full.apply(Key::Backspace, false));
    EXPECT_EQ(full.withCaret(), "_");

    // An overlong stored name is kept until shortened below the limit.
    NameEditor overlong(std::string(17, 'q'));
    for (int length = 17; length >= 15; --length) {
        EXPECT_FALSE(overlong.apply(Key::A, false)) << "at " << length << " characters";
        EXPECT_TRUE(overlong.apply(Key::Backspace, false));
    }
    EXPECT_TRUE(overlong.apply(Key::A, false));
    EXPECT_EQ(overlong.name(), std::string(14, 'q') + "a");
}

// Free only when the answer starts with OK.
TEST(NameCheckAnswer, OnlyOkIsFreeAndNoAnswerIsToldApartFromTaken) {
    for (auto [body, outcome] : {std::pair{"OKAY", NameCheckOutcome::free},
                                 {"OK\n", NameCheckOutcome::free},
                                 {"", NameCheckOutcome::unchecked},
                                 {" OK", NameCheckOutcome::taken},
                                 {"ok", NameCheckOutcome::taken},
                                 {"<html>busy</html>", NameCheckOutcome::taken},
                                 {"ERROR name too long\n", NameCheckOutcome::refused},
                                 // The server's own failure says nothing about the name.
                                 {"ERROR storage\n", NameCheckOutcome::unchecked}}) {
        EXPECT_EQ(readNameCheckAnswer(body), outcome) << body;
    }
}
