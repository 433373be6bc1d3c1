#pragma once

#include <algorithm>
#include <string>

// How the learner keys: a straight key, or an iambic paddle whose two levers a keyer turns into
// dots and dashes (mode A or mode B).
enum class KeyerMode : int { kStraight = 0, kIambicA = 1, kIambicB = 2 };
// A lever of the paddle; a straight key is the dot lever.
enum class Paddle : int { kDot = 0, kDash = 1 };
// Where the key is read: keys of the keyboard, the mouse buttons in the keying area, or the CTS and
// DSR lines of a serial port (the classic serial key interfaces).
enum class KeyInput : int { kKeyboard = 0, kMouse = 1, kSerial = 2 };

// The learner's key and how it is heard. Plain data; any thread.
struct KeyingSettings {
    // The keyboard's keys as X keysyms: Control_L and Control_R, which the common USB key adapters
    // send in keyboard mode.
    static constexpr int kLeftControl = 0xffe3;
    static constexpr int kRightControl = 0xffe4;
    static constexpr int kLowestKeysym = 1;
    static constexpr int kHighestKeysym = 0xffffff;
    static constexpr std::size_t kMostPortBytes = 64;

    KeyInput input = KeyInput::kKeyboard;
    KeyerMode mode = KeyerMode::kStraight;
    int straightKey = kLeftControl;
    int dotKey = kLeftControl;
    int dashKey = kRightControl;
    // The serial port's device ("/dev/ttyUSB0"); the straight key or the dot lever on CTS and the
    // dash lever on DSR, or the other way round.
    std::string port;
    bool swapLines = false;
    // The keyed tone on the sound card, and on the PC speaker as well.
    bool sidetone = true;
    bool speakerSidetone = false;

    bool operator==(const KeyingSettings&) const = default;
};
