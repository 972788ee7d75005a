#pragma once
// The identity every scheme element, bus and mimic control carries: a GUID made at construction.
// A copy keeps its source's identity until its owner hands it a new one, so that copy and paste
// can decide about renaming themselves.
#include "halvex/helpers/CompileIncludeSpace.h"

class SCHEME_GUID_ELEMENT {
public:
    SCHEME_GUID_ELEMENT() { UuidCreate(&m_guid); }
    SCHEME_GUID_ELEMENT(const SCHEME_GUID_ELEMENT&) = default;
    SCHEME_GUID_ELEMENT& operator=(const SCHEME_GUID_ELEMENT&) = default;
    virtual ~SCHEME_GUID_ELEMENT() = default;

    CString GetGuidString() const { return CompileIncludeSpace::GetStringByGuid(m_guid); }
    bool IsEqual(const SCHEME_GUID_ELEMENT& other) const { return m_guid == other.m_guid; }

    GUID m_guid{};
};
