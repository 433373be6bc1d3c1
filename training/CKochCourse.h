#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "training/CheckRecord.h"

// The Koch course: characters are learnt in a fixed order, a lesson at a time. Lesson L practises
// the first L + 1 characters of the order, from lesson 1 (two characters) to the last (the whole
// order). A lesson text first keys its newest character alone a few times, then groups of five
// drawn from the lesson's characters, the newest about twice as often as each of the others.
// Plain data; any thread.
class CKochCourse {
public:
    // Koch's order, as far as the Morse table has the characters.
    static constexpr std::string_view kKochOrder = "KMRSUAPTLOWI.NJEF0Y,VG5/Q9ZH38B?427C1D6X";
    // How often the newest character is keyed alone before the groups.
    static constexpr int kIntroductions = 6;
    // A check of a lesson text that scores this much (per cent) or more, over at least so many
    // sent characters (the course's own number, this by default), offers the next lesson.
    static constexpr double kAdvanceScore = 90.0;
    static constexpr int kDefaultMinimumSent = 100;
    // The course's number of sent characters lies within these.
    static constexpr int kLowestMinimumSent = 1;
    static constexpr int kHighestMinimumSent = 2000;

    // An order as the course uses it: ASCII letters as capitals, each character once, nothing
    // without a code, no spaces.
    static std::string CleanOrder(std::string_view order);
    static std::string DefaultOrder();

    // `order` is cleaned; fewer than two characters make it the default order. The lesson is
    // kept within the order's lessons.
    CKochCourse(std::string_view order, int lesson);

    const std::string& Order() const { return order; }
    int Lesson() const { return lesson; }
    int LessonCount() const { return static_cast<int>(order.size()) - 1; }
    // The lesson's characters in the course order, and the newest of them.
    std::string Characters() const { return order.substr(0, static_cast<std::size_t>(lesson) + 1); }
    char Newest() const { return order[static_cast<std::size_t>(lesson)]; }
    // The positions the groups are drawn from: the newest character has twice as many as each
    // of the others. Many positions make the generator's rejection draw quick.
    std::string DrawingSet() const;

    // A lesson text of 300 characters: the introduction, then groups of five drawn from
    // `drawingSet` (the lesson's DrawingSet, or that set weighted by the history).
    std::string Generate(const std::string& drawingSet, std::uint32_t seed) const;

    // Whether a check of a lesson text with this score (ScorePercent) offers the next lesson,
    // as far as the score goes.
    static bool OffersNextLesson(double score, int lesson, int lessonCount);
    // Whether a check of a lesson text offers the next lesson: enough characters sent to judge
    // (at least `minimumSent`), a score of kAdvanceScore or more, and a lesson after this one.
    static bool OffersNextLesson(int sentCount, double score, int minimumSent, int lesson,
                                 int lessonCount);
    static bool OffersNextLesson(const CCopyCheck& check, int minimumSent, int lesson,
                                 int lessonCount);

private:
    std::string order;
    int lesson = 1;
};
