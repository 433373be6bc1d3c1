#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/CMorseTable.h"
#include "text/CMorseText.h"
#include "training/CCharacterWeights.h"
#include "training/CCourseFile.h"
#include "training/CKochCourse.h"

namespace {

// How often each character turns up in the groups of many seeded texts.
std::map<char, double> MeasuredShares(const std::function<std::string(std::uint32_t)>& text,
                                      int texts, std::size_t skip = 0) {
    std::map<char, double> counts;
    double total = 0;
    for (int seed = 1; seed <= texts; ++seed) {
        const std::string drawn = text(static_cast<std::uint32_t>(seed));
        for (std::size_t i = skip; i < drawn.size(); ++i) {
            if (drawn[i] != ' ') {
                counts[drawn[i]] += 1;
                total += 1;
            }
        }
    }
    for (auto& entry : counts) {
        entry.second /= total;
    }
    return counts;
}

TEST(KochCourse, LessonSetsFromTheFirstToTheLast) {
    const std::string order = CKochCourse::DefaultOrder();
    // Koch's order whole, the full stop in its place whichever table is in use.
    EXPECT_EQ(order, "KMRSUAPTLOWI.NJEF0Y,VG5/Q9ZH38B?427C1D6X");
    const CKochCourse first(order, 1);
    EXPECT_EQ(first.Characters(), "KM");
    EXPECT_EQ(first.Newest(), 'M');
    const std::string set = first.DrawingSet();
    EXPECT_EQ(std::count(set.begin(), set.end(), 'M'), 2 * std::count(set.begin(), set.end(), 'K'));
    EXPECT_EQ(set.find_first_not_of("KM"), std::string::npos);
    const CKochCourse middle(order, 20);
    EXPECT_EQ(middle.Characters(), "KMRSUAPTLOWI.NJEF0Y,V");
    EXPECT_EQ(middle.Newest(), 'V');
    const CKochCourse last(order, first.LessonCount());
    EXPECT_EQ(last.LessonCount(), 39);
    EXPECT_EQ(last.Characters(), order);
    EXPECT_EQ(last.Newest(), 'X');
    // Lessons outside the course are brought into it.
    EXPECT_EQ(CKochCourse(order, 0).Lesson(), 1);
    EXPECT_EQ(CKochCourse(order, 500).Lesson(), 39);
}

TEST(KochCourse, OrderIsCleanedLikeTheLettersSet) {
    EXPECT_EQ(CKochCourse::CleanOrder("km rs%ukM\x01"), "KMRSU");
    // Too short an order is no course: the default takes its place.
    EXPECT_EQ(CKochCourse("K", 3).Order(), CKochCourse::DefaultOrder());
    EXPECT_EQ(CKochCourse("ab", 3).Lesson(), 1);
}

// A mark of either punctuation table keeps its place in the order, so that an order's lessons
// keep their numbers (the LCWO order brings the full stop in its lesson 13); a mark the table in
// use has no code for is neither introduced nor drawn.
TEST(KochCourse, PunctuationKeepsTheLessonNumbers) {
    const std::string lcwo = "KMURESNAPTLWI.JZ=FOY,VG5/Q92H38B?47C1D60X";
    const CKochCourse fullStop(lcwo, 13);
    EXPECT_EQ(fullStop.Newest(), '.');
    EXPECT_EQ(CKochCourse(lcwo, 14).Newest(), 'J');
    for (const Punctuation table : {Punctuation::kProgram, Punctuation::kInternational}) {
        CMorseTable::SetPunctuation(table);
        const std::string text = fullStop.Generate(fullStop.DrawingSet(), 7);
        const bool heard = table == Punctuation::kInternational;
        EXPECT_EQ(text.find('.') != std::string::npos, heard) << text;
        EXPECT_EQ(text.rfind(". ", 0) == 0, heard) << text;
    }
    CMorseTable::SetPunctuation(Punctuation::kProgram);
}

TEST(KochCourse, TextIntroducesTheNewCharacterThenItsGroups) {
    const CKochCourse course(CKochCourse::DefaultOrder(), 3);  // K M R S
    const std::string text = course.Generate(course.DrawingSet(), 77);
    ASSERT_EQ(text.size(), 300U);
    EXPECT_EQ(text.substr(0, 12), "S S S S S S ");
    for (std::size_t i = 12; i < text.size(); ++i) {
        EXPECT_EQ(text[i] == ' ', (i - 12) % 6 == 5) << i;
        EXPECT_NE(std::string("KMRS ").find(text[i]), std::string::npos) << i;
    }
    // The new character is keyed alone six times, each followed by a word gap.
    CMorseText morse;
    morse.SetText(text);
    morse.SetKind(kLessonText);
    const std::string sign = std::string(CMorseTable::CodeOf('S', false)) + "m ";
    std::string intro;
    for (int k = 0; k < 6; ++k) {
        intro += sign;
    }
    EXPECT_EQ(morse.ToElements().substr(0, intro.size()), intro);
}

// Over many seeded texts the newest character has about twice the share of each other one.
TEST(KochCourse, NewestCharacterIsDrawnTwiceAsOften) {
    for (const int lesson : {1, 10, 39}) {
        const CKochCourse course(CKochCourse::DefaultOrder(), lesson);
        ASSERT_EQ(course.Lesson(), lesson);
        const auto shares = MeasuredShares(
            [&](std::uint32_t seed) { return course.Generate(course.DrawingSet(), seed); }, 300,
            12);
        // The full stop, which the program's table has no code for, is not drawn.
        const std::string drawn = [&] {
            std::string characters = course.Characters();
            std::erase(characters, '.');
            return characters;
        }();
        const double n = static_cast<double>(drawn.size());
        // 300 texts of 240 characters: the bounds are many standard deviations wide, yet far
        // from the shares of an even draw.
        EXPECT_NEAR(shares.at(course.Newest()), 2 / (n + 1), 0.15 / (n + 1)) << lesson;
        for (const char c : drawn.substr(0, drawn.size() - 1)) {
            EXPECT_NEAR(shares.at(c), 1 / (n + 1), 0.25 / (n + 1)) << lesson << c;
        }
    }
}

CheckRecord Seen(const std::string& set, int sent, std::map<char, int> wrong) {
    CheckRecord record;
    for (const char c : set) {
        record.characters[c] = {sent, wrong.count(c) != 0 ? wrong.at(c) : 0};
    }
    return record;
}

TEST(CharacterWeights, NoHistoryDrawsExactlyAsBefore) {
    const CCharacterWeights none({});
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    EXPECT_FALSE(none.HasHistory());
    EXPECT_EQ(none.Weighted(letters), letters);
    EXPECT_EQ(none.Weighted("12 34"), "12 34");
}

// A learner of the letters who has met a dozen of them, one of which (S) is missed nine times in
// ten and mostly copied as H; the other letters are not yet (or hardly) seen.
std::vector<CheckRecord> WeakLetterHistory() {
    CheckRecord record;
    for (const char c : std::string("KMRUAPTLOWIH")) {
        record.characters[c] = {50, 2};
    }
    record.characters['S'] = {42, 41};
    record.characters['B'] = {2, 0};
    record.characters['C'] = {1, 0};
    record.confusions = {{'S', 'H', 30}, {'S', 'I', 4}};
    return {record};
}

// Over many texts the proven weak letter turns up at least twice as often as its fair share and
// the letter it is taken for more often than its fair share; no letter falls below half its fair
// share; letters merely seen rarely gain less than the weak one. The bounds are many standard
// deviations (about 0.001 here) from the expected shares.
TEST(CharacterWeights, WeakCharacterAndItsPartnerComeUpMoreAndNoneFallsBelowHalf) {
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const CCharacterWeights weights(WeakLetterHistory());
    const std::string weighted = weights.Weighted(letters);
    const auto shares = MeasuredShares(
        [&](std::uint32_t seed) { return CMorseText::Generate(weighted, 0, seed); }, 200);
    const double fair = 1.0 / 26;
    EXPECT_GE(shares.at('S'), 2 * fair);
    EXPECT_GE(shares.at('H'), 1.15 * fair);
    for (const char c : letters) {
        EXPECT_GE(shares.at(c), 0.5 * fair) << c;
        if (c != 'S') {
            // Rarely seen or never seen, a letter gains less than the proven weak one.
            EXPECT_LT(shares.at(c) - fair, 0.5 * (shares.at('S') - fair)) << c;
        }
    }
    // Whatever the history, no character falls below half its fair share in the model either.
    CheckRecord extreme;
    extreme.characters['E'] = {100000, 100000};
    extreme.confusions = {{'E', 'T', 100000}};
    for (const auto& [c, share] : CCharacterWeights({extreme}).Shares(letters)) {
        EXPECT_GE(share, 0.5 * fair - 1e-12) << c;
    }
}

// Twenty sendings, eighteen missed, against a letter seen twice and copied right both times and
// one never seen: the weak one leads.
TEST(CharacterWeights, ProvenWeaknessOutweighsRarity) {
    CheckRecord record;
    record.characters['T'] = {20, 18};
    record.characters['E'] = {2, 0};
    const auto shares = CCharacterWeights({record}).Shares("ETA");
    EXPECT_GT(shares.at('T'), shares.at('A'));
    EXPECT_GT(shares.at('T'), shares.at('E'));
    EXPECT_GE(shares.at('E'), 0.5 / 3);
}

TEST(CharacterWeights, RarelySeenCharactersGetMore) {
    // E seen often and always right, T never seen: T needs more practice.
    const CCharacterWeights weights({Seen("E", 50, {})});
    const auto shares = weights.Shares("ET");
    EXPECT_GT(shares.at('T'), shares.at('E'));
    // Spaces of the set keep their share.
    const auto spaced = weights.Shares("E T ");
    EXPECT_DOUBLE_EQ(spaced.at(' '), 0.5);
}

TEST(KochCourse, NextLessonIsOfferedFromNinetyPerCent) {
    EXPECT_FALSE(CKochCourse::OffersNextLesson(89.0, 3, 39));
    EXPECT_FALSE(CKochCourse::OffersNextLesson(89.99, 3, 39));
    EXPECT_TRUE(CKochCourse::OffersNextLesson(90.0, 3, 39));
    EXPECT_TRUE(CKochCourse::OffersNextLesson(100.0, 38, 39));
    // The last lesson has no next one.
    EXPECT_FALSE(CKochCourse::OffersNextLesson(100.0, 39, 39));
}

// The next lesson needs evidence: enough sent characters and the score.
TEST(KochCourse, NextLessonNeedsEnoughSentCharacters) {
    struct {
        int sent;
        double score;
        int minimum;
        int lesson;
        bool offered;
    } const cases[] = {
        {100, 90.0, 100, 3, true},  {99, 100.0, 100, 3, false}, {250, 89.9, 100, 3, false},
        {150, 95.0, 200, 3, false}, {20, 95.0, 20, 3, true},    {100, 100.0, 100, 39, false},
        {1, 100.0, 0, 3, true},     {0, 100.0, 0, 3, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CKochCourse::OffersNextLesson(c.sent, c.score, c.minimum, c.lesson, 39),
                  c.offered)
            << c.sent << " " << c.score << " " << c.minimum;
    }
    // Four S of a lesson copied as six: two thirds, no next lesson however long the text.
    EXPECT_FALSE(CKochCourse::OffersNextLesson(CCopyCheck("S S S S", "S S S S S S"), 1, 3, 39));
    // A lesson text copied right, 300 characters of it.
    const CKochCourse course(CKochCourse::DefaultOrder(), 3);
    const std::string text = course.Generate(course.DrawingSet(), 5);
    EXPECT_TRUE(CKochCourse::OffersNextLesson(CCopyCheck(text, text), 100, 3, 39));
    EXPECT_FALSE(CKochCourse::OffersNextLesson(CCopyCheck(text.substr(0, 60), text.substr(0, 60)),
                                               100, 3, 39));
}

// The number of sent characters is kept with the course; a file without it (as older ones are)
// reads with the default, and a file of the default course is written as it always was.
TEST(CourseFile, MinimumOfSentCharacters) {
    EXPECT_EQ(CCourseFile::Parse("lekce=3\nporadi=KMRSU\nslabe=1\n").minimumSent, 100);
    CCourseFile::Settings settings{.lesson = 4, .order = "KMRSU", .minimumSent = 150};
    EXPECT_EQ(CCourseFile::Format(settings), "lekce=4\nporadi=KMRSU\nslabe=0\nminznaku=150\n");
    EXPECT_EQ(CCourseFile::Parse(CCourseFile::Format(settings)), settings);
    settings.minimumSent = 100;
    EXPECT_EQ(CCourseFile::Format(settings), "lekce=4\nporadi=KMRSU\nslabe=0\n");
    for (const char* bad : {"minznaku=0", "minznaku=2001", "minznaku=-5", "minznaku=12a",
                            "minznaku=", "minznaku=99999999999999999999"}) {
        EXPECT_EQ(CCourseFile::Parse(std::string("lekce=2\n") + bad + "\n").minimumSent, 100)
            << bad;
    }
    EXPECT_EQ(CCourseFile::Parse("minznaku=1\n").minimumSent, 1);
    EXPECT_EQ(CCourseFile::Parse("minznaku=2000\r\n").minimumSent, 2000);
}

TEST(CourseFile, RoundTripAndDefaults) {
    const CCourseFile::Settings defaults = CCourseFile::Parse("");
    EXPECT_EQ(defaults.lesson, 1);
    EXPECT_EQ(defaults.order, CKochCourse::DefaultOrder());
    EXPECT_FALSE(defaults.weakCharacters);
    EXPECT_FALSE(defaults.lessonKind);
    CCourseFile::Settings settings{
        .lesson = 12, .order = "ABCDEFG", .weakCharacters = true, .lessonKind = true};
    EXPECT_EQ(CCourseFile::Format(settings), "lekce=12\nporadi=ABCDEFG\nslabe=1\ndruh=1\n");
    EXPECT_EQ(CCourseFile::Parse(CCourseFile::Format(settings)), settings);
}

// A kind of real traffic is kept with the course; only the kinds after the lesson kind are.
TEST(CourseFile, TrafficKind) {
    CCourseFile::Settings settings{.lesson = 2, .order = "KMR", .trafficKind = kCallsignText};
    EXPECT_EQ(CCourseFile::Format(settings), "lekce=2\nporadi=KMR\nslabe=0\ndruhtextu=7\n");
    EXPECT_EQ(CCourseFile::Parse(CCourseFile::Format(settings)), settings);
    const struct {
        const char* line;
        int kind;
    } cases[] = {{"druhtextu=6", kWordText}, {"druhtextu=9\r", kContactText},
                 {"druhtextu=5", 0},         {"druhtextu=10", 0},
                 {"druhtextu=0", 0},         {"druhtextu=-7", 0},
                 {"druhtextu=7x", 0},        {"druhtextu=", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(CCourseFile::Parse(std::string("lekce=3\n") + c.line + "\n").trafficKind, c.kind)
            << c.line;
    }
}

TEST(CourseFile, DamagedLinesKeepTheirDefaults) {
    const char* files[] = {
        "lekce=0\nporadi=K\nslabe=2\n",   "lekce=-4\r\nporadi=\r\nslabe=yes\r\n",
        "lekce=12x\nporadi==%%\nslabe\n", "\xff\xfe\x00lekce=3",
        "lekce=99999999999999999999\n",
    };
    for (const char* file : files) {
        const CCourseFile::Settings read = CCourseFile::Parse(file);
        EXPECT_EQ(read.lesson, 1) << file;
        EXPECT_EQ(read.order, CKochCourse::DefaultOrder()) << file;
        EXPECT_FALSE(read.weakCharacters) << file;
    }
    // The good lines of a file with bad ones are kept.
    const auto mixed = CCourseFile::Parse("junk\nlekce=7\nporadi=km%r\nslabe=1");
    EXPECT_EQ(mixed.lesson, 7);
    EXPECT_EQ(mixed.order, "KMR");
    EXPECT_TRUE(mixed.weakCharacters);
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = CCourseFile::Format({5, "KMRSU", true});
        bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
        const auto read = CCourseFile::Parse(bytes);
        EXPECT_GE(read.lesson, 1);
        EXPECT_GE(CKochCourse(read.order, read.lesson).LessonCount(), 1);
    }
}

}  // namespace
