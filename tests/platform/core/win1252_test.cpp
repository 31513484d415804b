#include "platform/core/Win1252.h"

#include <gtest/gtest.h>

using namespace fat;

TEST(Win1252, ConvertsToAndFromUtf8) {
    struct Case { const char* utf8; const char* win1252; };
    const Case cases[] = {
        {"Situação", "Situa\xE7\xE3o"},
        {"JOSÉ D'ÁVILA", "JOS\xC9 D'\xC1VILA"},
        {"€ – “x”", "\x80 \x96 \x93x\x94"},
        {"Período", "Per\xEDodo"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToWin1252(c.utf8), c.win1252) << c.utf8;
        EXPECT_EQ(Win1252ToUtf8(c.win1252), c.utf8) << c.utf8;
    }
    EXPECT_EQ(Utf8ToWin1252("a\xE2\x82z"), "a?z"); // broken sequence
    EXPECT_EQ(Utf8ToWin1252("\xE4\xB8\xAD"), "?");  // no such character in the page
    for (int b = 0; b < 256; ++b) {                // every byte survives the round trip
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToWin1252(Win1252ToUtf8(one)), one) << b;
    }
}

TEST(Win1252, CaseOfAccentedLetters) {
    EXPECT_TRUE(SameTextWin1252("a\xE7\xE3o jos\xE9", "A\xC7\xC3O JOS\xC9"));
    EXPECT_FALSE(SameTextWin1252("acao", "a\xE7\xE3o"));
    EXPECT_EQ(UpperWin1252(std::string("\x9A\xFF\xDF\xF7")), "\x8A\x9F\xDF\xF7"); // ß and ÷ stay
    EXPECT_EQ(LowerWin1252('\xC9'), '\xE9');
}
