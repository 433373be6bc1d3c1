#include "output/COutputDevice.h"

COutputDevice::COutputDevice() : timer(std::make_unique<CDelayTimer>()) {}

COutputDevice::~COutputDevice() = default;

void COutputDevice::Key(std::int32_t) {}

void COutputDevice::SetTone(std::int32_t) {}

std::chrono::nanoseconds COutputDevice::OutputLatency() const {
    return {};
}

void COutputDevice::SetVolume(std::uint32_t) {}
