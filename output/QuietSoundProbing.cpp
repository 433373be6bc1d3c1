#include "output/QuietSoundProbing.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>

#include <cstdlib>
#include <mutex>

namespace {

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void IgnoreJackMessage(const char*) {}

}  // namespace

void QuietSoundProbing() {
    static std::once_flag once;
    std::call_once(once, [] {
        // A server the user has not started stays unstarted; an explicit setting wins.
        setenv("JACK_NO_START_SERVER", "1", 0);
        snd_lib_error_set_handler(&IgnoreAlsaMessage);
        // JACK is PortAudio's dependency, not ours: its message hooks are looked up rather than
        // linked, and skipped where the library is not loaded.
        using MessageHook = void (*)(void (*)(const char*));
        for (const char* name : {"jack_set_error_function", "jack_set_info_function"}) {
            if (void* symbol = dlsym(RTLD_DEFAULT, name)) {
                reinterpret_cast<MessageHook>(symbol)(&IgnoreJackMessage);
            }
        }
    });
}
