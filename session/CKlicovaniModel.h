#pragma once

#include "session/CaptionText.h"

#include <array>
#include <string>
#include <vector>

#include "core/KeyingSettings.h"

// The keying window's rules: where the learner's key is read (keyboard, mouse, serial lines),
// straight key or iambic mode A or B, the keyboard's keys (from a list of the keys that suit), the
// serial port and which line carries the dot lever, and the sidetone. Which field is in use
// follows the input and the mode. One operation per user action; the window renders View().
class CKlicovaniModel {
public:
    // The captions of the language file "localKL", in its order.
    enum Caption {
        kTitle,
        kInput,
        kInputKeyboard,
        kInputMouse,
        kInputSerial,
        kMode,
        kModeStraight,
        kModeIambicA,
        kModeIambicB,
        kStraightKey,
        kDotKey,
        kDashKey,
        kKeyLeftControl,
        kKeyRightControl,
        kKeyLeftShift,
        kKeyRightShift,
        kKeyLeftAlt,
        kKeySpace,
        kKeyZ,
        kKeyX,
        kPort,
        kSwap,
        kSidetone,
        kNote,
        kOk,
        kCancel,
        kSpeakerSidetone,
        kCaptionCount,
    };
    static CaptionList CzechCaptions();
    void SetCaptions(CaptionList languageCaptions);

    // The keys offered, as X keysyms, in the order of their captions.
    static constexpr std::array<int, 8> kKeys = {0xffe3, 0xffe4, 0xffe1, 0xffe2,
                                                 0xffe9, 0x20,   0x7a,   0x78};

    struct View {
        KeyingSettings settings;
        // The index in kKeys of each key, -1 for a key the list does not hold.
        int straightKey = 0;
        int dotKey = 0;
        int dashKey = 0;
        bool straightKeyEnabled = false;
        bool leversEnabled = false;
        bool portEnabled = false;
        // The ports offered: the machine's, and the one chosen if it is not among them.
        std::vector<std::string> ports;
        int port = -1;
    };

    CKlicovaniModel(const KeyingSettings& start, std::vector<std::string> machinePorts);

    void ChooseInput(int index);
    void ChooseMode(int index);
    void ChooseStraightKey(int index);
    void ChooseDotKey(int index);
    void ChooseDashKey(int index);
    void ChoosePort(int index);
    void SetSwap(bool swap);
    void SetSidetone(bool on);
    void SetSpeakerSidetone(bool on) { settings.speakerSidetone = on; }

    const KeyingSettings& Settings() const { return settings; }
    // What keys, in the captions' words: "Klávesa klíče: levý Ctrl", the mouse buttons, the port.
    std::string InputDescription() const;
    View GetView() const;

private:
    std::vector<std::string> Ports() const;

    KeyingSettings settings;
    std::vector<std::string> machinePorts;
    CaptionList captions = CzechCaptions();
};
