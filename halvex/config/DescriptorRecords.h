#pragma once
// Plain records of a terminal project: languages, menu size and locale, loader modules, post
// build data, journals, the front-panel menu, IEC 61850 data, characteristic diagrams and
// complex values. Fields without a name of their own are kept for the host.
#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/CString.h"

struct TRANSLATE {
    TRANSLATE() = default;
    TRANSLATE(const CString& language, int codePage) : m_sLanguage(language), m_nCodePage(codePage) {}
    CString m_sLanguage = L"English";
    int32_t m_nCodePage = 1252;
};

struct SIZEMENU {
    SIZEMENU() = default;
    SIZEMENU(int first, int second) : m_nSize1(first), m_nSize2(second) {}
    int32_t m_nSize1 = 21;
    int32_t m_nSize2 = 8;
};

struct LOCALEIDENTIFIERS {
    explicit LOCALEIDENTIFIERS(const CString& name = CString()) : m_sName(name) {}
    CString m_sName;
    int32_t m_nCharSet = 204;
};

struct FLOADERMODULES {
    CString m_sText[4];
    int32_t m_nValue1 = 1;
    int32_t m_nValue2 = 0;
};

struct POSTBUILDDATA {
    std::map<CString, CString> m_map;
};

struct LANGLOCAL {
    std::map<CString, CString> m_map;
};

struct TEMPLATE_JOURNAL {
    void Clear() { m_map.clear(); }
    int32_t m_nValue = 0;
    std::map<CString, CString> m_map;
};

struct JOURNALDESCRIPTOR {
    CString m_sText1, m_sText2;
    std::vector<CString> m_vList;
};

struct MENUMONITOR {
    void clear() {
        m_vList1.clear();
        m_vList2.clear();
    }
    std::vector<CString> m_vList1, m_vList2;
};

struct OBJ_TYPE_OFFSET {
    int32_t m_nType = 0;
    int32_t m_nOffset = 0;
};

struct SIGNAL_MMS {
    SIGNAL_MMS() = default;
    SIGNAL_MMS(const CString& name, bool flag, const CString& text) : m_sName(name), m_bFlag(flag), m_sText(text) {}
    CString m_sName;
    bool m_bFlag = false;
    CString m_sText;
};

struct CALLFRAMES {
    void clear() { m_vFrames.clear(); }
    std::vector<CString> m_vFrames;
};

struct Tenvorik_PARAMETER {
    CString m_sText1, m_sText2;
    int32_t m_nValue = 0;
    CString m_sText3;
};

struct Tenvorik_CHARACTERISTIC {
    CString m_sText;
    int32_t m_nValue = 1;
    std::vector<Tenvorik_PARAMETER> m_vParameters;
};

struct Tenvorik_BLOCK_PARAMETERS {
    void Empty() { m_sText.Empty(); }
    CString m_sText;
    int32_t m_nValue1 = 0;
    int32_t m_nValue2 = 1;
    std::vector<Tenvorik_CHARACTERISTIC> m_vCharacteristics;
};

struct Tenvorik_VEC_DIAG_PARAMETERS {
    void Empty() {
        m_sText.Empty();
        m_nValue = 0;
    }
    CString m_sText;
    int16_t m_nValue = 0;
};

struct DIAGRAM_USTAVKI {
    int32_t m_nValue = 1;
    std::map<CString, CString> m_map;
};

struct DATA_PROJ_61850 {
    CString m_sText1, m_sText2;
    int32_t m_nValue1 = 0, m_nValue2 = 0, m_nValue3 = 1;
    CString m_sText3;
};

struct DATA_STRUCT_61850 {
    void Clear() {
        for (auto& l : m_vLists) l.clear();
        for (auto& t : m_sTexts) t.Empty();
        m_nValue = 0;
    }
    std::vector<CString> m_vLists[4];
    CString m_sTexts[4];
    int32_t m_nValue = 0;
};

struct PROJ_61850_BIN {
    uint32_t m_nValues[3] = {0, 0, 0};
};
static_assert(sizeof(PROJ_61850_BIN) == 12);

// How a complex value is shown.
enum EViewChannelType : int32_t { eViewRectangular = 1, eViewPolar = 2 };

struct COMPLEX_VALUE {
    bool operator==(const COMPLEX_VALUE& o) const { return m_sReal == o.m_sReal && m_sImag == o.m_sImag; }
    bool operator!=(const COMPLEX_VALUE& o) const { return !(*this == o); }
    bool IsEmpty() const { return m_sReal.IsEmpty() && m_sImag.IsEmpty(); }
    // "3-j4" (rectangular) or "5.0;-53.13" (magnitude with `precision` decimals; degrees).
    CString GetStringValue(EViewChannelType view, int precision) const;

    CString m_sReal, m_sImag;
};

// The front-panel menu of a terminal.
class DEVICEMENU {
public:
    struct menu_tag {
        bool operator==(const menu_tag&) const = default;

        int32_t m_nValue1 = 0;
        int32_t m_nValue2 = -1;
        CString m_sText1, m_sText2;
        int32_t m_nValues3[5] = {};
        CString m_sText3;
        CString m_sText4 = L"232";
        CString m_sKey;
        CString m_sText5;
        int16_t m_nShort[4] = {};
        int32_t m_nValue4 = 0;
        int32_t m_nValue5 = 204;
        int32_t m_nFrameId = -1;
        CString m_sText6;
        int32_t m_nValue6 = -1, m_nValue7 = -1;
        int32_t m_nValue8 = 0;
        int32_t m_nValues9[4] = {1, 1, 0, 0};
        std::array<CString, 3> m_arrNames1;
        CString m_sText7, m_sText8;
        std::array<CString, 3> m_arrNames2, m_arrNames3;
        int32_t m_nValue10 = 0;
        CString m_sTexts[10];
    };
    struct FRAME_ENTRY {
        bool operator==(const FRAME_ENTRY&) const = default;
        CString m_sName;
        int32_t m_nValue = 0;
        int32_t m_nId = 0;  // 2147483647: no frame
    };
    enum ECtrlSignalTarget : int32_t { eCtrlName = 0, eCtrlSignal1 = 1, eCtrlSignal2 = 2, eCtrlSignal3 = 3 };

    void push() { m_vItems.emplace_back(); }
    void clear() {
        m_vItems.clear();
        m_vFrameEntries.clear();
    }
    // The same item count, the menu's own texts and values, then the items pairwise.
    bool operator==(const DEVICEMENU& other) const;
    // The three names of a target; null for another target.
    std::array<CString, 3>* getCtrlSignals(int target);
    // The first non-empty of the target's three names.
    CString getCtrlSignal(int target) const;
    static int GetNameMaxWidth();
    static void SetNameMaxWidth(int width);
    // Copies of the items of frame `name` (and of items elsewhere that share their keys), in
    // item order; `out` is emptied first.
    void getChildFrames(const CString& name, std::vector<menu_tag>& out) const;

    std::array<CString, 3> m_arrName;  // the name in three variants
    CString m_sText[3];
    std::array<CString, 3> m_arrCtrlSignals[3];
    int32_t m_nValue1 = 0, m_nValue2 = 0;
    CALLFRAMES m_frames;
    int32_t m_nValue3 = 0;
    CString m_sTexts8[8];
    CString m_sTexts10[10];
    std::vector<FRAME_ENTRY> m_vFrameEntries;
    std::vector<menu_tag> m_vItems;
};
