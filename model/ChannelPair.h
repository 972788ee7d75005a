#pragma once
// A channel pair of the differential or circle chart: two channel display names and whether
// the pair is shown.
#include "platform/CString.h"

class SettingsNode;

struct ChannelPair {
    CString first;
    CString second;
    bool visible = false;  // true when built from two names

    ChannelPair() = default;
    ChannelPair(const CString& a, const CString& b) : first(a), second(b), visible(true) {}

    // The pair's sub-category of the record settings: "visible", then the two names
    // ("BrakeCurr", "DiffCurr" for the differential chart, "ActiveResist", "ReactiveResist"
    // for the circle chart). Missing values read as a shown pair of "?" channels.
    void SaveDiff(SettingsNode& node) const;
    void LoadDiff(const SettingsNode& node);
    void SaveCircle(SettingsNode& node) const;
    void LoadCircle(const SettingsNode& node);
};
