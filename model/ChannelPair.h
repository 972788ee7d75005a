#pragma once
// A channel pair of the differential or circle chart: two channel display names and whether
// the pair is shown.
#include "platform/CString.h"

struct ChannelPair {
    CString first;
    CString second;
    bool visible = false;  // true when built from two names

    ChannelPair() = default;
    ChannelPair(const CString& a, const CString& b) : first(a), second(b), visible(true) {}
};
