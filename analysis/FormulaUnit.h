#pragma once
// The unit of a formula's result, read from its tokens: an explicit "[unit]" at the end wins,
// else the units of the channels and functions the formula is made of.
#include <vector>

#include "analysis/FormulaToken.h"
#include "platform/CString.h"

// `cursor` is where the evaluation stopped reading (Calculator::GetTokenCursor).
CString InferFormulaUnit(const std::vector<FormulaToken>& tokens, unsigned cursor);
