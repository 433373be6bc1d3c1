#include "output/CSpeakerSidetone.h"

#include <utility>

#include "output/CBeepSpeakerOutput.h"
#include "output/CSystemCalls.h"

CSpeakerSidetone::CSpeakerSidetone(CSystemCalls& systemCalls, std::string inputFolder)
    : calls(systemCalls), folder(std::move(inputFolder)) {}

CSpeakerSidetone::~CSpeakerSidetone() {
    if (speaker >= 0) {
        SoundSpeakerTone(calls, speaker, 0);
        calls.Close(speaker);
    }
}

bool CSpeakerSidetone::Open(int toneHz, float /*volume*/) {
    hz = toneHz;
    if (speaker < 0) {
        speaker = OpenToneSpeaker(calls, folder);
    }
    return speaker >= 0;
}

void CSpeakerSidetone::Key(bool down, std::int64_t /*at*/) {
    if (speaker >= 0) {
        SoundSpeakerTone(calls, speaker, down ? hz : 0);
    }
}

bool CSidetoneSet::Open(int toneHz, float volume) {
    open.clear();
    for (const std::unique_ptr<CSidetone>& sidetone : sidetones) {
        if (sidetone->Open(toneHz, volume)) {
            open.push_back(sidetone.get());
        }
    }
    return !open.empty();
}

void CSidetoneSet::Key(bool down, std::int64_t at) {
    for (CSidetone* sidetone : open) {
        sidetone->Key(down, at);
    }
}
