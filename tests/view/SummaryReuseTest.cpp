// After an edit of one channel the record recalculates only that channel, and the paint after
// it rebuilds only that channel's curve summary: the picture is the one a fresh view of the
// edited record paints.
#include <gtest/gtest.h>

#include <cmath>

#include "ViewFixture.h"

using namespace viewtest;

namespace {

constexpr size_t kCount = 20000;  // long enough for the curves to be summarised

void Build(ViewRig& rig) {
    SetUpRecord(rig.doc, 4000, kCount);
    std::vector<CChannel> chs;
    for (int k = 0; k < 4; ++k) {
        std::vector<double> s(kCount);
        for (size_t i = 0; i < kCount; ++i)
            s[i] = std::sin(double(i) * 2 * M_PI / 80 + k) * (1.0 + 0.5 * k) + (i > 9000 && i < 9400 ? 2.5 : 0.0);
        std::string name = "U" + std::to_string(k);
        chs.push_back(Analog(rig.doc, name.c_str(), std::move(s)));
    }
    AddChannels(rig.doc, std::move(chs));
    rig.Open(900, 700);
    rig.view->SetXScale(rig.view->GetFitScale());
}

// Channel 1 turned upside down, channel 2 shown by a new ratio.
void Edit(CTenvorikDoc& doc) {
    auto& chs = doc.GetOscillogram().m_channels;
    chs[1].m_flags |= CHF_INVERT;
    chs[2].m_primaryMode = true;
    chs[2].m_primary = 110;
    chs[2].m_secondary = 0.1;
}

std::vector<COLORREF> Pixels(CBitmap& b, int w, int h) {
    std::vector<COLORREF> p;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.push_back(b.GetPixel(x, y));
    return p;
}

}  // namespace

TEST(SummaryReuse, PaintAfterAnEditIsTheFreshPaintOfTheEditedRecord) {
    ViewRig edited;
    Build(edited);
    const std::vector<COLORREF> before = Pixels(edited.Render(), 900, 700);
    auto& chs = edited.doc.GetOscillogram().m_channels;
    std::vector<uint64_t> stamps;
    for (const CChannel& ch : chs) stamps.push_back(ch.GetRecalcStamp());
    Edit(edited.doc);
    edited.doc.GetOscillogram().UpdateAfterChange();
    edited.view->OnUpdate();
    const std::vector<COLORREF> after = Pixels(edited.Render(), 900, 700);

    // Only the edited channels were recalculated.
    EXPECT_EQ(chs[0].GetRecalcStamp(), stamps[0]);
    EXPECT_NE(chs[1].GetRecalcStamp(), stamps[1]);
    EXPECT_NE(chs[2].GetRecalcStamp(), stamps[2]);
    EXPECT_EQ(chs[3].GetRecalcStamp(), stamps[3]);

    ViewRig fresh;
    Build(fresh);
    Edit(fresh.doc);
    fresh.doc.GetOscillogram().RecalcAll(false);
    fresh.view->OnUpdate();
    const std::vector<COLORREF> expected = Pixels(fresh.Render(), 900, 700);
    EXPECT_NE(before, after);  // the edit shows
    EXPECT_TRUE(after == expected);

    // A sample written in place is a change too, though the store keeps its data.
    chs[3].m_samples.Set(100, 40.0);
    edited.doc.GetOscillogram().UpdateAfterChange();
    EXPECT_NE(chs[3].GetRecalcStamp(), stamps[3]);
    EXPECT_GE(chs[3].m_max, 40.0 * chs[3].m_displayMul);
}
