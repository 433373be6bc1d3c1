#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/CSidetone.h"

class CSystemCalls;

// The sidetone on the PC speaker: its tone generator sounds while the key is down. The speaker
// has no edges to shape and no buffer: it starts and stops as each edge reaches Key.
class CSpeakerSidetone : public CSidetone {
public:
    explicit CSpeakerSidetone(CSystemCalls& systemCalls, std::string inputFolder = "/dev/input");
    ~CSpeakerSidetone() override;

    bool Open(int toneHz, float volume) override;
    void Key(bool down, std::int64_t at) override;

private:
    CSystemCalls& calls;
    std::string folder;
    int speaker = -1;
    int hz = 0;
};

// Several sidetones keyed together (the sound card's and the PC speaker's); open when any of them
// opened.
class CSidetoneSet : public CSidetone {
public:
    void Add(std::unique_ptr<CSidetone> sidetone) { sidetones.push_back(std::move(sidetone)); }

    bool Open(int toneHz, float volume) override;
    void Key(bool down, std::int64_t at) override;

private:
    std::vector<std::unique_ptr<CSidetone>> sidetones;
    std::vector<CSidetone*> open;
};
