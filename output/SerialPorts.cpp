#include "output/SerialPorts.h"

#include <algorithm>

#include "output/CSystemCalls.h"

std::optional<std::string> SerialDevicePath(const std::string& portName) {
    for (std::size_t i = 0; i < kSerialPortNames.size(); ++i) {
        if (portName == kSerialPortNames[i]) {
            return "/dev/ttyS" + std::to_string(i);
        }
    }
    if (portName.rfind("/dev/", 0) == 0 && portName.size() > 5) {
        return portName;
    }
    return std::nullopt;
}

std::vector<std::string> ListSerialPorts(CSystemCalls& calls, const std::string& devFolder) {
    std::vector<std::string> ports(kSerialPortNames.begin(), kSerialPortNames.end());
    std::vector<std::string> adapters;
    for (const std::string& name : calls.ListFolder(devFolder)) {
        if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0) {
            adapters.push_back(devFolder + "/" + name);
        }
    }
    // ttyUSB2 before ttyUSB10: by the name without its number, then by the number.
    const auto split = [](const std::string& path) {
        const std::size_t digits = path.find_last_not_of("0123456789") + 1;
        const std::string number = path.substr(digits);
        return std::make_pair(path.substr(0, digits), number.empty() ? 0UL : std::stoul(number));
    };
    std::sort(adapters.begin(), adapters.end(),
              [&](const std::string& a, const std::string& b) { return split(a) < split(b); });
    ports.insert(ports.end(), adapters.begin(), adapters.end());
    return ports;
}
