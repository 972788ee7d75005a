#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "model/ChannelCollection.h"
#include "model/Resources.h"

using namespace modeltest;

namespace {
struct RecordingDoc : DocumentModel {
    std::vector<int> removed;
    void OnChannelRemoved(int index) override { removed.push_back(index); }
};
}  // namespace

TEST(Collection, NameLookUpPrefersExactCaseThenFirstCandidate) {
    DocumentModel doc;
    COscillogram& o = doc.GetOscillogram();
    o.AddChannel(-1, Analog(&doc, "UA", {}));
    o.AddChannel(-1, Analog(&doc, "ua", {}));
    o.AddChannel(-1, Analog(&doc, "Ua", {}));
    CChannel cyr(&doc);
    cyr.m_fileName = CStringA(CString(L"Ток"));
    cyr.m_name = L"Ток";
    o.AddChannel(-1, cyr);
    EXPECT_EQ(&o.FindChannel(L"ua"), &o.m_channels[1]);
    EXPECT_EQ(&o.FindChannel(L"Ua"), &o.m_channels[2]);
    EXPECT_EQ(&o.FindChannel(L"uA"), &o.m_channels[0]);  // no exact match: the first candidate
    EXPECT_EQ(&o.FindChannel(L"ТОК"), &o.m_channels[3]);  // Cyrillic letters fold too
    EXPECT_EQ(&o.FindChannelByFileName("UA"), &o.m_channels[0]);
    EXPECT_EQ(&o.FindChannelByFileName(CStringA(CString(L"ток"))), &o.m_channels[3]);

    EXPECT_EQ(ThrownId([&] { o.FindChannel(L"Ub"); }), 354u);
    EXPECT_EQ(ThrownId([&] { o.FindChannelByFileName("Ub"); }), 354u);
    try {
        o.FindChannel(L"");
        FAIL();
    } catch (CTenvorikException* e) {
        EXPECT_EQ(e->GetErrorMessage(), L"Имя канала задано неправильно.");
        e->Delete();
    }
    // Only a pasted channel (one with a net frequency per sample) has an index by name.
    EXPECT_EQ(o.FindChannelIndex(L"UA"), -1);
    EXPECT_EQ(o.FindChannelIndex(L"nothing"), -1);
    o.m_channels[2].m_netFrequency = {50.0};
    EXPECT_EQ(o.FindChannelIndex(L"Ua"), 2);
}

TEST(Collection, AddingAndRemovingChannels) {
    RecordingDoc doc;
    SetUpRecord(doc, 1000, 40);
    COscillogram& o = doc.GetOscillogram();
    for (const char* n : {"A1", "A2", "A3", "A4"}) o.AddChannel(-1, Analog(&doc, n, std::vector<double>(40, 1.0)));
    for (const char* n : {"D1", "D2"}) o.AddChannel(-1, Discrete(&doc, n, std::vector<double>(40, 0.0)));
    EXPECT_EQ(o.m_analogCount, 4);
    EXPECT_EQ(o.m_discreteCount, 2);
    o.AddChannel(100, Analog(&doc, "Last", {}));
    EXPECT_EQ(o.m_channels.back().m_fileName, "Last");
    o.AddChannel(0, Analog(&doc, "First", {}));
    EXPECT_EQ(o.m_channels.front().m_fileName, "First");
    o.RemoveChannel(L"First");
    o.RemoveChannel(L"Last");
    o.RemoveChannel(L"first");  // exact names only: nothing happens
    EXPECT_EQ(doc.removed, (std::vector<int>{0, 6}));
    EXPECT_EQ(o.m_analogCount, 4);

    // Program-made channels go right after the last analog channel, discrete ones too.
    o.SetDiscreteChannel(L"Trip", std::vector<int32_t>(40, 1));
    EXPECT_EQ(o.m_channels[4].m_name, L"Trip");
    EXPECT_EQ(o.m_channels[4].m_color, RGB(249, 175, 172));
    EXPECT_EQ(o.m_discreteCount, 3);
    o.SetCalculatedChannel(L"Sum", L"A", std::vector<double>(40, 2.0));
    EXPECT_EQ(o.m_channels[4].m_name, L"Sum");
    EXPECT_EQ(o.m_analogCount, 5);
    // Setting an existing name changes that channel's values in place.
    o.SetCalculatedChannel(L"sum", L"A", std::vector<double>(40, 3.0));
    EXPECT_EQ(o.m_channels.size(), 8u);
    EXPECT_EQ(o.m_channels[4].m_samples[0], 3.0);
    o.SetComplexChannel(L"Z", L"Ohm", std::vector<double>(40, 1.0), std::vector<Complex>(40, Complex(1, 1)));
    EXPECT_EQ(o.m_channels[5].m_name, L"Z");
    EXPECT_EQ(o.m_channels[5].GetStoredHarmonic(3), Complex(1, 1));
}

TEST(Collection, SampleCountAndDurationSkipPastedChannels) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 11);
    COscillogram& o = doc.GetOscillogram();
    CChannel pasted = Analog(&doc, "P", std::vector<double>(5, 0.0));
    pasted.m_flags |= CHF_OWN_TIMEBASE;
    pasted.m_ownTimes = {0, 500, 1000, 1500, 2000};
    o.AddChannel(-1, pasted);
    EXPECT_EQ(o.GetSampleCount(), 0);
    EXPECT_EQ(o.GetDuration(false), 0.0);
    EXPECT_DOUBLE_EQ(o.GetDuration(true), 0.002);
    o.AddChannel(-1, Analog(&doc, "A", std::vector<double>(11, 0.0)));
    EXPECT_EQ(o.GetSampleCount(), 11);
    EXPECT_DOUBLE_EQ(o.GetDuration(false), 0.01);
}

TEST(Collection, FrequencyListFollowsInsertsAndCopies) {
    DocumentModel doc;
    COscillogram& o = doc.GetOscillogram();
    o.AddChannel(-1, Analog(&doc, "F1", {}, L"Hz"));
    o.RebuildFrequencyChannels();
    EXPECT_EQ(doc.m_frequencyCorrectionChannel, 1);
    // Many inserts move the vector; the list must keep pointing into it.
    for (int k = 0; k < 50; ++k) o.AddChannel(0, Analog(&doc, "U", {}, L"kV"));
    o.AddChannel(-1, Analog(&doc, "F2", {}, L"Гц"));
    ASSERT_EQ(o.GetFrequencyChannels().size(), 2u);
    EXPECT_EQ(o.GetFrequencyChannels()[0], &o.m_channels[50]);
    EXPECT_EQ(o.GetFrequencyChannelName(1), L"F2");
    EXPECT_EQ(o.GetFrequencyChannelName(2), L"");
    EXPECT_EQ(o.GetFrequencyChannelName(-1), L"");

    doc.m_frequencyCorrectionChannel = 5;  // past the list: back to the first
    o.RebuildFrequencyChannels();
    EXPECT_EQ(doc.m_frequencyCorrectionChannel, 1);

    // A snapshot's list refers to its own channels, so it outlives the source's changes.
    auto snapshot = std::make_unique<COscillogram>(o);
    EXPECT_EQ(snapshot->GetFrequencyChannels()[1], &snapshot->m_channels[51]);
    COscillogram restored(&doc);
    restored = *snapshot;
    snapshot.reset();
    EXPECT_EQ(restored.GetFrequencyChannels()[0], &restored.m_channels[50]);
    EXPECT_EQ(restored.GetFrequencyChannelName(0), L"F1");
}

TEST(Collection, HeaderTextAndSelection) {
    DocumentModel doc;
    COscillogram& o = doc.GetOscillogram();
    o.m_headerText = "header";
    EXPECT_EQ(o.GetHeaderText(), "header");
    o.AddChannel(-1, Analog(&doc, "A", {}));
    o.m_channels[0].m_selected = true;
    o.ClearSelection();
    EXPECT_FALSE(o.m_channels[0].m_selected);
}

TEST(Collection, AppendScaledSampleUsesPrefixAndOffset) {
    DocumentModel doc;
    CChannel ch = Analog(&doc, "U", {}, L"kV");
    ch.m_a = 0.5;
    ch.m_b = 2.0;
    ch.AppendScaledSample(10.0);
    EXPECT_EQ(ch.m_samples, std::vector<double>{0.5 * 1000 * 10 + 2});
    EXPECT_EQ(ch.GetFileName(), "U");
}
