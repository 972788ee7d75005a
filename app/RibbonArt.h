#pragma once
#include <wx/bitmap.h>

#include "app/CommandTable.h"

// The picture of a ribbon button: the desktop's own icon where it has one for the command,
// else a small drawn sign, `size` pixels square.
wxBitmap RibbonIcon(commands::Icon icon, int size);
