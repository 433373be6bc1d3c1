#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Records a PulseAudio source (for tests, the monitor of the null sink of scripts/with-pulse)
// with parecord into a file, as 32-bit float mono samples at 44100 Hz. A benchmark that loads the
// machine gives the recorder a deep buffer and real-time scheduling (where it may), so that the
// measuring instrument loses nothing of what the program played.
class CSoundRecorder {
public:
    CSoundRecorder(const std::string& source, const std::string& path, int latencyMilliseconds = 20,
                   bool realtime = false);
    ~CSoundRecorder();
    CSoundRecorder(const CSoundRecorder&) = delete;
    CSoundRecorder& operator=(const CSoundRecorder&) = delete;

    bool Started() const { return pid > 0; }
    // The file the samples are written to while recording.
    const std::string& Path() const { return file; }
    // Stops the recording and returns its samples.
    std::vector<float> Stop();

private:
    pid_t pid = -1;
    std::string file;
};
