#pragma once
// Channels of a terminal model that share one transformation ratio: each group has a main
// channel and other channels that take the main channel's primary value. Names compare after
// folding Cyrillic letters that look like Latin ones into those Latin letters.
#include <vector>

#include "platform/CString.h"

class CCoeffTrLink {
public:
    explicit CCoeffTrLink(const CString& device);
    CCoeffTrLink(const CCoeffTrLink&) = default;
    CCoeffTrLink& operator=(const CCoeffTrLink&) = default;
    ~CCoeffTrLink() = default;

    // The main channel of the group in which `name` is one of the others; empty when `name`
    // is a main channel or in no group.
    CString FindMainChannel(const CString& name);
    bool MakeCompare(const CString& a, const CString& b);
    CString ToLatin(const CString& text) const;

    struct Group {
        CString main;
        std::vector<CString> others;
    };
    const CString& Device() const { return m_device; }
    const std::vector<Group>& Groups() const { return m_groups; }

private:
    void FormBD();

    CString m_device;
    std::vector<Group> m_groups;
    bool modelMatching = false;
};
