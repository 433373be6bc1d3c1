#include "output/COutputDevice.h"

COutputDevice::COutputDevice() : timer(std::make_unique<CDelayTimer>()) {}

COutputDevice::~COutputDevice() = default;

void COutputDevice::Key(std::int32_t) {}

void COutputDevice::SetTone(std::int32_t) {}

void COutputDevice::SetVolume(std::uint32_t) {}

void COutputDevice::SetReceptionConditions(const ReceptionSettings&, std::uint64_t) {}

void COutputDevice::BeginTransmission(TransmissionPace, std::int64_t) {
    refusal = 0;
}

void COutputDevice::EndTransmission() {}

void COutputDevice::BeginSegment() {}

void COutputDevice::KeyOnTimeline(std::int64_t, std::int32_t, std::int32_t keyUnits) {
    Key(keyUnits);
}

bool COutputDevice::WaitOnTimeline(std::int64_t) {
    return false;
}

void COutputDevice::WaitUntilHeard(std::int64_t) {}

std::int64_t COutputDevice::HeardAtNanoseconds(std::int64_t) const {
    return 0;
}

std::int64_t COutputDevice::PlayOnTimeline(std::int64_t, std::vector<float>) {
    return 0;
}

OutputFailure COutputDevice::Failure() const {
    if (refusal == 0) {
        return {};
    }
    return {OutputFault::kLineRefused, refusal};
}

void COutputDevice::NoteRefusal(int error) {
    if (refusal == 0) {
        refusal = error;
    }
}
