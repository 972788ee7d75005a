#pragma once
// The vocabulary of the formula language: one entry per keyword or token kind, and the
// token record the lexer produces.
#include <cstdint>

#include "platform/CString.h"

class CChannel;

// Token ids; the parser and evaluator test these, never keywords.
enum FormulaTokenId : int32_t {
    FT_COMMA = 0,
    FT_PLUS = 1,
    FT_MINUS = 2,
    FT_MUL = 3,
    FT_DIV = 4,
    FT_POWER = 5,
    FT_OPEN_BRACKET = 6,
    FT_CLOSE_BRACKET = 7,
    FT_SIN = 8,
    FT_COS = 9,
    FT_TAN = 10,
    FT_COTAN = 11,
    FT_PI = 12,
    FT_SQRT = 13,
    FT_EXP = 14,
    FT_RE = 15,
    FT_IM = 16,
    FT_MOD = 17,
    FT_ARG = 18,
    FT_COSUI = 19,
    FT_ABSIG = 20,
    FT_RMS = 21,
    FT_FOURIE = 22,
    FT_A0 = 23,
    FT_FAULT = 24,
    FT_FREQUENCY = 25,
    FT_IB = 26,
    FT_3I0 = 27,
    FT_I1 = 28,
    FT_I2 = 29,
    FT_ULF = 30,
    FT_ULL = 31,
    FT_UA = 32,
    FT_UB = 33,
    FT_UC = 34,
    FT_3U0 = 35,
    FT_U1F = 36,
    FT_U2F = 37,
    FT_U1L = 38,
    FT_U2L = 39,
    FT_UNCN = 40,
    FT_PK = 41,
    FT_PF = 42,
    FT_PF3WM = 43,
    FT_PF2WM = 44,
    FT_ZF = 45,
    FT_ZK = 46,
    FT_ZL = 47,
    FT_COEFFPRIV = 48,
    FT_COEFFTRANSPRIV = 49,
    FT_COEFFPOWERPRIV = 50,
    FT_COEFFAMPPRIV = 51,
    FT_GRSPOSLIA = 52,
    FT_GRSPOSLIB = 53,
    FT_GRSPOSLIC = 54,
    FT_GRSTRIANGLEIA = 55,
    FT_GRSTRIANGLEIB = 56,
    FT_GRSTRIANGLEIC = 57,
    FT_GRSSUMCUR = 58,
    FT_TORMSUMCUR = 59,
    FT_TORMSUBCUR = 60,
    FT_TORMMAXCUR = 61,
    FT_CHAN = 62,
    FT_UNIIK = 63,
    FT_NULL_VALUE = 64,
    FT_CHANNEL = 65,
    FT_VARIABLE = 66,
    FT_NUMBER = 67,
    FT_DIMENSION = 68,
    FT_END = 69,
    // A channel read through its formula value (the coefficient and compensation family).
    FT_FORMULA_CHANNEL = 70,
};

struct FormulaTokenTableEntry {
    const wchar_t* keyword;  // lower case; empty for kinds without a fixed text
    int32_t id;
    const char* name;
};

// The static table in the order in which the lexer tries it.
struct FormulaTokenTable {
    static constexpr int kSize = 70;
    static const FormulaTokenTableEntry kEntries[kSize];
    // The entry of a token id (0 to 69), or null.
    static const FormulaTokenTableEntry* ById(int32_t id);
};

struct FormulaToken {
    int32_t id = FT_END;
    double number = 0.0;
    CString unit;
    const CChannel* channel = nullptr;
    CString variable;

    FormulaToken() = default;
    explicit FormulaToken(int32_t tokenId) : id(tokenId) {}
};

inline bool IsFormulaFunction(int32_t id) {
    return (id >= FT_SIN && id <= FT_COTAN) || (id >= FT_SQRT && id <= FT_UNIIK);
}
