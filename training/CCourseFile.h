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
// "minznaku", the sent characters a check needs to offer the next lesson, is written only when it
// differs from its default, so that a file of the default course reads as it always did; a reader
// that does not know the line skips it. The file is read as hostile input: a missing or damaged
// line keeps that setting's default. Writing replaces the file atomically. Any thread, one caller
// at a time.
class CCourseFile {
public:
    static constexpr const char* kFileName = "kurz";

    struct Settings {
        int lesson = 1;
        std::string order;            // as read; the course cleans it
        bool weakCharacters = false;  // generated texts go after the weak characters
        // A check needs at least this many sent characters to offer the next lesson.
        int minimumSent = CKochCourse::kDefaultMinimumSent;
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
