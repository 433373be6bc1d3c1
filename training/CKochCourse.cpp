#include "training/CKochCourse.h"

#include <algorithm>

#include "core/CMorseTable.h"
#include "text/CMorseText.h"

std::string CKochCourse::CleanOrder(std::string_view order) {
    std::string cleaned;
    for (char c : order) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        // A mark of either punctuation table keeps its place, so that the lessons keep their
        // numbers whichever table is in use.
        if (c != ' ' && CMorseTable::HasCodeInEitherTable(c) &&
            cleaned.find(c) == std::string::npos) {
            cleaned.push_back(c);
        }
    }
    return cleaned;
}

std::string CKochCourse::DefaultOrder() {
    return CleanOrder(kKochOrder);
}

CKochCourse::CKochCourse(std::string_view courseOrder, int courseLesson)
    : order(CleanOrder(courseOrder)) {
    if (order.size() < 2) {
        order = DefaultOrder();
    }
    lesson = std::clamp(courseLesson, 1, LessonCount());
}

std::string CKochCourse::DrawingSet() const {
    constexpr std::size_t kPositions = 2048;
    const std::string characters = Characters();
    const std::size_t copies = kPositions / (characters.size() + 1);
    std::string set;
    for (const char c : characters) {
        // A mark the table in use has no code for is not drawn.
        if (CMorseTable::HasCode(c)) {
            set.append(c == Newest() ? 2 * copies : copies, c);
        }
    }
    return set;
}

std::string CKochCourse::Generate(const std::string& drawingSet, std::uint32_t seed) const {
    std::string text;
    for (int k = 0; k < kIntroductions && CMorseTable::HasCode(Newest()); ++k) {
        text.push_back(Newest());
        text.push_back(' ');
    }
    // Whole groups of five with their spaces fill the rest of the text.
    const std::size_t room = (static_cast<std::size_t>(kMaxTextLength) - text.size()) / 6 * 6;
    text += CMorseText::Generate(drawingSet.empty() ? DrawingSet() : drawingSet, kLetterText, seed)
                .substr(0, room);
    return text;
}

bool CKochCourse::OffersNextLesson(double score, int currentLesson, int lessonCount) {
    return score >= kAdvanceScore && currentLesson < lessonCount;
}

bool CKochCourse::OffersNextLesson(int sentCount, double score, int minimumSent, int currentLesson,
                                   int lessonCount) {
    return sentCount >= std::max(minimumSent, kLowestMinimumSent) &&
           OffersNextLesson(score, currentLesson, lessonCount);
}

bool CKochCourse::OffersNextLesson(const CCopyCheck& check, int minimumSent, int currentLesson,
                                   int lessonCount) {
    return OffersNextLesson(check.SentCount(), check.ScorePercent(), minimumSent, currentLesson,
                            lessonCount);
}
