#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CSystemCalls;

// The serial ports always offered, in this order.
inline constexpr std::array<std::string_view, 8> kSerialPortNames = {
    "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"};

// The device path of a port name: "COM1" to "COM8" are /dev/ttyS0 to /dev/ttyS7, a name that
// begins with "/dev/" is that path; anything else has none.
std::optional<std::string> SerialDevicePath(const std::string& portName);

// The names for the port list: the eight of kSerialPortNames, then the USB serial adapters
// present in `devFolder` (ttyUSB*, ttyACM*) as full paths, sorted.
std::vector<std::string> ListSerialPorts(CSystemCalls& calls,
                                         const std::string& devFolder = "/dev");
