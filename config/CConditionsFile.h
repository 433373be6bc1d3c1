#pragma once

#include <string>
#include <string_view>

#include "core/ReceptionSettings.h"

// The reception conditions, kept in a file of their own in the program folder ("podminky"), one
// "key=value" per line, flags 1 or 0:
//   sum=1            noise on            snr=10           its ratio in dB in 500 Hz
//   filtr=500        receiver filter Hz
//   unik=0           fading on           hloubka=100      its depth in %   perioda=3   s
//   rozptyl=50       its Doppler spread in hundredths of Hz (the period follows it; a file
//                    without it takes the spread from the period, on one path)
//   cesta=1000       a second path so many us later, 0 for none
//   agc=1            receiver AGC: 0 off, 1 fast, 2 slow
//   praskani=0       static crashes on   zaminutu=30      crashes a minute
//   ruseni=0         interference on     stanice=2        stations
//   zazneje=0        stations may sit on the wanted tone   pileup=0   they call in a pile-up
//   chirp=0          chirp on            chirphz=60       its start off the tone in Hz
//   kliksy=0         key clicks on
//   rukopis=0        fist: 0 none, 1 good hand, 2 poor straight key, 3 bug
//   pevnesemeno=0    seed fixed          semeno=1         the seed, 0 to 2^64 - 1
// The file is read as hostile input: any bytes, any length; a missing, unknown, damaged or
// out-of-range line keeps that setting's default. Writing replaces the file atomically. Any
// thread, one caller at a time.
class CConditionsFile {
public:
    static constexpr const char* kFileName = "podminky";

    explicit CConditionsFile(std::string path);

    ReceptionSettings Read() const;
    bool Write(const ReceptionSettings& settings) const;

    static ReceptionSettings Parse(std::string_view bytes);
    static std::string Format(const ReceptionSettings& settings);

private:
    std::string path;
};
