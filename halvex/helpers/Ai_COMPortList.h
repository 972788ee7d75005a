#pragma once
// The serial ports of the machine: the "/dev/ttyS*", "/dev/ttyUSB*" and "/dev/ttyACM*" devices
// that the kernel lists in /sys/class/tty with hardware behind them.
#include <vector>

#include "platform/CString.h"

class CAi_COMPortList {
public:
    // Fills its own list and `names` (when given, emptied first) with the device paths;
    // true, also when there is no port.
    bool GetCOMPortList(std::vector<CString>* names);
    // The same over another copy of the kernel's tty class folder.
    bool GetCOMPortListFrom(const CString& ttyClassFolder, std::vector<CString>* names);

    std::vector<CString> m_vPorts;
    std::vector<CString>* m_pCallerPorts = nullptr;
};
