#pragma once

// Which output keys the Morse code; the values are stored in the settings file.
enum OutputKind : int {
    kSpeakerOutput = 0,
    kSoundCardOutput = 1,
    kSerialPortOutput = 2,
};
