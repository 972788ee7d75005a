#pragma once
// Text helpers of the library: Russian-aware lower-casing, number and text conversions with
// fixed formats, separated lists, IPv4 texts, yes/no texts and the check of user-typed names.
// All members are static. Only the buffer copies throw (a bool false); everything else
// answers with its neutral result (0, an empty text, -1).
#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"

class CAi_Str {
public:
    enum ETypeErrorSymbol {
        eTypeErrorNone = 0,
        eTypeErrorForbidden = 1,
        eTypeErrorQuotes = 2,
        eTypeErrorControl = 3,
        eTypeErrorLength = 4,
        eTypeErrorNotAnsi = 5,
        eTypeErrorNotAllowed = 6,
    };

    static wchar_t CharToLower(wchar_t c);
    static CString StringToLower(const CString& text);

    // The leading decimal (or hexadecimal) number after no-break spaces are removed; 0 when
    // there is none. Values beyond 32 bits are clamped (decimal) or wrap (hexadecimal).
    static int ToInt(const CString& text, bool hex = false);
    // The leading number with "." as decimal point; 0 when there is none.
    static double ToFloat(const CString& text);

    static CString ToString(int value);
    static CString ToString(long value);
    static CString ToString(unsigned int value);
    static CString ToString(unsigned long value);
    static CString ToString(double value, int precision, bool trimZeros);

    static int GetPrecision(const CString& text);
    static int To16x16(const CString& text);
    static int To16x16(float value);
    static CString From16x16(long value, int precision);
    static unsigned GetIntFromBinStr(const CString& text);
    static int FromOctal(BYTE value);
    static CString AddFloatZeroEndIfNeed(const CString& text);

    static bool CutString(const CString& text, const CString& separator, std::vector<CString>* pieces,
                          const CString& emptyMarker = CString());
    static bool CutString(const CString& text, const CString& separator, std::vector<int>* numbers,
                          const CString& emptyMarker = CString());
    static CString TakeStringInQuotes(CString* text);
    static int AddIfNo(std::vector<CString>* texts, const CString& text);

    static void StringToIP(const CString& text, BYTE& a, BYTE& b, BYTE& c, BYTE& d);
    static DWORD StringToIP(const CString& text);
    static CString IPToString(BYTE a, BYTE b, BYTE c, BYTE d);
    static CString IPToString(unsigned long ip);

    static CString FlagToYesNo(int flag);
    static CString ReplaceForbiddenSymbols(const CString& text);
    static CString GetStrOtherQuores();

    static ETypeErrorSymbol CheckForbiddenSymbols(const CString& text, int tableCount, bool checkControl,
                                                  bool checkLength, const CString& exceptions, bool useTable,
                                                  const CString& forbidden, int maxLength, const CString& allowed,
                                                  int* firstPosition = nullptr, int* secondOut = nullptr);
    static CString GetETypeErrorSymbolToString(ETypeErrorSymbol kind, const CString& symbols, int maxLength,
                                               const CString& allowed);

    // Buffer copies for C interfaces; the caller frees the blocks with delete[].
    static wchar_t* ToChar(const CString& text, wchar_t** buffer);
    static void ToBuffers(const CString& text, wchar_t** buffer, int count);
    static void ToBuffers(const CString& text, char** buffer, int count);  // code page 1251
    static void ToBuffers(const CString& text, wchar_t* wide, char* narrow, int count);
};

class CAi_Stl {
public:
    enum EFoundPos { ePosInside = 0, ePosEnd = 1 };
    // Where `value` would go in the ascending `values`: ePosInside with the index of the first
    // greater element when it lies strictly between two, else ePosEnd with the element count
    // (also for a value equal to an element); 0 and ePosInside below the first.
    static EFoundPos FindPos(const std::vector<int>& values, int value, unsigned& position);
};
