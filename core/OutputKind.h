#pragma once

// Which output keys the Morse code; the values are stored in the settings file.
enum OutputKind : int {
    kSpeakerOutput = 0,
    kSoundCardOutput = 1,
    kSerialPortOutput = 2,
};

// Why an output stopped keying what it was given during a transmission.
enum class OutputFault {
    kNone,
    // The sound server went away, or the sound card's stream stopped playing.
    kSoundStopped,
    // No sound stream could be started for the transmission.
    kSoundUnavailable,
    // The keyed line (the serial port's DTR, the speaker) refused to be switched.
    kLineRefused,
};

struct OutputFailure {
    OutputFault fault = OutputFault::kNone;
    // The system's reason (an errno value) where there is one, else 0.
    int error = 0;

    explicit operator bool() const { return fault != OutputFault::kNone; }
};
