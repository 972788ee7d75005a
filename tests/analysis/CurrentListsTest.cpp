// Lists of phase currents (the arms of the differential page) offer the channels that may be
// currents: amperes, and units that name no other quantity; never a voltage, a power, a
// resistance or a rate of change.
#include <gtest/gtest.h>

#include "analysis/FormulaComposition.h"
#include "model/DocumentModel.h"

TEST(CurrentLists, OnlyChannelsThatMayBeCurrentsAreOffered) {
    struct Case {
        const wchar_t* unit;
        bool offered;
    };
    const Case cases[] = {
        {L"A", true},    {L"kA", true},   {L"mA", true},    {L"А", true},     {L"кА", true},
        {L"", true},     {L"ном", true},  {L"p.u.", true},  {L"ampere", true},
        {L"V", false},   {L"kV", false},  {L"W", false},    {L"VA", false},   {L"Ohm", false},
        {L"Hz", false},  {L"A/s", false}, {L"DEG", false},
    };
    DocumentModel doc;
    COscillogram& o = doc.GetOscillogram();
    std::vector<CString> expected;
    int k = 0;
    for (const Case& c : cases) {
        CChannel ch(&doc);
        ch.m_name.Format(L"ch%d", k++);
        ch.m_unit = CStringA(CString(c.unit));
        ch.ParseUnit();
        EXPECT_EQ(MayBeCurrentChannel(ch), c.offered) << c.unit;
        if (c.offered) expected.push_back(ch.m_name);
        o.m_channels.push_back(std::move(ch));
        ++o.m_analogCount;
    }
    ArgumentControlMap controls;
    controls.Add(1007);
    controls.Add(1041);
    FillChannelCombo({&controls, true}, 1007, L"ch0", &o, true);
    EXPECT_EQ(controls.GetChoices(1007), expected);
    EXPECT_EQ(controls.GetText(1007), L"ch0");
    // Other lists still offer every analog channel.
    FillChannelCombo({&controls, true}, 1041, CString(), &o);
    EXPECT_EQ(controls.GetChoices(1041).size(), std::size(cases) + 1);  // and "Не учитывать"
}
