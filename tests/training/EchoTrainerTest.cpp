#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "training/CEchoTrainer.h"

namespace {

// Right speeds the next item up a step, wrong repeats the same item a step slower, within the
// speed's bounds; spaces and case do not count.
TEST(EchoTrainer, SpeedFollowsTheVerdicts) {
    struct Case {
        int startSpeed;
        bool right;
        int speedAfter;
    };
    const Case cases[] = {
        {60, true, 65},
        {60, false, 55},
        {CEchoTrainer::kHighestSpeed, true, CEchoTrainer::kHighestSpeed},
        {CEchoTrainer::kLowestSpeed, false, CEchoTrainer::kLowestSpeed},
    };
    for (const Case& c : cases) {
        EchoSettings settings;
        settings.characters = "abc";
        settings.item = EchoItem::kGroup;
        settings.startSpeed = c.startSpeed;
        CEchoTrainer echo(settings);
        const std::string item = echo.Item();
        std::string sent = item;
        sent.insert(2, " ");
        for (char& ch : sent) {
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        EXPECT_EQ(echo.Judge(c.right ? sent : "X"), c.right);
        EXPECT_EQ(echo.Speed(), c.speedAfter);
        if (!c.right) {
            EXPECT_EQ(echo.Item(), item);
        }
    }
}

// Items are made of the set's characters: a character, a group, a word of the list that has no
// other character (groups when the list has none), and a callsign of any characters.
TEST(EchoTrainer, ItemsComeFromTheSet) {
    struct Case {
        EchoItem item;
        std::string_view words;
        std::string expected;  // empty: any item of the set's characters and the length given
        std::size_t length;
    };
    const Case cases[] = {
        {EchoItem::kCharacter, "", "", 1},
        {EchoItem::kGroup, "", "", CEchoTrainer::kGroupLength},
        {EchoItem::kWord, "TEN\r\nNET\r\nTENT\r\n", "", 0},
        {EchoItem::kWord, "MORSE\nKEY\n", "", CEchoTrainer::kGroupLength},
    };
    for (const Case& c : cases) {
        EchoSettings settings;
        settings.characters = "NET";
        settings.item = c.item;
        settings.wordList = c.words;
        CEchoTrainer echo(settings);
        for (int k = 0; k < 20; ++k) {
            const std::string item = echo.Item();
            if (c.length > 0) {
                EXPECT_EQ(item.size(), c.length) << item;
            } else {
                EXPECT_TRUE(item == "TEN" || item == "NET" || item == "TENT") << item;
            }
            EXPECT_EQ(item.find_first_not_of("NET"), std::string::npos) << item;
            echo.Judge(item);
        }
    }
    EchoSettings callsigns;
    callsigns.item = EchoItem::kCallsign;
    EXPECT_FALSE(CEchoTrainer(callsigns).Empty());
    EXPECT_TRUE(CEchoTrainer(EchoSettings{}).Empty());
}

}  // namespace
