#pragma once
// The box of a user block: the host's template drawing with the block's name as header, the
// input names on the left and the output names on the right, and a pin per name.
#include <vector>

#include "halvex/scheme/SchemeDraw.h"

// Fills `out` from the template `tmpl`: the template's objects with the attributes
// "BorderRect", "HeaderRect" and "HeaderText" take the box's size and the header `header`;
// the "InOutText" object is the look of the names and leaves the drawing. Names and pins sit
// on rows two units apart; the box is as high as the rows of the font measured on `g`.
// The row height of the box for a name font `fontHeight` high: rounded up to an even number,
// at least 2.
int SchBlockRowStep(float fontHeight);

void SchLayoutBlockBox(Gdiplus::Graphics& g, const Scheme_Draw& tmpl, const CString& header,
                       const std::vector<CString>& inputs, const std::vector<CString>& outputs, Scheme_Draw& out);
