#pragma once
// The library's icons by resource id: 16 x 16 pictures with alpha, made anew at every load.
// Each family of object kinds has its own picture (an analog input a wave, a discrete output a
// relay contact, an alarm a bell, ...), its variants a detail of their own; any other id a
// marked square of its own colour.
#include <memory>

class CBitmap;

using HICON = std::shared_ptr<const CBitmap>;

constexpr int kHalvexIconSize = 16;

// The icon of `id`; null for an id below 1.
HICON HalvexLoadIcon(int id);
