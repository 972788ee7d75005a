#include <gtest/gtest.h>

#include <map>

#include "ModelFixture.h"
#include "model/ChannelCollection.h"
#include "platform/CmdUI.h"

using namespace modeltest;

namespace {

struct CommandDoc : DocumentModel {
    std::map<CString, std::vector<CStringA>> groups;
    int diagrams = 0, views = 0, faultRuns = 0;
    bool acceptDialog = false;
    COLORREF chosen = RGB(10, 20, 30), offered = 1;

    CString FindChannelGroup(const CStringA& name) const override {
        for (const auto& [key, names] : groups)
            for (const CStringA& n : names)
                if (n == name) return key;
        return CString();
    }
    std::vector<CStringA> GetGroupFileNames(const CString& key) const override {
        auto it = groups.find(key);
        return it == groups.end() ? std::vector<CStringA>() : it->second;
    }
    void RemoveChannelGroup(const CString& key) override { groups.erase(key); }
    void UpdateDiagrams() override { ++diagrams; }
    void UpdateAllViews() override { ++views; }
    void RecalcFaultLocation() override { ++faultRuns; }
    bool RunMultiplierDialog() override { return acceptDialog; }
    bool ChooseColor(COLORREF& c) override {
        offered = c;
        c = chosen;
        return true;
    }
};

struct RecordingView : ChannelCommandView {
    int placed[2] = {-1, -1};
    bool invalidated = false;
    bool GetLevelCursorHeight(int k, int& y) override {
        y = 100 + k;
        return k == 1;  // only the second level cursor is on
    }
    void PlaceLevelCursor(int k, int y) override { placed[k] = y; }
    void Invalidate() override { invalidated = true; }
};

// Three analog channels (I, U, R) and two discrete ones (D1 never changes, D2 does).
struct CommandRecord {
    CommandDoc doc;
    COscillogram& o = doc.GetOscillogram();
    CommandRecord() {
        SetUpRecord(doc, 1000, 40);
        o.AddChannel(-1, Analog(&doc, "I", std::vector<double>(40, 1.0), L"A"));
        o.AddChannel(-1, Analog(&doc, "U", std::vector<double>(40, 2.0), L"kV"));
        o.AddChannel(-1, Analog(&doc, "R", std::vector<double>(40, 3.0), L"Ом"));
        o.AddChannel(-1, Discrete(&doc, "D1", std::vector<double>(40, 0.0)));
        std::vector<double> changing(40, 0.0);
        changing[20] = 1.0;
        o.AddChannel(-1, Discrete(&doc, "D2", changing));
        o.RecalcAll(false);
    }
    CChannel& ch(int k) { return o.m_channels[size_t(k)]; }
    void Select(std::initializer_list<int> ks) {
        o.ClearSelection();
        for (int k : ks) ch(k).m_selected = true;
    }
};

}  // namespace

TEST(ChannelCommands, ToggleRuleAndUpdate) {
    CommandRecord r;
    r.Select({0, 1, 2});
    r.ch(0).m_flags |= CHF_INVERT;
    r.ch(1).m_flags |= CHF_INVERT;
    RecordingView view;
    r.o.ApplyValueMode(ID_CHANNEL_INVERT, &view);
    for (int k : {0, 1, 2}) EXPECT_TRUE(r.ch(k).m_flags & CHF_INVERT) << k;
    EXPECT_EQ(r.ch(0).GetCurveValue(5), -1.0);  // recalculated
    EXPECT_TRUE(r.doc.IsModified());
    EXPECT_EQ(r.doc.diagrams, 1);
    EXPECT_EQ(r.doc.views, 1);
    EXPECT_EQ(r.doc.faultRuns, 1);
    EXPECT_EQ(view.placed[0], -1);  // switched off: left alone
    EXPECT_EQ(view.placed[1], 101);
    EXPECT_TRUE(view.invalidated);
    r.o.ApplyValueMode(ID_CHANNEL_INVERT, nullptr);
    for (int k : {0, 1, 2}) EXPECT_FALSE(r.ch(k).m_flags & CHF_INVERT) << k;

    // Caption values act on every analog channel, selected or not.
    r.Select({0});
    r.o.ApplyValueMode(ID_CHANNEL_SHOW_MINMAX, nullptr);
    for (int k : {0, 1, 2}) EXPECT_TRUE(r.ch(k).m_flags & CHF_SHOW_MINMAX) << k;
    EXPECT_FALSE(r.ch(3).m_flags & CHF_SHOW_MINMAX);
}

TEST(ChannelCommands, CurveModeReachesTheWholeStrip) {
    CommandRecord r;
    r.doc.groups[L"g"] = {"U", "R"};
    r.Select({1});
    r.o.ApplyValueMode(ID_CHANNEL_CURVE_RMS, nullptr);
    EXPECT_EQ(r.ch(0).m_flags & CHF_CURVE_MASK, uint32_t(CHF_CURVE_INSTANT));
    EXPECT_EQ(r.ch(1).m_flags & CHF_CURVE_MASK, uint32_t(CHF_CURVE_RMS));
    EXPECT_EQ(r.ch(2).m_flags & CHF_CURVE_MASK, uint32_t(CHF_CURVE_RMS));
    EXPECT_DOUBLE_EQ(r.ch(2).GetCurveValue(30), 3.0);
    CCmdUI ui(ID_CHANNEL_CURVE_RMS);
    r.o.UpdateValueModeUI(ui);
    EXPECT_TRUE(ui.m_enabled);
    EXPECT_EQ(ui.m_check, 1);
    r.o.ClearSelection();
    CCmdUI none(ID_CHANNEL_CURVE_RMS);
    r.o.UpdateValueModeUI(none);
    EXPECT_FALSE(none.m_enabled);
}

TEST(ChannelCommands, DiscreteVisibility) {
    CommandRecord r;
    r.ch(3).m_selected = r.ch(4).m_selected = true;
    r.o.ShowDiscreteChannels(ID_HIDE_DISCRETE_CONSTANT);
    EXPECT_FALSE(r.ch(3).m_flags & CHF_VISIBLE);
    EXPECT_FALSE(r.ch(3).m_selected);
    EXPECT_TRUE(r.ch(4).m_flags & CHF_VISIBLE);
    r.o.ShowDiscreteChannels(ID_HIDE_DISCRETE_ALL);
    EXPECT_FALSE(r.ch(4).m_flags & CHF_VISIBLE);
    r.o.ShowDiscreteChannels(ID_SHOW_DISCRETE_ALL);
    EXPECT_TRUE(r.ch(3).m_flags & CHF_VISIBLE);
    EXPECT_TRUE(r.ch(4).m_flags & CHF_VISIBLE);
    // Hiding a selected channel hides its strip and dissolves the group.
    r.doc.groups[L"g"] = {"U", "R"};
    r.Select({2});
    r.o.ShowDiscreteChannels(ID_HIDE_SELECTED_CHANNELS);
    EXPECT_FALSE(r.ch(1).m_flags & CHF_VISIBLE);
    EXPECT_FALSE(r.ch(2).m_flags & CHF_VISIBLE);
    EXPECT_TRUE(r.ch(0).m_flags & CHF_VISIBLE);
    EXPECT_TRUE(r.doc.groups.empty());
    EXPECT_FALSE(r.doc.IsModified());  // the view updates itself
}

TEST(ChannelCommands, DiagramFlagsAndAdcCodes) {
    CommandRecord r;
    r.o.SetCalculatedChannel(L"Calc", L"A", std::vector<double>(40, 1.0));  // lands at position 3
    r.Select({0, 1, 3});
    r.o.ToggleDiagramFlag(ID_CHANNEL_VECTOR_DIAGRAM);
    for (int k : {0, 1, 3}) EXPECT_TRUE(r.ch(k).m_flags & CHF_VECTOR_DIAGRAM) << k;
    EXPECT_EQ(r.doc.diagrams, 1);
    // A program-made channel in the selection does not keep ADC codes from being switched off.
    r.o.ToggleDiagramFlag(ID_CHANNEL_ADC_COUNTS);
    EXPECT_TRUE(r.ch(0).m_flags & CHF_ADC_COUNTS);
    EXPECT_FALSE(r.ch(3).m_flags & CHF_ADC_COUNTS);
    CCmdUI adc(ID_CHANNEL_ADC_COUNTS);
    r.o.UpdateDiagramFlagUI(adc);
    EXPECT_EQ(adc.m_check, 1);
    r.o.ToggleDiagramFlag(ID_CHANNEL_ADC_COUNTS);
    EXPECT_FALSE(r.ch(0).m_flags & CHF_ADC_COUNTS);
    EXPECT_FALSE(r.ch(1).m_flags & CHF_ADC_COUNTS);

    // Unit rules of the diagrams.
    const struct { std::initializer_list<int> selection; UINT id; bool enabled; } cases[] = {
        {{0, 1}, ID_CHANNEL_VECTOR_DIAGRAM, true},  {{2}, ID_CHANNEL_VECTOR_DIAGRAM, false},
        {{3}, ID_CHANNEL_CIRCLE_DIAGRAM, true},     {{0}, ID_CHANNEL_CIRCLE_DIAGRAM, false},
        {{0, 1, 2}, ID_CHANNEL_FREQ_DIAGRAM, true}, {{}, ID_CHANNEL_FREQ_DIAGRAM, true},
    };
    r.ch(3).m_displayUnit = L"Ohm";
    for (const auto& c : cases) {
        r.Select(c.selection);
        CCmdUI ui(c.id);
        r.o.UpdateDiagramFlagUI(ui);
        EXPECT_EQ(ui.m_enabled, c.enabled) << c.id;
    }
    r.Select({0});
    r.ch(0).m_flags |= CHF_OWN_TIMEBASE;
    CCmdUI freq(ID_CHANNEL_FREQ_DIAGRAM);
    r.o.UpdateDiagramFlagUI(freq);
    EXPECT_FALSE(freq.m_enabled);
}

TEST(ChannelCommands, RatiosAndColour) {
    CommandRecord r;
    r.o.EditCoefficients(ID_EDIT_COEFFICIENTS);  // cancelled
    EXPECT_FALSE(r.doc.IsModified());
    EXPECT_EQ(r.doc.views, 0);
    r.doc.acceptDialog = true;
    r.o.EditCoefficients(ID_EDIT_COEFFICIENTS);
    EXPECT_TRUE(r.doc.IsModified());

    r.o.EditCoefficients(ID_SHOW_PRIMARY_VALUES);
    for (int k : {0, 1, 2}) EXPECT_TRUE(r.ch(k).m_primaryMode);
    EXPECT_FALSE(r.ch(3).m_primaryMode);
    CCmdUI primary(ID_SHOW_PRIMARY_VALUES), secondary(ID_SHOW_SECONDARY_VALUES);
    r.o.UpdatePrimarySecondaryUI(primary);
    r.o.UpdatePrimarySecondaryUI(secondary);
    EXPECT_EQ(primary.m_check, 1);
    EXPECT_EQ(secondary.m_check, 0);

    r.Select({1, 2});
    r.o.SetSelectedChannelsColor();
    EXPECT_EQ(r.doc.offered, RGB(194, 2, 116));  // the first selected channel's palette colour
    EXPECT_EQ(r.ch(1).GetColor(), RGB(10, 20, 30));
    EXPECT_EQ(r.ch(2).GetColor(), RGB(10, 20, 30));
    EXPECT_NE(r.ch(0).GetColor(), RGB(10, 20, 30));
}
