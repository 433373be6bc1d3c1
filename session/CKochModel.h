#pragma once

#include <optional>
#include <string>
#include <vector>

#include "session/CaptionText.h"
#include "session/TypedText.h"

class CNotifier;

// The Koch course window's rules: the order as the user types it (cleaned as the letters set is,
// each refusal said), chosen from the shipped orders or read from a file; the lesson within the
// order's lessons; the sent characters a check needs to offer the next lesson. Windows-1250. One
// operation per user action; the window renders View().
class CKochModel {
public:
    // The captions of the language file "localKM", in its order.
    enum Caption {
        kTitle,
        kOrder,
        kLesson,
        kCharacters,
        kDefault,
        kOk,
        kCancel,
        kMinimum,
        kOrderList,
        kOwnOrder,
        kFromFile,
        kUnusableFile,
        kFileUnused,
        kCaptionCount,
    };
    static CaptionList CzechCaptions();

    struct View {
        std::string order;
        int lessonCount = 1;
        int lesson = 1;
        int minimumSent = 0;
        // The shipped order the text is, or the count of shipped orders for the user's own.
        int listIndex = 0;
        // The lesson's characters and the newest of them.
        std::string characters;
        char newest = ' ';
        // The name of the order file read, or the path of one that could not be used.
        std::optional<std::string> fileName;
        std::optional<std::string> unusableFile;
        // In words (UTF-8): the lesson's characters, and the order file read (with what of it
        // went unused) or refused.
        std::string lessonText;
        std::string fileText;
    };

    // The names of the shipped orders, in the list's order.
    static std::vector<std::string> ShippedNames();

    // `notifier` outlives the model and says each character refused.
    CKochModel(const std::string& order, int lesson, int minimumSent, CNotifier& notifier);

    // The order edit's text after the user changed it to `shown`, the caret at `caret`.
    TypedText TypeOrder(const std::string& shown, int caret);
    void SetLesson(int lesson);
    void SetMinimumSent(int minimumSent);
    // One of the shipped orders, by its place in the list; the last place (the user's own) keeps
    // the order.
    void ChooseShipped(int index);
    void ReadOrderFile(const std::string& path);
    void DefaultOrder();

    // The order as the course will use it, and the lesson within it.
    std::string Order() const;
    int Lesson() const;
    int MinimumSent() const { return minimumSent; }
    View GetView() const;

    // The captions of the window's language, in the order of Caption.
    void SetCaptions(CaptionList languageCaptions);

private:
    void Take(const std::string& order);

    CNotifier& notifier;
    std::string orderText;
    int lesson = 1;
    int minimumSent = 0;
    std::optional<std::string> fileName;
    std::optional<std::string> unusableFile;
    // What of the order file read went unused: characters without a code, other lines.
    std::pair<std::string, int> fileUnused;
    CaptionList captions = CzechCaptions();
};
