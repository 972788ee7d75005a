#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "FakeUi.h"
#include "ModelFixture.h"
#include "model/ChannelNodes.h"
#include "model/SettingsStore.h"
#include "model/XmlDocument.h"
#include "platform/Encoding.h"

using namespace modeltest;

TEST(ChannelSettings, CategoryRoundTrip) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 4);
    CChannel ch = Analog(&doc, "Ia", {1, 2, 3, 4}, L"A");
    ch.m_flags = CHF_DEFAULT | CHF_INVERT | CHF_REMOVE_DC;
    ch.m_primary = 600;
    ch.m_secondary = 5;
    ch.m_alias = L"Ток \"А\" & <1>";
    ch.m_netFrequency = {50, 49.97123456789, 0, 51};
    ch.m_customColorSet = true;
    ch.m_customColor = RGB(1, 2, 3);
    SettingsNode node;
    ch.SaveSettings(node);
    EXPECT_EQ(node.GetString(L"ShowFlags", L""), CString(std::to_wstring(ch.m_flags)));
    EXPECT_EQ(node.GetString(L"PrimaryMul", L""), L"600.000000");
    EXPECT_EQ(node.GetString(L"NetFreq", L""), L"50,49.97123456789,0,51");
    EXPECT_EQ(node.GetValueCount(), 7);

    CChannel back = Analog(&doc, "Ia", {1, 2, 3, 4}, L"A");
    back.LoadSettings(node);
    EXPECT_EQ(back.m_flags, ch.m_flags);
    EXPECT_EQ(back.m_primary, 600);
    EXPECT_EQ(back.m_secondary, 5);
    EXPECT_EQ(back.m_alias, ch.m_alias);
    EXPECT_EQ(back.m_name, ch.m_alias);
    EXPECT_EQ(back.m_netFrequency, ch.m_netFrequency);
    EXPECT_TRUE(back.m_customColorSet);
    EXPECT_EQ(back.m_customColor, RGB(1, 2, 3));

    // Discrete channels and analog ones without per-sample frequencies write no "NetFreq".
    SettingsNode plain;
    Discrete(&doc, "D", {0, 1, 0, 1}).SaveSettings(plain);
    EXPECT_FALSE(plain.HasValue(L"NetFreq"));
    EXPECT_EQ(plain.GetValueCount(), 6);
}

TEST(ChannelSettings, LoadKeepsWhatTheFileCannotSay) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 4);
    CChannel ch = Analog(&doc, "Ia", {1, 2, 3, 4}, L"A");
    ch.m_primary = 600;
    ch.m_secondary = 5;
    ch.m_customColorSet = true;
    SettingsNode empty;
    ch.LoadSettings(empty);
    // Absent keys keep the fields, except the custom colour, which defaults to off.
    EXPECT_EQ(ch.m_flags, CHF_DEFAULT);
    EXPECT_EQ(ch.m_primary, 600);
    EXPECT_EQ(ch.m_name, L"Ia");
    EXPECT_FALSE(ch.m_customColorSet);

    SettingsNode bad;
    bad.SetString(L"PrimaryMul", L"0");
    bad.SetString(L"SecondaryMul", L"nan");
    bad.SetInt(L"ShowFlags", int(CHF_VISIBLE | CHF_CALCULATED | CHF_OWN_TIMEBASE));
    bad.SetString(L"AliasName", L"");
    ch.LoadSettings(bad);
    EXPECT_EQ(ch.m_primary, 600);
    EXPECT_EQ(ch.m_secondary, 5);
    EXPECT_EQ(ch.m_flags, uint32_t(CHF_VISIBLE));
    EXPECT_EQ(ch.m_name, L"Ia");
}

TEST(ChannelSettings, NetFrequencyText) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 4);
    CChannel ch = Analog(&doc, "F", {1, 2, 3, 4});
    ch.ParseNetFrequencies(L"50,49.9");
    EXPECT_EQ(ch.m_netFrequency, (std::vector<double>{50.0, 49.9, 0.0, 0.0}));
    ch.ParseNetFrequencies(L"");
    EXPECT_EQ(ch.m_netFrequency.size(), 4u);
    ch.ParseNetFrequencies(L"1,2,3,4,5,6");
    EXPECT_EQ(ch.m_netFrequency, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(ch.FormatNetFrequencies(), L"1,2,3,4");
}

namespace {

// A record of two analog channels and one discrete one, plus a program-made channel.
void MakeRecord(DocumentModel& doc) {
    SetUpRecord(doc, 1000, 3);
    COscillogram& o = doc.GetOscillogram();
    o.m_sampleFrequency = {50, 49.5};
    o.m_timeMultiplier = 0.001;
    o.m_stationNameW = L"Подстанция \"Северная\"";
    o.m_recorderIdW = L"R1";
    o.m_sourcePath = L"/data/records/запись.cfg";
    o.m_startDate = L"01/02/2024";
    o.m_startTime = L"10:11:12.000000";
    CChannel ua = Analog(&doc, "Ua", {1e-9, -2.5, 1.0 / 3.0}, L"kV", "A");
    ua.m_a = 0.1;
    ua.m_b = 1234567.0;
    ua.m_skew = 12.5;
    ua.m_primary = 110000;
    ua.m_secondary = 100;
    ua.m_filePrimaryValue = 110000;
    ua.m_fileSecondaryValue = 100;
    ua.m_filePrimary = true;
    ua.m_primaryMode = true;
    ua.m_customColorSet = true;
    ua.m_customColor = RGB(10, 20, 30);
    ua.m_selected = true;
    CChannel ub = Analog(&doc, "Ub", {4, 5, 6}, L"kV", "B");
    ub.m_selected = false;
    CChannel d = Discrete(&doc, "Start", {0, 1, 1});
    d.m_name = L"Пуск";
    d.m_normalState = 1;
    d.m_selected = true;
    CChannel calc(L"3U0", L"kV", {1, 2, 3}, &doc);
    calc.m_selected = true;
    o.m_channels = {ua, ub, calc, d};
    o.m_analogCount = 3;
    o.m_discreteCount = 1;
}

}  // namespace

TEST(ChannelNodes, WrittenTreeHoldsTheSelectedRecordedChannels) {
    DocumentModel doc;
    MakeRecord(doc);
    XmlDocument xml;
    doc.GetOscillogram().WriteToNode(xml.AddChild(L"x"));
    const XmlNode& node = xml.GetChildren()[0];
    EXPECT_EQ(node.GetName(), L"channels");
    EXPECT_EQ(node.GetAttribute(L"num_values"), L"3");
    EXPECT_EQ(node.GetAttribute(L"time_multiplier"), L"0.001");
    EXPECT_EQ(node.GetAttribute(L"discr_frequency"), L"1000");
    EXPECT_EQ(node.GetAttribute(L"times"), L"0,1000,2000");
    EXPECT_EQ(node.GetAttribute(L"net_frequency"), L"50,49.5,0");
    EXPECT_EQ(node.GetAttribute(L"stationID"), L"Подстанция \"Северная\"");
    EXPECT_EQ(node.GetAttribute(L"title"), L"запись.cfg");
    ASSERT_EQ(node.GetChildCount(), 2);
    const XmlNode& ua = node.GetChildren()[0];
    EXPECT_EQ(ua.GetName(), L"channel");
    EXPECT_EQ(ua.GetAttribute(L"name"), L"Ua");
    EXPECT_EQ(ua.GetAttribute(L"type"), L"analog");
    EXPECT_EQ(ua.GetAttribute(L"desc2"), L"A");
    EXPECT_EQ(ua.GetAttribute(L"values_type"), L"primary");
    EXPECT_EQ(ua.GetAttribute(L"primary_mode"), L"true");
    EXPECT_EQ(ua.GetAttribute(L"mul"), L"0.1");
    EXPECT_EQ(ua.GetAttribute(L"offset"), L"1234567");  // "%g" would lose a digit
    EXPECT_EQ(ua.GetAttribute(L"values_count"), L"3");
    EXPECT_EQ(ua.GetAttribute(L"custom_color_set"), L"true");
    EXPECT_EQ(ua.GetAttribute(L"data"), L"1e-09,-2.5,0.3333333333333333,");
    const XmlNode& d = node.GetChildren()[1];
    EXPECT_EQ(d.GetAttribute(L"type"), L"discret");
    EXPECT_EQ(d.GetAttribute(L"name"), L"Пуск");
    EXPECT_EQ(d.GetAttribute(L"normal_state"), L"1");
    EXPECT_EQ(d.GetAttribute(L"mul"), L"1");  // written for discrete channels too, ignored when read
}

TEST(ChannelNodes, PastedChannelsCarryTheCopiedNumbers) {
    DocumentModel source;
    MakeRecord(source);
    XmlDocument out;
    source.GetOscillogram().WriteToNode(out.AddChild(L"x"));
    testutil::FakeUi ui;
    XmlDocument in;
    ASSERT_TRUE(in.LoadString(out.SaveString()));
    const XmlNode& node = in.GetChildren()[0];
    const PastedTimeBase base = ReadPastedTimeBase(node);
    EXPECT_EQ(base.times, (std::vector<int64_t>{0, 1000, 2000}));
    EXPECT_EQ(base.netFrequency, (std::vector<double>{50, 49.5, 0}));
    EXPECT_EQ(base.rate, 1000);

    DocumentModel host;
    SetUpRecord(host, 2000, 10);
    host.m_codePage = 1;
    CChannel ua(node.GetChildren()[0], &host, base.rate, base.times, base.netFrequency);
    EXPECT_EQ(ua.m_name, L"Ua (вст.)");
    EXPECT_EQ(ua.m_fileName, CStringA(L"Ua (вст.)"));
    EXPECT_EQ(ua.m_flags, uint32_t(CHF_DEFAULT | CHF_OWN_TIMEBASE));
    EXPECT_TRUE(ua.m_selected);
    EXPECT_FALSE(ua.IsDiscrete());
    EXPECT_EQ(ua.m_samples, source.GetOscillogram().m_channels[0].m_samples);
    EXPECT_EQ(ua.m_a, 0.1);
    EXPECT_EQ(ua.m_b, 1234567.0);
    EXPECT_EQ(ua.m_skew, 12.5);
    EXPECT_EQ(ua.m_primary, 110000);
    EXPECT_TRUE(ua.m_filePrimary);
    EXPECT_TRUE(ua.m_primaryMode);
    EXPECT_EQ(ua.m_displayUnit, source.GetOscillogram().m_channels[0].GetUnitText());
    EXPECT_FALSE(ua.m_displayUnit.IsEmpty());
    EXPECT_EQ(ua.m_primaryText, CStringA("110000"));
    EXPECT_EQ(ua.m_customColor, RGB(10, 20, 30));
    EXPECT_EQ(ua.m_sourceStartDate, L"01/02/2024");
    EXPECT_EQ(ua.m_ownTimes, base.times);
    EXPECT_EQ(ua.m_ownRate, 1000);

    // The discrete node carries the analog keys too; they are not taken.
    CChannel d(node.GetChildren()[1], &host, base.rate, base.times, base.netFrequency);
    EXPECT_TRUE(d.IsDiscrete());
    EXPECT_EQ(d.m_normalState, 1u);
    EXPECT_EQ(d.m_samples, (std::vector<double>{0, 1, 1}));

    // Copied again and pasted again, a pasted channel carries the suffix twice; in an OEM
    // record its file name is in the OEM code page.
    XmlNode again(L"channel");
    ua.WriteToNode(again);
    host.m_codePage = 0;
    CChannel twice(again, &host, base.rate, base.times, base.netFrequency);
    EXPECT_EQ(twice.m_name, L"Ua (вст.) (вст.)");
    EXPECT_EQ(twice.m_fileName, CStringA(platform::AnsiToOem(platform::WideToAnsi(L"Ua (вст.) (вст.)"))));
}

TEST(ChannelNodes, CountsFromTheClipboardAreNotTrusted) {
    DocumentModel host;
    SetUpRecord(host, 1000, 10);
    const std::vector<int64_t> times{0, 1000, 2000};
    const std::vector<double> freqs(3, 50.0);
    const struct { const wchar_t* count; const wchar_t* data; std::vector<double> samples; } cases[] = {
        {L"3", L"1.5,2,", {1.5, 2, 0}},  // the written form: a "," after every sample
        {L"3", L"1.5,2", {1.5, 2}},
        {L"2000000000", L"7,", {7, 0}},
        {L"-5", L"1,2,", {}},
        {L"", L"1,2,", {}},
        {L"2", L"", {}},
        {L"2", L"x,,", {0, 0}},
    };
    for (const auto& c : cases) {
        XmlNode node(L"channel");
        node.SetAttribute(L"type", L"analog");
        node.SetAttribute(L"values_count", c.count);
        node.SetAttribute(L"data", c.data);
        CChannel ch(node, &host, 1000, times, freqs);
        EXPECT_EQ(ch.m_samples, c.samples) << c.count << " " << c.data;
    }

    XmlNode tree(L"channels");
    tree.SetAttribute(L"num_values", L"1e+06");
    tree.SetAttribute(L"times", L"0,20,40");
    tree.SetAttribute(L"net_frequency", L"50");
    PastedTimeBase base = ReadPastedTimeBase(tree);
    EXPECT_EQ(base.times, (std::vector<int64_t>{0, 20, 40}));
    EXPECT_EQ(base.netFrequency, (std::vector<double>{50, 0, 0}));
    tree.SetAttribute(L"num_values", L"2");
    EXPECT_EQ(ReadPastedTimeBase(tree).times.size(), 2u);
    tree.SetAttribute(L"num_values", L"-1");
    EXPECT_TRUE(ReadPastedTimeBase(tree).times.empty());
}
