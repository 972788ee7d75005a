#pragma once
// The small 16 x 16 pictures of the oscillogram view: the marks of pasted channels beside
// their curves and the state icons of the channel captions.
class CDC;

// Marks of a channel pasted from another record: 0 analog, 1 discrete.
void DrawChannelIcon(CDC* dc, int index, int x, int y);

enum class StateIcon { Ratio, Inverted, DcRemoved, RmsCurve, HarmonicCurve, AdcCodes, VerticalZoom };
void DrawStateIcon(CDC* dc, StateIcon icon, int x, int y);
