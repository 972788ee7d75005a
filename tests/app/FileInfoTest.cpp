#include <gtest/gtest.h>

#include "FakeUi.h"
#include "TestUtil.h"
#include "app/FileInfo.h"
#include "document/TenvorikDoc.h"
#include "tests/faultloc/FaultRecord.h"

namespace {

// Three analog channels and one discrete channel, 50 samples at 1000 per second.
std::string WriteRecord(const testutil::TempDir& dir) {
    std::string cfg = "Info station,R-7,1999\n4,3A,1D\n";
    cfg += "1,Ua,A,,V,0.1,0,0,-32767,32767,1,1,S\n2,Ub,B,,V,0.1,0,0,-32767,32767,1,1,S\n";
    cfg += "3,Ia,A,,A,0.01,0,0,-32767,32767,1,1,S\n1,Switch,,,0\n50\n1\n1000,50\n";
    cfg += "01/02/2024,10:00:00.000000\n01/02/2024,10:00:00.010000\nASCII\n1\n";
    testutil::WriteFile(dir.File("rec.cfg"), cfg);
    std::string dat;
    for (int i = 0; i < 50; ++i)
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(i) + ",1,2," +
               std::to_string(i % 2) + "\n";
    testutil::WriteFile(dir.File("rec.dat"), dat);
    return dir.File("rec.cfg");
}

}  // namespace

TEST(FileInfo, ShowsTheRecordsFacts) {
    testutil::FakeUi ui;
    testutil::TempDir dir;
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(CString(WriteRecord(dir).c_str()))) << ui.exceptions.size();
    FileInfoFields f = ReadFileInfo(doc);
    EXPECT_EQ(f.channelCount, 4);
    EXPECT_EQ(f.analogCount, 3);
    EXPECT_EQ(f.discreteCount, 1);
    EXPECT_EQ(f.sampleCount, 50);
    EXPECT_EQ(f.netFrequency, 50.0);
    EXPECT_EQ(f.samplingRate, 1000);
    EXPECT_EQ(f.station, L"Info station");
    EXPECT_EQ(f.recorder, L"R-7");
    EXPECT_FALSE(f.duration.IsEmpty());
    // no frequency channels: only "do not correct"
    ASSERT_EQ(f.correctionItems.size(), 1u);
    EXPECT_EQ(f.correctionIndex, 0);
}

TEST(FileInfo, RateChangeIsOneUndoStep) {
    testutil::FakeUi ui;
    testutil::TempDir dir;
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(CString(WriteRecord(dir).c_str())));
    ASSERT_TRUE(ApplyFileInfo(doc, 1000, 0));  // nothing changed
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.IsModified());
    ASSERT_TRUE(ApplyFileInfo(doc, 2000, 0));
    EXPECT_EQ(doc.GetOscillogram().m_samplingFrequency, 2000);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.CanUndo());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.GetOscillogram().m_samplingFrequency, 1000);
    EXPECT_FALSE(doc.CanUndo());
}

TEST(FileInfo, RateText) {
    const std::pair<const wchar_t*, int> good[] = {{L"1000", 1000}, {L" 2400 ", 2400}, {L"1", 1}, {L"2147483647", 2147483647}};
    for (auto [text, value] : good) {
        int rate = 0;
        EXPECT_TRUE(ParseSampleRate(text, rate)) << text;
        EXPECT_EQ(rate, value);
    }
    // a rate of 0 or less would later divide by zero; text that is not a whole number is refused
    for (const wchar_t* text : {L"", L"0", L"-5", L"12a", L"1.5", L"2147483648", L"99999999999999999999"}) {
        int rate = 7;
        EXPECT_FALSE(ParseSampleRate(text, rate)) << text;
        EXPECT_EQ(rate, 7);
    }
}

TEST(FileInfo, RateChoicesByNetFrequency) {
    auto fifty = SampleRateChoices(50.0);
    ASSERT_EQ(fifty.size(), 27u);
    EXPECT_EQ(fifty.front(), 160000);
    EXPECT_EQ(fifty.back(), 200);
    auto sixty = SampleRateChoices(60.0);
    ASSERT_EQ(sixty.size(), 27u);
    EXPECT_NE(std::find(sixty.begin(), sixty.end(), 3840), sixty.end());
    EXPECT_NE(std::find(sixty.begin(), sixty.end(), 3340), sixty.end());
    EXPECT_TRUE(SampleRateChoices(49.5).empty());
}

TEST(FileInfo, RateChangeRerunsAShownFaultLocation) {
    testutil::FakeUi ui;
    testutil::TempDir dir;
    const CString cfg(WriteFaultRecord(dir).c_str());
    WriteFaultSettings(dir);
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(cfg));
    ASSERT_TRUE(doc.RunFaultLocation(false));
    const CString atOldRate = doc.m_locator.m_resultText;
    ASSERT_TRUE(ApplyFileInfo(doc, 2000, 0));
    ASSERT_TRUE(doc.m_locator.IsActive());
    // The result shown is the one a fresh run at the new rate gives, not the stale one.
    const CString shown = doc.m_locator.m_resultText;
    EXPECT_NE(shown, atOldRate);
    ASSERT_TRUE(doc.RunFaultLocation(false));
    EXPECT_EQ(doc.m_locator.m_resultText, shown);
}
