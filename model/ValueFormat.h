#pragma once
// Values shown with a decimal unit prefix: 0.0123 A reads as 12.3 mA. Every read-out of a
// value with its unit goes through here, so that the prefix, the digits and the unit's
// letters are chosen alike everywhere.
#include "platform/CString.h"

// Chooses the prefix that puts `value` in `unit` between 1 and 999 and scales it; a value below
// the smallest prefix (1 n) is 0 in the base unit. Units that take no prefix, zero and NaN come
// back unchanged with an empty prefix. `cyrillic` selects the Russian prefix letters.
void SelectUnitPrefix(double& scaled, CString& prefix, CString unit, bool cyrillic, double value);

// A number with `decimals` digits after the point, rounded half away from zero, without an
// exponent; `trim` drops trailing zeros (and a bare point). "-0" reads "0".
CString FormatFixed(double value, int decimals, bool trim);

// `value` in `unit` (its Latin letters as the record keeps them) as shown: the number in 1..999
// with its prefix after rounding to `decimals` (999.996 V reads 1.00 kV), no exponent form.
struct ScaledValue {
    CString number;  // "57.74"
    CString prefix;  // "к", "k" or empty
};
ScaledValue ScaleValue(double value, const CString& unit, int decimals, bool trim, bool cyrillic);

// The letters of a unit in the program's language: "km" -> "км" with the Russian texts.
CString LocalUnitText(const CString& latinUnit, bool cyrillic);

// "33.00 км": the scaled number, a blank, the prefix and the unit in the program's language.
CString FormatQuantity(double value, const CString& unit, int decimals, bool trim, bool cyrillic);
