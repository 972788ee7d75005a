#pragma once
// The vocabulary of the J-Bus pages: data formats, unit multipliers, set lists and special
// parameters as display texts and back, and the flags byte.
#include "platform/CString.h"
#include "platform/WinTypes.h"

enum EJBusFormat : int32_t {
    eJBusFormatA = 1, eJBusFormatB = 2, eJBusFormatC = 3, eJBusFormatD = 4, eJBusFormatE = 5, eJBusFormatX = 6,
    eJBusFormatBCD = 7, eJBusFormatBinary = 8, eJBusFormatSigned32 = 9, eJBusFormatUnsigned32 = 10,
};
// The decimal multiplier of a raw value: 10 to the power of the value.
enum EJBusUnit : int32_t { eJBusUnitMilli = -3, eJBusUnitCenti = -2, eJBusUnitDeci = -1, eJBusUnitOne = 0,
                           eJBusUnitTen = 1, eJBusUnitHundred = 2, eJBusUnitThousand = 3 };
enum EJbusSetList : int32_t { eJbusSetListControlWord = 0 };  // 0 to 8
enum EJBusTypeExtention : int32_t { eJBusExtNone = 0 };       // 1 to 30

class CJBusDef {
public:
    CJBusDef();
    CJBusDef(const CJBusDef&) = default;
    CJBusDef& operator=(const CJBusDef&) = default;

    CString ConvertFormat(EJBusFormat format) const;  // "???" outside 1 to 10
    EJBusFormat ConvertFormat(const CString& text) const;  // exact text; 1 ("A") for others
    CString ConvertUnit(EJBusUnit unit) const;  // "???" outside -3 to 3
    EJBusUnit ConvertUnit(const CString& text) const;  // exact text; 0 ("1") for others
    CString GetSetListName(EJbusSetList list) const;
    CString GetSpecParamName(EJBusTypeExtention type) const;

    CString m_sFormats[10];
    CString m_sUnits[7];
    CString m_sSetLists[8];  // lists 1 to 8; list 0 is a resource text
};

struct JBUS_FLAGS {
    explicit JBUS_FLAGS(BYTE flags)
        : m_bFlag0(flags & 1), m_bFlag1(flags & 2), m_bFlag2(flags & 4), m_bFlag3(flags & 8) {}
    bool m_bFlag0, m_bFlag1, m_bFlag2, m_bFlag3;
};
