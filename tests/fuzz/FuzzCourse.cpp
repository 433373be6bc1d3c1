// The course settings reader on any bytes: whatever it reads makes a course, and writes back to
// a file that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "training/CCourseFile.h"
#include "training/CKochCourse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CCourseFile::Settings settings = CCourseFile::Parse(bytes);
    const CKochCourse course(settings.order, settings.lesson);
    if (course.LessonCount() < 1 || course.Characters().size() < 2 ||
        !(CCourseFile::Parse(CCourseFile::Format(settings)) == settings)) {
        std::abort();
    }
    return 0;
}
