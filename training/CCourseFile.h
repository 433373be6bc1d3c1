#pragma once

#include <string>
#include <string_view>

#include "training/CKochCourse.h"

// The course settings, kept in a file of their own in the program folder ("kurz"), one
// "key=value" per line:
//   lekce=5
//   poradi=KMRSUAPTLOWI.NJEF0Y,VG5/Q9ZH38B?427C1D6X
//   slabe=1
//   minznaku=150
//   druh=1
//   druhtextu=7
// "druhtextu" (a text kind after the lesson kind is the current one) is written only for such a
// kind. "druh" (the lesson kind is the current text kind) and "minznaku" (the sent characters a
// check needs to offer the next lesson) are written only when they differ from their defaults, so
// that a file of the default course reads as it always did; a reader that does not know a line
// skips it. The file is read as hostile input: a missing or damaged line keeps that setting's
// default. Writing replaces the file atomically. Any thread, one caller at a time.
class CCourseFile {
public:
    struct Settings {
        int lesson = 1;
        std::string order;            // as read; the course cleans it
        bool weakCharacters = false;  // generated texts go after the weak characters
        // A check needs at least this many sent characters to offer the next lesson.
        int minimumSent = CKochCourse::kDefaultMinimumSent;
        // The lesson kind is the current text kind. The settings file keeps the letter kind in
        // its place, within the five kinds that every reader of that file knows.
        bool lessonKind = false;
        // A text kind after the lesson kind (words, callsigns, ...) is the current one; 0 when
        // none is. The settings file keeps the letter kind in its place too.
        int trafficKind = 0;
        bool operator==(const Settings&) const = default;
    };

    explicit CCourseFile(std::string path);

    Settings Read() const;
    bool Write(const Settings& settings) const;

    static Settings Parse(std::string_view bytes);
    static std::string Format(const Settings& settings);

private:
    std::string path;
};
