#include "tests/support/CSoundRecorder.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>

extern char** environ;

CSoundRecorder::CSoundRecorder(const std::string& source, const std::string& path,
                               int latencyMilliseconds, bool realtime)
    : file(path) {
    std::string device = "--device=" + source;
    std::string latency = "--latency-msec=" + std::to_string(latencyMilliseconds);
    std::string target = path;
    std::vector<char*> argv;
    if (realtime) {
        for (const char* word : {"chrt", "-f", "70"}) {
            argv.push_back(const_cast<char*>(word));
        }
    }
    for (char* word : {const_cast<char*>("parecord"), device.data(), const_cast<char*>("--raw"),
                       const_cast<char*>("--format=float32le"), const_cast<char*>("--rate=44100"),
                       const_cast<char*>("--channels=1"), latency.data(), target.data()}) {
        argv.push_back(word);
    }
    argv.push_back(nullptr);
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        pid = -1;
    }
}

CSoundRecorder::~CSoundRecorder() {
    if (pid > 0) {
        Stop();
    }
}

std::vector<float> CSoundRecorder::Stop() {
    if (pid > 0) {
        kill(pid, SIGINT);
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
    }
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    return samples;
}
