#pragma once
// A protection block type of the characteristic library: its name and characteristics.
#include <vector>

#include "platform/CString.h"

struct ProtectionBlock {
    CString name;
};
