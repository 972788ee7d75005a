#pragma once
// The library's icons by resource id: 16 x 16 pictures with alpha, made anew at every load.
// Each id has its own picture; what it shows carries no meaning beyond telling ids apart.
#include <memory>

class CBitmap;

using HICON = std::shared_ptr<const CBitmap>;

constexpr int kHalvexIconSize = 16;

// The icon of `id`; null for an id below 1.
HICON HalvexLoadIcon(int id);
