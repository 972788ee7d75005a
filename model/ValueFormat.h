#pragma once
// Values shown with a decimal unit prefix: 0.0123 A reads as 12.3 mA.
#include "platform/CString.h"

// Chooses the prefix for `value` in `unit` and scales it; units that take no prefix, zero and
// NaN come back unchanged with an empty prefix. `cyrillic` selects the Russian prefix letters.
void SelectUnitPrefix(double& scaled, CString& prefix, CString unit, bool cyrillic, double value);
