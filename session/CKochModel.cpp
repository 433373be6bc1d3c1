#include "session/CKochModel.h"

#include <algorithm>

#include "training/CCourseOrders.h"
#include "training/CKochCourse.h"

CKochModel::CKochModel(const std::string& order, int start, int minimum, CNotifier& warnings)
    : notifier(warnings), orderText(CleanTyped(order, 0, warnings, false, false, true).text) {
    SetLesson(CKochCourse(order, start).Lesson());
    SetMinimumSent(minimum);
}

std::vector<std::string> CKochModel::ShippedNames() {
    std::vector<std::string> names;
    for (const CCourseOrders::Order& shipped : CCourseOrders::Shipped()) {
        names.push_back(shipped.name);
    }
    return names;
}

TypedText CKochModel::TypeOrder(const std::string& shown, int caret) {
    TypedText typed = CleanTyped(shown, caret, notifier, false, false, true);
    orderText = typed.text;
    SetLesson(lesson);
    return typed;
}

void CKochModel::SetLesson(int chosen) {
    lesson = std::clamp(chosen, 1, std::max(1, CKochCourse(Order(), 1).LessonCount()));
}

void CKochModel::SetMinimumSent(int minimum) {
    minimumSent =
        std::clamp(minimum, CKochCourse::kLowestMinimumSent, CKochCourse::kHighestMinimumSent);
}

void CKochModel::Take(const std::string& order) {
    orderText = order;
    SetLesson(lesson);
}

void CKochModel::ChooseShipped(int index) {
    const auto& shipped = CCourseOrders::Shipped();
    if (index >= 0 && static_cast<std::size_t>(index) < shipped.size()) {
        Take(shipped[static_cast<std::size_t>(index)].order);
    }
}

void CKochModel::ReadOrderFile(const std::string& path) {
    const std::optional<CCourseOrders::Order> read = CCourseOrders::ReadFile(path);
    fileName.reset();
    unusableFile.reset();
    if (!read) {
        unusableFile = path;
        return;
    }
    fileName = read->name;
    fileUnused = {read->droppedCharacters, read->unusedLines};
    Take(read->order);
}

void CKochModel::DefaultOrder() {
    Take(CKochCourse::DefaultOrder());
}

std::string CKochModel::Order() const {
    return CKochCourse(orderText, 1).Order();
}

int CKochModel::Lesson() const {
    return CKochCourse(Order(), lesson).Lesson();
}

CKochModel::View CKochModel::GetView() const {
    View view;
    view.order = orderText;
    const CKochCourse course(Order(), lesson);
    view.lessonCount = CKochCourse(Order(), 1).LessonCount();
    view.lesson = lesson;
    view.minimumSent = minimumSent;
    const std::optional<std::size_t> shipped = CCourseOrders::ShippedIndex(orderText);
    view.listIndex = static_cast<int>(shipped ? *shipped : CCourseOrders::Shipped().size());
    view.characters = course.Characters();
    view.newest = course.Newest();
    view.fileName = fileName;
    view.unusableFile = unusableFile;
    std::string characters;
    for (const char c : view.characters) {
        characters += (characters.empty() ? "" : " ") + Utf8FromCp1250(std::string_view(&c, 1));
    }
    view.lessonText = FillCaption(captions[kCharacters],
                                  {characters, Utf8FromCp1250(std::string_view(&view.newest, 1))});
    if (fileName) {
        view.fileText = Utf8FromCp1250(*fileName);
        const auto& [dropped, lines] = fileUnused;
        if (!dropped.empty() || lines > 0) {
            std::string unusable;
            for (const char c : dropped) {
                unusable += (unusable.empty() ? "" : " ") + Utf8FromCp1250(std::string_view(&c, 1));
            }
            view.fileText +=
                '\n' + FillCaption(captions[kFileUnused],
                                   {unusable.empty() ? "–" : unusable, std::to_string(lines)});
        }
    } else if (unusableFile) {
        view.fileText = FillCaption(captions[kUnusableFile], {*unusableFile});
    }
    return view;
}

void CKochModel::SetCaptions(CaptionList languageCaptions) {
    if (languageCaptions.size() == kCaptionCount) {
        captions = std::move(languageCaptions);
    }
}

CaptionList CKochModel::CzechCaptions() {
    return {"Kochova metoda",
            "Pořadí &znaků:",
            "&Lekce:",
            "Znaky lekce: %1 (nový: %2)",
            "&Výchozí pořadí",
            "&OK",
            "&Storno",
            "Nejméně odeslaných znaků pro &další lekci:",
            "&Pořadí kurzu:",
            "Vlastní pořadí",
            "Ze &souboru…",
            "V souboru %1 není pořadí aspoň dvou znaků.",
            "Ze souboru nepoužito: znaky bez morseovky %1, řádků %2."};
}
