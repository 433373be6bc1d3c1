#include "output/CBeepSpeakerOutput.h"

#include <fcntl.h>
#include <linux/input.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "output/CSystemCalls.h"

namespace {

bool HasToneGenerator(CSystemCalls& calls, int fd) {
    unsigned long sounds = 0;
    return calls.IoctlPointer(fd, EVIOCGBIT(EV_SND, sizeof sounds), &sounds) >= 0 &&
           (sounds & (1UL << SND_TONE)) != 0;
}

}  // namespace

int OpenToneSpeaker(CSystemCalls& calls, const std::string& inputFolder) {
    std::vector<std::string> names = calls.ListFolder(inputFolder);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (name.rfind("event", 0) != 0) {
            continue;
        }
        const int fd = calls.Open(inputFolder + "/" + name, O_WRONLY | O_NONBLOCK);
        if (fd < 0) {
            continue;
        }
        if (HasToneGenerator(calls, fd)) {
            return fd;
        }
        calls.Close(fd);
    }
    return -1;
}

bool SoundSpeakerTone(CSystemCalls& calls, int speaker, std::int32_t hz) {
    input_event event{};
    event.type = EV_SND;
    event.code = SND_TONE;
    event.value = hz;
    return calls.Write(speaker, &event, sizeof event) == static_cast<long>(sizeof event);
}

CBeepSpeakerOutput::CBeepSpeakerOutput(CSystemCalls& systemCalls, const std::string& inputFolder)
    : calls(systemCalls), speaker(OpenToneSpeaker(systemCalls, inputFolder)) {
    SetOpen(speaker >= 0);
}

CBeepSpeakerOutput::~CBeepSpeakerOutput() {
    if (speaker >= 0) {
        Tone(0);
        calls.Close(speaker);
    }
}

void CBeepSpeakerOutput::EndTransmission() {
    if (speaker >= 0) {
        Tone(0);
    }
}

void CBeepSpeakerOutput::SetTone(std::int32_t hz) {
    frequency = hz;
}

void CBeepSpeakerOutput::Tone(std::int32_t hz) {
    errno = 0;
    if (!SoundSpeakerTone(calls, speaker, hz)) {
        NoteRefusal(errno != 0 ? errno : EIO);
    }
}

void CBeepSpeakerOutput::Key(std::int32_t durationUnits) {
    const std::int32_t milliseconds = BeepMilliseconds(durationUnits);
    if (milliseconds <= 0) {
        return;
    }
    if (speaker >= 0) {
        Tone(frequency);
    }
    Timer().Wait(milliseconds * 10000);
    if (speaker >= 0) {
        Tone(0);
    }
}
