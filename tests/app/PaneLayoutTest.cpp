#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/PaneLayout.h"

using namespace panelayout;

namespace {

const std::vector<std::wstring> kPanes = {L"diagram2", L"diagram4", L"diagram8", L"diagram16"};

std::wstring Edges(const std::vector<EdgePane>& panes) { return FormatEdgePanes(panes); }

}  // namespace

TEST(PaneLayout, EdgePanesRoundTripAndDamagedEntriesAreLeftOut) {
    const std::vector<EdgePane> panes = {{L"diagram4", 2}, {L"diagram2", 3}};
    EXPECT_EQ(Edges(panes), L"diagram4:2;diagram2:3");
    EXPECT_EQ(Edges(ParseEdgePanes(Edges(panes), kPanes)), L"diagram4:2;diagram2:3");
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"", L""},
        {L";;;", L""},
        {L"diagram4", L""},                       // no edge
        {L"diagram4:", L""},
        {L":2", L""},                             // no pane
        {L"diagram4:0;diagram8:5;diagram2:22", L""},  // no such edge
        {L"diagram4:x", L""},
        {L"other:2;diagram8:4", L"diagram8:4"},   // a pane the frame has not
        {L"diagram8:4;diagram8:1", L"diagram8:4"},  // named twice: the first stands
        {L"diagram16:1;;diagram2:3", L"diagram16:1;diagram2:3"},
    };
    for (const auto& [text, kept] : cases) EXPECT_EQ(Edges(ParseEdgePanes(text, kPanes)), kept) << text;
    // Only real edges are written.
    EXPECT_EQ(Edges({{L"diagram4", 0}, {L"diagram8", 4}}), L"diagram8:4");
}

TEST(PaneLayout, PlaceRoundTripsAndAnUnreadableOneLeavesThePlaceAsItWas) {
    PanePlace place;
    place.dock = 2;
    place.layer = 1;
    place.row = 1;
    place.position = 3;
    place.proportion = 110000;
    place.width = 410;
    place.height = -1;
    place.floating = true;
    place.shown = false;
    place.floatX = -20;
    place.floatY = 40;
    place.floatW = 500;
    place.floatH = 300;
    PanePlace read;
    ASSERT_TRUE(ReadPanePlace(FormatPanePlace(place), read)) << FormatPanePlace(place);
    EXPECT_EQ(FormatPanePlace(read), FormatPanePlace(place));
    EXPECT_TRUE(read.floating);
    EXPECT_FALSE(read.shown);
    EXPECT_EQ(read.floatX, -20);

    // Fields it does not know are passed over; the edge is all it needs.
    ASSERT_TRUE(ReadPanePlace(L"name=diagram4;caption=x;dir=3", read));
    EXPECT_EQ(read.dock, 3);
    EXPECT_TRUE(read.shown);
    EXPECT_EQ(read.width, -1);

    const wchar_t* damaged[] = {
        L"", L"garbage", L"layer=1;row=0",       // no edge
        L"dir=", L"dir=two", L"dir=2x", L"dir=2;layer=1.5", L"dir=2;bestw=99999999999999",
        L"dir=2;floatx=--3",
    };
    for (const wchar_t* text : damaged) {
        PanePlace kept = place;
        EXPECT_FALSE(ReadPanePlace(text, kept)) << text;
        EXPECT_EQ(FormatPanePlace(kept), FormatPanePlace(place)) << text;
    }
}

TEST(PaneLayout, OnlyPlacesTheScreenCanGiveAreTakenAgain) {
    auto docked = [](int dock, int layer, int row, int w, int h) {
        PanePlace p;
        p.dock = dock;
        p.layer = layer;
        p.row = row;
        p.width = w;
        p.height = h;
        return p;
    };
    auto floating = [](int x, int y, int w, int h) {
        PanePlace p;
        p.dock = 2;
        p.floating = true;
        p.floatX = x;
        p.floatY = y;
        p.floatW = w;
        p.floatH = h;
        return p;
    };
    const std::pair<PanePlace, bool> cases[] = {
        {docked(2, 1, 0, 400, 300), true},
        {docked(3, 0, 0, -1, 200), true},      // a size not given
        {docked(4, 4, 2, 300, -1), true},
        {docked(0, 1, 0, 400, 300), false},    // no edge
        {docked(5, 1, 0, 400, 300), false},    // the centre is the records'
        {docked(2, 5, 0, 400, 300), false},    // among the caption bars
        {docked(2, -1, 0, 400, 300), false},
        {docked(2, 1, 9, 400, 300), false},
        {docked(2, 1, 0, 0, 300), false},
        {docked(2, 1, 0, 3000, 300), false},   // wider than the screen
        {floating(100, 100, 500, 400), true},
        {floating(-300, 10, 500, 400), true},  // partly off the left, its title reachable
        {floating(-480, 10, 500, 400), false},
        {floating(1900, 10, 500, 400), false},  // beyond the right edge
        {floating(100, -5, 500, 400), false},  // title above the screen
        {floating(100, 1070, 500, 400), false},
        {floating(100, 100, 20, 400), false},  // too small to use
        {floating(100, 100, 2500, 400), false},
    };
    for (const auto& [place, usable] : cases)
        EXPECT_EQ(IsUsablePlace(place, 4, 1920, 1080), usable)
            << place.dock << " " << place.layer << " " << place.row << " " << place.width << "x" << place.height << " float "
            << place.floating << " " << place.floatX << "," << place.floatY << " " << place.floatW << "x" << place.floatH;
}
