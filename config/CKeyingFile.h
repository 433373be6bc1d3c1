#pragma once

#include <string>
#include <string_view>

#include "core/KeyingSettings.h"

// The learner's key, kept in a file of its own in the program folder ("klicovani"), one
// "key=value" per line:
//   vstup=0          0 keyboard, 1 mouse, 2 serial port
//   rezim=0          0 straight key, 1 iambic A, 2 iambic B
//   klic=65507       the straight key's keyboard key (X keysym)
//   tecka=65507      the dot lever's key             carka=65508   the dash lever's key
//   port=/dev/ttyS0  the serial port                 prohodit=0    dash lever on CTS
//   priposlech=1     sidetone on the sound card      reproduktor=0 and on the PC speaker
// Read as hostile input: any bytes, any length; a missing, unknown, damaged or out-of-range line
// keeps that setting's default, and a port that is not a device path under /dev keeps none.
// Writing replaces the file atomically. Any thread, one caller at a time.
class CKeyingFile {
public:
    static constexpr const char* kFileName = "klicovani";

    explicit CKeyingFile(std::string path);

    KeyingSettings Read() const;
    bool Write(const KeyingSettings& settings) const;

    static KeyingSettings Parse(std::string_view bytes);
    static std::string Format(const KeyingSettings& settings);

private:
    std::string path;
};
