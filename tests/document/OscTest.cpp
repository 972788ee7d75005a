#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "Fixtures.h"
#include "TestUtil.h"
#include "document/TenvorikDoc.h"
#include "formats/OscRecord.h"
#include "platform/Encoding.h"

using fixtures::DocUi;
using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }

using Rec = std::string;

void PutBe16(Rec& r, size_t at, int v) {
    r[at] = char((v >> 8) & 0xFF);
    r[at + 1] = char(v & 0xFF);
}
void PutBeFloat(Rec& r, size_t at, float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    for (int i = 0; i < 4; ++i) r[at + size_t(i)] = char((u >> (24 - 8 * i)) & 0xFF);
}
Rec Text(const std::string& s) {
    Rec r(128, '\0');
    r.replace(0, s.size(), s);
    return r;
}

// Two analog channels (V and A), twenty discrete ones, F = 10 frames per data record, one
// data record per entry of `periods` (the conversion period of each).
struct Osc {
    int frames = 10;
    std::vector<int> periods{6667, 6667, 6667};
    int declaredRecords = 3;
    float primary0 = 200.0f, primary1 = 0.05f;

    std::string Bytes() const {
        Rec header(128, '\0');
        header[0] = 2;
        header[1] = 6;
        header[2] = 6;  // header, one scale block, four descriptions
        Rec scale(128, '\0');
        PutBeFloat(scale, 0, 3276.8f * 2);  // entry 0: a = 2
        PutBeFloat(scale, 48, 1.0f);
        PutBe16(scale, 32, 10);
        PutBe16(scale, 80, -4);             // b = -(10 - 4) x 2
        PutBe16(scale, 34, 3);              // entry 1: no divisor, a = 1
        PutBe16(scale, 82, 4);
        std::string out = header + scale + Text("01A  2\r\n1,UA,A,V\r\n2,IA,A,A\r\n");
        for (int part = 0; part < 2; ++part) {
            std::string d = "0" + std::to_string(2 + part) + "D 10\r\n";
            for (int k = 1; k <= 10; ++k) d += std::to_string(k) + ",K" + std::to_string(10 * part + k) + ",0\r\n";
            out += Text(d);
        }
        out += Text("04F," + std::to_string(frames));
        Rec stamp(128, '\0');
        PutBe16(stamp, 2, declaredRecords);
        stamp[5] = char(0x78);  // hundredths
        stamp[6] = char(0x56);
        stamp[7] = char(0x34);
        stamp[8] = char(0x12);
        stamp[9] = char(0x15);
        stamp[10] = char(0x03);
        stamp[11] = char(0x24);
        PutBe16(stamp, 14, 3);  // T
        PutBeFloat(stamp, 64, primary0);
        PutBeFloat(stamp, 68, primary1);
        out += stamp;
        int code = 0;
        for (int p : periods) {
            Rec data(128, '\0');
            for (int k = 0; k < frames; ++k) {
                size_t f = size_t(2 * k * 3);
                PutBe16(data, f, code);
                PutBe16(data, f + 2, -code);
                PutBe16(data, f + 4, code % 2 ? 0x0001 : 0x8000);
                ++code;
            }
            PutBe16(data, 124, p);
            out += data;
        }
        return out;
    }
};

}  // namespace

TEST(OscRecord, DateRecordAndTimes) {
    unsigned char r[16] = {0, 0, 0x01, 0x02, 0, 0x12, 0x59, 0x30, 0x23, 0x31, 0x12, 0x24, 0, 0, 0x00, 0x03};
    ConvertOscDateRecord(r);
    EXPECT_EQ(r[5], 12);
    EXPECT_EQ(r[11], 24);
    int16_t n, t;
    std::memcpy(&n, r + 2, 2);
    std::memcpy(&t, r + 14, 2);
    EXPECT_EQ(n, 0x0102);
    EXPECT_EQ(t, 3);
    // F = 10, T = 3 at 2000 per second: the first sample lies 29 x 500 us before the stamp,
    // here across midnight and the year's end.
    r[5] = 0;
    r[6] = 0;
    r[7] = 0;
    r[8] = 0;
    r[9] = 1;
    r[10] = 1;
    auto [stamp, first] = OscStampToTimes(r, 10, 2000);
    EXPECT_EQ(stamp.year, 2024);
    EXPECT_EQ(first.year, 2023);
    EXPECT_EQ(first.month, 12);
    EXPECT_EQ(first.day, 31);
    EXPECT_EQ(first.hour, 23);
    EXPECT_EQ(first.minute, 59);
    EXPECT_EQ(first.second, 59);
    EXPECT_EQ(first.millisecond, 985);  // 1000 - 14.5, to whole milliseconds
}

TEST(OscRecord, LoadsChannelsScalingTimesAndSegments) {
    DocUi ui;
    TempDir dir;
    Osc osc;
    osc.periods = {6667, 6667, 3333};  // 2400 per second, then 4800
    WriteFile(dir.File("r.osc"), osc.Bytes());
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(dir.File("r.osc")))) << (ui.errors.empty() ? "" : platform::WideToUtf8(ui.errors[0].view()));
    const auto& o = doc.m_oscillogram;
    EXPECT_EQ(doc.GetStationName(), L"OSC Осциллограф. Версия 2.6");
    EXPECT_EQ(o.m_harmonicCorrection, 1.00259);
    EXPECT_EQ(o.m_analogCount, 2);
    EXPECT_EQ(o.m_samplingFrequency, 2400);
    EXPECT_EQ(o.m_dataFileType, L"ASCII");
    ASSERT_GE(o.m_channels.size(), 3u);
    const auto& ua = o.m_channels[0];
    EXPECT_NEAR(ua.m_a, 2.0, 1e-6);  // single-precision gains
    EXPECT_NEAR(ua.m_b, -12.0, 1e-5);
    ASSERT_EQ(ua.m_samples.size(), 30u);
    EXPECT_NEAR(ua.m_samples[5], 2.0 * 5 - 12.0, 1e-5);
    EXPECT_DOUBLE_EQ(o.m_channels[1].m_b, -7.0);  // no divisor: a = 1, b = -(Z1 + Z2)
    EXPECT_DOUBLE_EQ(o.m_channels[1].m_samples[5], -5.0 - 7.0);
    EXPECT_EQ(ua.m_primary, 200.0);
    EXPECT_EQ(o.m_channels[1].m_primary, 1.0);  // 0.05 is out of range
    ASSERT_EQ(o.m_channels.size(), 22u);
    EXPECT_EQ(o.m_channels[21].m_name, L"K20");
    // One status word per frame: channels 17 to 20 have no samples in this format.
    EXPECT_EQ(o.m_channels[17].m_samples.size(), 30u);
    EXPECT_TRUE(o.m_channels[18].m_samples.empty());
    EXPECT_EQ(o.m_channels[17].m_samples[0], 1.0);  // bit 15
    // Discrete bit 0 is the first channel's state.
    EXPECT_EQ(o.m_channels[2].m_samples[1], 1.0);
    EXPECT_EQ(o.m_channels[2].m_samples[0], 0.0);
    // Two segments; the last keeps the rate it had.
    ASSERT_EQ(o.m_rates.size(), 2u);
    EXPECT_EQ(o.m_rates[0].rate, 2400);
    EXPECT_EQ(o.m_rates[0].lastSample, 20);
    EXPECT_EQ(o.m_rates[1].rate, 4800);
    EXPECT_EQ(o.m_rates[1].lastSample, 30);
    EXPECT_EQ(o.m_times[19], 7917);  // 19 x 1e6 / 2400, not 19 x 416
    EXPECT_EQ(o.m_times[20], 8333);
    EXPECT_EQ(o.m_times[29], 8333 + 1875);
    EXPECT_EQ(o.m_timeReferenceSample, 30);
    EXPECT_EQ(o.m_triggerTime, L"12:34:56.780");
    EXPECT_EQ(o.m_triggerDate, L"3/15/2024");
    EXPECT_EQ(o.m_startTime, L"12:34:56.767");  // 29 x 4166 x 100 ns earlier
    EXPECT_EQ(o.m_oscBytes.size(), osc.Bytes().size());

    // Saved under another name the file's own bytes are copied.
    ASSERT_TRUE(doc.OnSaveDocument(W(dir.File("copy.osc"))));
    EXPECT_EQ(ReadFile(dir.File("copy.osc")), osc.Bytes());
}

TEST(OscRecord, MalformedFilesAreReported) {
    TempDir dir;
    Osc tooManyFrames;
    tooManyFrames.frames = 21;  // 21 frames of 3 words reach the conversion period
    std::string shortFile = Osc().Bytes().substr(0, 128 * 4);
    std::string badKind = Osc().Bytes();
    badKind[128 * 2 + 2] = 'X';  // a description of no known kind
    for (const auto& bytes : {tooManyFrames.Bytes(), shortFile, badKind, std::string(100, '\1')}) {
        DocUi ui;
        WriteFile(dir.File("bad.osc"), bytes);
        CTenvorikDoc doc;
        EXPECT_FALSE(doc.OnOpenDocument(W(dir.File("bad.osc"))));
        ASSERT_EQ(ui.errors.size(), 1u);
        EXPECT_EQ(ui.errors[0], L"Неправильный формат файла - " + W(dir.File("bad.osc")));
        EXPECT_TRUE(doc.m_oscillogram.m_channels.empty());
    }
}

// A file of no data records (cut after its time stamp, or declaring none) holds nothing to
// show: it is refused saying so, and nothing is written from it.
TEST(OscRecord, FileWithoutDataRecordsIsRefusedSayingSo) {
    TempDir dir;
    Osc none;
    none.declaredRecords = 0;
    const std::string cut = Osc().Bytes().substr(0, 128 * 7);
    for (const auto& bytes : {none.Bytes(), cut}) {
        WriteFile(dir.File("empty.osc"), bytes);
        {
            DocUi ui;
            CTenvorikDoc doc;
            EXPECT_FALSE(doc.OnOpenDocument(W(dir.File("empty.osc"))));
            ASSERT_EQ(ui.errors.size(), 1u);
            EXPECT_EQ(ui.errors[0], L"Файл " + W(dir.File("empty.osc")) +
                                        L" не содержит отсчётов: в нём нет ни одной записи данных.");
        }
        auto r = testutil::Run({std::string(TV_BIN_DIR) + "/recdump", "--save", dir.File("out.cfg"), dir.File("empty.osc")});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("не содержит отсчётов"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.File("out.cfg")));
        EXPECT_FALSE(std::filesystem::exists(dir.File("out.dat")));
    }
}
