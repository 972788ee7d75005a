#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "Fixtures.h"
#include "TestUtil.h"
#include "document/RecordDump.h"
#include "document/TenvorikDoc.h"
#include "model/Resources.h"
#include "platform/Encoding.h"

using fixtures::DocUi;
using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }

std::string Golden(const std::string& name) { return std::string(TV_SOURCE_DIR) + "/tests/document/golden/" + name; }

// Compares with a checked-in expectation; TV_UPDATE_GOLDEN=1 writes it instead.
void ExpectGolden(const std::string& name, const std::string& actual) {
    if (std::getenv("TV_UPDATE_GOLDEN")) WriteFile(Golden(name), actual);
    EXPECT_EQ(actual, ReadFile(Golden(name))) << name;
}

std::string Dump(const std::string& cfg, bool all = true) {
    CTenvorikDoc doc;
    EXPECT_TRUE(doc.OnOpenDocument(W(cfg))) << cfg;
    return DumpRecordJson(doc, all);
}

const CString kFormatError = L"Неправильный формат файла";

}  // namespace

TEST(ComtradeDocument, RecordDumpsMatchTheirExpectations) {
    DocUi ui;
    TempDir dir;
    const struct { const char* name; fixtures::Record rec; } cases[] = {
        {"ascii1999", fixtures::Ascii1999()},
        {"binary1999", fixtures::Binary1999(12)},
        {"binary32_2013", fixtures::Binary32Year2013()},
        {"binary1991", fixtures::Binary1991()},
    };
    for (const auto& c : cases) {
        std::string cfg = fixtures::Write(dir, c.name, c.rec);
        // Through the tool, as other checks run it.
        auto r = testutil::Run({std::string(TV_BIN_DIR) + "/recdump", cfg});
        ASSERT_EQ(r.exitCode, 0) << c.name << r.err;
        ExpectGolden(std::string(c.name) + ".json", r.out);
    }
    EXPECT_TRUE(ui.errors.empty());

    auto bad = testutil::Run({std::string(TV_BIN_DIR) + "/recdump", dir.File("none.cfg")});
    EXPECT_EQ(bad.exitCode, 1);
    // Neither file is there: the one named is the one missing first.
    EXPECT_NE(bad.err.find("none.cfg"), std::string::npos) << bad.err;
    EXPECT_TRUE(bad.out.empty());
}

TEST(ComtradeDocument, WrittenRecordsReadBackTheSame) {
    DocUi ui;
    TempDir dir;
    const struct { const char* name; fixtures::Record rec; } cases[] = {
        {"a", fixtures::Ascii1999(40)},
        {"b", fixtures::Binary1999(40)},
        {"c", fixtures::Binary32Year2013(40)},
        {"d", fixtures::Binary1991(40)},
    };
    for (const auto& c : cases) {
        std::string cfg = fixtures::Write(dir, c.name, c.rec);
        std::string original = Dump(cfg);
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
        std::string copy = dir.File(std::string(c.name) + "_copy.cfg");
        ASSERT_TRUE(doc.OnSaveDocument(W(copy)));
        EXPECT_EQ(Dump(copy), original) << c.name;

        // Every data form of every revision keeps samples, scaling and times.
        for (const wchar_t* type : {L"ASCII", L"BINARY", L"binary32"}) {
            // Codes of the 32-bit record do not fit 16 bits: BINARY saturates them.
            if (std::string(c.name) == "c" && CString(type) == L"BINARY") continue;
            CTenvorikDoc other;
            ASSERT_TRUE(other.OnOpenDocument(W(cfg)));
            other.m_oscillogram.m_dataFileType = type;
            std::string path = dir.File(std::string(c.name) + "_" + platform::WideToUtf8(type) + ".cfg");
            ASSERT_TRUE(other.OnSaveDocument(W(path)));
            CTenvorikDoc back;
            ASSERT_TRUE(back.OnOpenDocument(W(path)));
            const auto& x = doc.m_oscillogram;
            const auto& y = back.m_oscillogram;
            EXPECT_EQ(y.m_times, x.m_times) << c.name;
            ASSERT_EQ(y.m_channels.size(), x.m_channels.size());
            for (size_t i = 0; i < x.m_channels.size(); ++i) {
                EXPECT_EQ(y.m_channels[i].m_samples, x.m_channels[i].m_samples) << c.name << " " << i;
                EXPECT_EQ(y.m_channels[i].m_a, x.m_channels[i].m_a);
                EXPECT_EQ(y.m_channels[i].m_b, x.m_channels[i].m_b);
            }
        }
    }
    EXPECT_TRUE(ui.errors.empty());
}

TEST(ComtradeDocument, SavedFilesMatchTheProgramsFormByteForByte) {
    DocUi ui;
    TempDir dir;
    // The fixtures are written in the program's own form, so a save reproduces them.
    for (const auto& rec : {fixtures::Ascii1999(20), fixtures::Binary1999(20)}) {
        std::string cfg = fixtures::Write(dir, "in", rec);
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
        ASSERT_TRUE(doc.OnSaveDocument(W(dir.File("out.cfg"))));
        EXPECT_EQ(ReadFile(dir.File("out.cfg")), rec.cfg);
        EXPECT_EQ(ReadFile(dir.File("out.dat")), rec.dat);
    }
}

TEST(ComtradeDocument, BadInputIsReportedAndLeavesNoRecord) {
    TempDir dir;
    const auto good = fixtures::Binary1999(8);
    const auto ascii = fixtures::Ascii1999(8);
    std::string unknownType = good.cfg;
    unknownType.replace(unknownType.find("BINARY"), 6, "BINARY64");
    std::string tooMany = good.cfg;
    tooMany.replace(tooMany.find("5,2A,3D"), 7, "9,6A,3D");
    std::string cutInside = ascii.dat;
    cutInside.erase(cutInside.find("\r\n") - 6, 6);
    const struct { const char* what; std::string cfg, dat; const char* message; } cases[] = {
        {"ascii record cut before others", ascii.cfg, cutInside, "bad.dat"},
        {"binary shorter than a record", good.cfg, "0123456789a", "bad.dat"},
        {"unknown type", unknownType, good.dat, "bad.cfg"},
        {"channel counts that do not fit", tooMany, good.dat, "bad.cfg"},
        {"empty configuration", "", good.dat, "bad.cfg"},
        {"empty data", good.cfg, "", "bad.dat"},
    };
    for (const auto& c : cases) {
        DocUi ui;
        std::string cfg = fixtures::Write(dir, "bad", {c.cfg, c.dat});
        CTenvorikDoc doc;
        EXPECT_FALSE(doc.OnOpenDocument(W(cfg))) << c.what;
        ASSERT_EQ(ui.errors.size(), 1u) << c.what;
        EXPECT_EQ(ui.errors[0], kFormatError + L" - " + W(dir.File(c.message))) << c.what;
        EXPECT_TRUE(doc.m_oscillogram.m_channels.empty()) << c.what;
        EXPECT_TRUE(doc.m_oscillogram.m_times.empty()) << c.what;
    }

    // A missing data file is the file error, shown before anything is read.
    DocUi ui;
    std::string cfg = dir.File("lonely.cfg");
    WriteFile(cfg, good.cfg);
    CTenvorikDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(W(cfg)));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].Find(W(dir.File("lonely.dat"))), -1) << platform::WideToUtf8(ui.errors[0].view());
    EXPECT_EQ(ui.dialogs, 0);
    // A file of no kind the program reads, and a configuration that is none, are named for
    // what they are, even where the data file is missing too.
    WriteFile(dir.File("notes.txt"), "5,2A,3D\r\n");
    WriteFile(dir.File("words.cfg"), "just some words\r\nnot, a, record\r\n");
    for (const char* name : {"notes.txt", "x.zip", "words.cfg"}) EXPECT_FALSE(doc.OnOpenDocument(W(dir.File(name))));
    ASSERT_EQ(ui.errors.size(), 4u);
    EXPECT_EQ(ui.errors[1], LoadResString(9520) + L" - " + W(dir.File("notes.txt")));
    EXPECT_EQ(ui.errors[2], LoadResString(9520) + L" - " + W(dir.File("x.zip")));
    EXPECT_EQ(ui.errors[3], kFormatError + L" - " + W(dir.File("words.cfg")));
}

TEST(ComtradeDocument, OpensThroughTheDataFileAndSelectsTheFirstChannel) {
    DocUi ui;
    TempDir dir;
    fixtures::Write(dir, "rec", fixtures::Ascii1999());
    CTenvorikDoc doc;
    // An upper-case ".DAT" is still a data file; its ".cfg" opens.
    ASSERT_TRUE(doc.OnOpenDocument(W(dir.File("rec.DAT"))));
    const auto& osc = doc.m_oscillogram;
    EXPECT_EQ(osc.m_sourcePath, W(dir.File("rec.cfg")));
    ASSERT_EQ(osc.m_channels.size(), 5u);
    EXPECT_TRUE(osc.m_channels[0].m_selected);
    EXPECT_FALSE(osc.m_channels[1].m_selected);
    EXPECT_EQ(osc.m_analogCount, 2);
    EXPECT_EQ(osc.m_discreteCount, 3);
    EXPECT_EQ(osc.m_samplingFrequency, 1000);
    // The kV channel is scaled with its prefix: a x 1000 x code.
    EXPECT_DOUBLE_EQ(osc.m_channels[0].m_samples[1], 0.01 * 1000 * 644);
    EXPECT_EQ(doc.m_codePage, 1);  // the station name is Windows-1251 text
    EXPECT_EQ(doc.GetStationName(), L"ПС Тест");
    EXPECT_FALSE(doc.IsModified());
}

TEST(ComtradeDocument, LoadingDialogAboveTheThresholdAndCancel) {
    TempDir dir;
    // 14-byte records: 14285 records are 199990 bytes, 14286 are 200004.
    for (auto [samples, dialog] : {std::pair{14285, 0}, std::pair{14286, 1}}) {
        DocUi ui;
        fixtures::Write(dir, "big", fixtures::Binary1999(samples));
        CTenvorikDoc doc;
        EXPECT_TRUE(doc.OnOpenDocument(W(dir.File("big.cfg"))));
        EXPECT_EQ(ui.dialogs, dialog) << samples;
        EXPECT_EQ(doc.m_oscillogram.GetSampleCount(), samples);
    }
    // Exactly at the threshold no dialog is shown.
    {
        DocUi ui;
        fixtures::Write(dir, "edge", fixtures::Binary1999(14285));
        std::string dat = ReadFile(dir.File("edge.dat"));
        ASSERT_EQ(dat.size(), 199990u);
        // Ten more bytes make 200000, the start of a record more than declared.
        WriteFile(dir.File("edge.dat"), dat + "0123456789");
        CTenvorikDoc doc;
        EXPECT_TRUE(doc.OnOpenDocument(W(dir.File("edge.cfg"))));
        EXPECT_EQ(ui.dialogs, 0);
    }
    {
        DocUi ui;
        ui.cancelInDialog = true;
        fixtures::Write(dir, "big", fixtures::Binary1999(40000));
        CTenvorikDoc doc;
        EXPECT_FALSE(doc.OnOpenDocument(W(dir.File("big.cfg"))));
        EXPECT_EQ(ui.dialogs, 1);
        EXPECT_TRUE(ui.errors.empty());  // cancelling is no error
        EXPECT_TRUE(doc.m_oscillogram.m_channels.empty());
    }
}

TEST(ComtradeDocument, SavingUnderTheOpenedPath) {
    DocUi ui;
    TempDir dir;
    const auto rec = fixtures::Binary1999(16);
    std::string cfg = fixtures::Write(dir, "rec", rec);
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
    doc.m_oscillogram.m_headerText = "header";

    // Nothing of the record changed: only the header is written.
    ASSERT_TRUE(doc.OnSaveDocument(W(cfg)));
    EXPECT_EQ(ReadFile(dir.File("rec.dat")), rec.dat);
    EXPECT_EQ(ReadFile(dir.File("rec.hdr")), "header");

    // An edit is saved under the same path too.
    ASSERT_TRUE(doc.PushUndo());
    doc.m_oscillogram.m_channels[1].m_samples.Set(0, 20.0);
    doc.SetModifiedFlag(true);
    ASSERT_TRUE(doc.OnSaveDocument(W(cfg)));
    EXPECT_FALSE(doc.IsModified());
    CTenvorikDoc back;
    ASSERT_TRUE(back.OnOpenDocument(W(cfg)));
    EXPECT_EQ(back.m_oscillogram.m_channels[1].m_samples[0], 20.0);
    EXPECT_EQ(back.m_oscillogram.m_headerText, CStringA("header"));

    // A save that cannot be written reports it, keeps the document modified and leaves the
    // old files whole.
    std::filesystem::create_directories(dir.File("sub/rec.dat"));  // a data file that cannot be replaced
    WriteFile(dir.File("sub/rec.cfg"), "old cfg");
    doc.SetModifiedFlag(true);
    EXPECT_FALSE(doc.OnSaveDocument(W(dir.File("sub/rec.cfg"))));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ReadFile(dir.File("sub/rec.cfg")), "old cfg");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("sub/rec.dat")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("sub")), {}), 2);  // no temporary left
    // Unknown extensions save nothing.
    EXPECT_FALSE(doc.OnSaveDocument(W(dir.File("rec.txt"))));
    EXPECT_TRUE(doc.IsModified());
}

// Channels the program made, or that keep their own time base, are not written; the
// indices of the lines written count only the channels written, whatever lies between.
TEST(ComtradeDocument, WrittenIndicesSkipChannelsThatAreNotWritten) {
    DocUi ui;
    TempDir dir;
    // A 2013 record, which also saves as ".cff".
    const std::string cfg = fixtures::Write(dir, "rec", fixtures::Binary32Year2013(40));
    const std::vector<double> values(40, 1.5);
    const std::vector<int32_t> states(40, 1);
    using Edit = void (*)(COscillogram&, const std::vector<double>&, const std::vector<int32_t>&);
    const struct { const char* what; Edit edit; } cases[] = {
        {"fault-location results",
         [](COscillogram& o, const std::vector<double>& v, const std::vector<int32_t>& s) {
             o.SetCalculatedChannel(L"Lкз", L"м", v);
             for (const wchar_t* n : {L"КЗ фазы А", L"КЗ фазы B", L"КЗ фазы C"}) o.SetDiscreteChannel(n, s);
         }},
        {"first and last",
         [](COscillogram& o, const std::vector<double>& v, const std::vector<int32_t>& s) {
             o.AddChannel(0, CChannel(L"calc", L"A", v, o.m_document));
             o.AddChannel(-1, CChannel(L"flag", s, o.m_document, 0));
         }},
        {"own time base among recorded ones",
         [](COscillogram& o, const std::vector<double>&, const std::vector<int32_t>&) {
             CChannel analog = o.m_channels[0], status = o.m_channels[2];
             analog.m_flags |= CHF_OWN_TIMEBASE;
             status.m_flags |= CHF_OWN_TIMEBASE;
             o.AddChannel(1, analog);
             o.AddChannel(4, status);
         }},
    };
    for (const auto& c : cases) {
        for (const char* ext : {".cfg", ".cff"}) {
            const std::string what = std::string(c.what) + " " + ext;
            CTenvorikDoc doc;
            ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
            const std::vector<CChannel> recorded = doc.m_oscillogram.m_channels;
            c.edit(doc.m_oscillogram, values, states);
            ASSERT_GT(doc.m_oscillogram.m_channels.size(), recorded.size()) << what;
            const std::string out = dir.File("out" + std::string(ext));
            ASSERT_TRUE(doc.OnSaveDocument(W(out))) << what;

            // The channel lines of the configuration text, a ".cff" holding it whole.
            const std::string text = ReadFile(out);
            size_t at = text.find("5,2A,3D\r\n");
            ASSERT_NE(at, std::string::npos) << what;
            at += 9;
            const char* expected[] = {"1,UA,", "2,IB,", "1,K1,", "2,K2,", "3,Trip,"};
            for (const char* line : expected) {
                EXPECT_EQ(text.compare(at, std::strlen(line), line), 0) << what << ": " << text.substr(at, 20);
                at = text.find("\r\n", at) + 2;
            }

            CTenvorikDoc back;
            ASSERT_TRUE(back.OnOpenDocument(W(out))) << what;
            const auto& got = back.m_oscillogram.m_channels;
            ASSERT_EQ(got.size(), recorded.size()) << what;
            for (size_t i = 0; i < got.size(); ++i) {
                EXPECT_EQ(got[i].m_fileName, recorded[i].m_fileName) << what;
                EXPECT_EQ(got[i].m_samples, recorded[i].m_samples) << what << " " << i;
                EXPECT_EQ(got[i].m_normalState, recorded[i].m_normalState) << what << " " << i;
            }
        }
    }
    EXPECT_TRUE(ui.errors.empty());
}

namespace {

// The record opened, with the message boxes it gave.
struct Opened {
    bool ok = false;
    std::vector<CString> boxes, errors;
    int samples = 0;
};

Opened Open(const TempDir& dir, const std::string& name, const fixtures::Record& r, CTenvorikDoc& doc) {
    DocUi ui;
    Opened o;
    o.ok = doc.OnOpenDocument(W(fixtures::Write(dir, name, r)));
    o.boxes = ui.boxes;
    o.errors = ui.errors;
    o.samples = doc.m_oscillogram.GetSampleCount();
    return o;
}

std::string Utf8(const CString& s) { return platform::WideToUtf8(s.view()); }

}  // namespace

TEST(ComtradeDocument, ShortAndLongDataOpenWithWhatIsThere) {
    TempDir dir;
    const auto bin = fixtures::Binary1999(8);
    const auto ascii = fixtures::Ascii1999(8);
    const auto oneLine = [](const std::string& dat) { return dat.substr(0, dat.find("\r\n") + 2); };
    const struct { const char* what; fixtures::Record rec; int samples; const char* box; } cases[] = {
        {"binary one row short", {bin.cfg, bin.dat.substr(0, bin.dat.size() - 14)}, 7,
         "Файл short.dat: ожидалось отсчётов: 8, прочитано: 7."},
        {"binary cut", {bin.cfg, bin.dat.substr(0, bin.dat.size() - 5)}, 7,
         "Файл short.dat: ожидалось отсчётов: 8, прочитано: 7.\nФайл short.dat: последняя запись неполная и не прочитана."},
        {"binary longer", {bin.cfg, bin.dat + bin.dat.substr(0, 28)}, 8,
         "Файл short.dat: ожидалось отсчётов: 8, в файле их 10. Лишние отсчёты не прочитаны."},
        {"ascii one row short", {ascii.cfg, ascii.dat.substr(0, ascii.dat.rfind("\r\n", ascii.dat.size() - 3) + 2)}, 7,
         "Файл short.dat: ожидалось отсчётов: 8, прочитано: 7."},
        {"ascii longer", {ascii.cfg, ascii.dat + oneLine(ascii.dat)}, 8,
         "Файл short.dat: ожидалось отсчётов: 8, в файле их 9. Лишние отсчёты не прочитаны."},
        {"ascii as declared", ascii, 8, ""},
    };
    for (const auto& c : cases) {
        CTenvorikDoc doc;
        Opened o = Open(dir, "short", c.rec, doc);
        ASSERT_TRUE(o.ok) << c.what;
        EXPECT_TRUE(o.errors.empty()) << c.what;
        EXPECT_EQ(o.samples, c.samples) << c.what;
        for (const auto& ch : doc.m_oscillogram.m_channels) EXPECT_EQ(ch.m_samples.size(), size_t(c.samples)) << c.what;
        if (*c.box) {
            ASSERT_EQ(o.boxes.size(), 1u) << c.what;
            EXPECT_EQ(Utf8(o.boxes[0]), c.box) << c.what;
        } else {
            EXPECT_TRUE(o.boxes.empty()) << c.what;
        }
    }
}

TEST(ComtradeDocument, ConfigurationsOtherProgramsWrite) {
    TempDir dir;
    const auto set = [](fixtures::Record r, const std::string& from, const std::string& to) {
        r.cfg.replace(r.cfg.find(from), from.size(), to);
        return r;
    };
    const auto b32 = fixtures::Binary32Year2013(8);
    const auto bin = fixtures::Binary1999(8);
    const auto ascii = fixtures::Ascii1999(8);
    const struct { const char* what; fixtures::Record rec; double netFrequency, multiplier; const char* box; } cases[] = {
        {"BINARY32", set(b32, "binary32", "BINARY32"), 50, 1, ""},
        {"lower-case ascii", set(ascii, "ASCII", "ascii"), 50, 1, ""},
        {"line frequency 0", set(bin, "\r\n50\r\n", "\r\n0.000000\r\n"), 0, 1,
         "Файл rec.cfg: частота сети 0 Гц. Действующие значения, гармоники и векторы за период сети не вычисляются."},
        {"line frequency 0.5", set(bin, "\r\n50\r\n", "\r\n0.5\r\n"), 0.5, 1,
         "Файл rec.cfg: частота сети 0.5 Гц. Действующие значения, гармоники и векторы за период сети не вычисляются."},
        {"multiplier 0", set(bin, "BINARY\r\n1\r\n", "BINARY\r\n0\r\n"), 50, 1,
         "Файл rec.cfg: недопустимый множитель времени \"0\", принят равным 1."},
        {"multiplier -1", set(ascii, "ASCII\r\n1\r\n", "ASCII\r\n-1\r\n"), 50, 1,
         "Файл rec.cfg: недопустимый множитель времени \"-1\", принят равным 1."},
        {"multiplier nan", set(ascii, "ASCII\r\n1\r\n", "ASCII\r\nnan\r\n"), 50, 1,
         "Файл rec.cfg: недопустимый множитель времени \"nan\", принят равным 1."},
    };
    for (const auto& c : cases) {
        CTenvorikDoc doc;
        Opened o = Open(dir, "rec", c.rec, doc);
        ASSERT_TRUE(o.ok) << c.what;
        EXPECT_TRUE(o.errors.empty()) << c.what;
        EXPECT_EQ(o.samples, 8) << c.what;
        const auto& osc = doc.m_oscillogram;
        EXPECT_EQ(osc.m_netFrequency, c.netFrequency) << c.what;
        EXPECT_EQ(osc.m_timeMultiplier, c.multiplier) << c.what;
        EXPECT_EQ(osc.m_times[7], 7000) << c.what;  // 1000 samples per second or stamps of 1000
        // The curves keep their values.
        EXPECT_DOUBLE_EQ(osc.m_channels[1].GetCurveValue(uint32_t(3)), osc.m_channels[1].m_samples[3]) << c.what;
        if (*c.box) {
            ASSERT_EQ(o.boxes.size(), 1u) << c.what;
            EXPECT_EQ(Utf8(o.boxes[0]), c.box) << c.what;
        } else {
            EXPECT_TRUE(o.boxes.empty()) << c.what;
        }
        // Saved and read again, the record is the same.
        ASSERT_TRUE(doc.OnSaveDocument(W(dir.File("copy.cfg")))) << c.what;
        CTenvorikDoc again;
        Opened back = Open(dir, "rec", {testutil::ReadFile(dir.File("copy.cfg")), testutil::ReadFile(dir.File("copy.dat"))}, again);
        ASSERT_TRUE(back.ok) << c.what;
        EXPECT_EQ(again.m_oscillogram.m_times, osc.m_times) << c.what;
        EXPECT_EQ(again.m_oscillogram.m_dataFileType, osc.m_dataFileType) << c.what;
    }
}

TEST(ComtradeDocument, OneDateShownAlikeEverywhere) {
    TempDir dir;
    // 3 June 2021 as each revision writes it.
    const struct { fixtures::Record rec; const char* written; } cases[] = {
        {fixtures::Binary1991(8), "06/03/21"},
        {fixtures::Binary1999(8), "03/06/2021"},
        {fixtures::Binary32Year2013(8), "03/06/2021"},
    };
    for (auto c : cases) {
        for (size_t at; (at = c.rec.cfg.find("13/05/2021")) != std::string::npos;) c.rec.cfg.replace(at, 10, c.written);
        CTenvorikDoc doc;
        ASSERT_TRUE(Open(dir, "date", c.rec, doc).ok) << c.written;
        doc.m_oscillogram.m_localTimeCode.Empty();
        EXPECT_EQ(doc.GetStartDateTimeText(), L"03.06.2021, 10:11:12.000500") << c.written;
        EXPECT_EQ(doc.GetRecordStartText(true), L"03.06.2021, 10:11:12.004500") << c.written;
        const LocatorReportHeader h = doc.GetFaultReportHeader();
        EXPECT_EQ(h.startDate, L"03.06.2021") << c.written;
        EXPECT_EQ(h.triggerDate, L"03.06.2021") << c.written;
    }
}

TEST(ComtradeDocument, MissingSamplesAreLeftOutAndWrittenBack) {
    TempDir dir;
    auto ascii = fixtures::Ascii1999(40);
    {
        // Sample 10 of UA carries the missing code.
        size_t line = 0;
        for (int k = 0; k < 10; ++k) line = ascii.dat.find("\r\n", line) + 2;
        const size_t ua = ascii.dat.find(',', ascii.dat.find(',', line) + 1) + 1;
        ascii.dat.replace(ua, ascii.dat.find(",", ua) - ua, "99999");
    }
    auto binary = fixtures::Binary1999(40);
    binary.dat[10 * 14 + 8] = char(0x00);
    binary.dat[10 * 14 + 9] = char(0x80);
    for (const auto& [name, rec] : {std::pair{"a", ascii}, std::pair{"b", binary}}) {
        CTenvorikDoc doc;
        ASSERT_TRUE(Open(dir, name, rec, doc).ok) << name;
        const CChannel& ua = doc.m_oscillogram.m_channels[0];
        EXPECT_TRUE(std::isnan(ua.m_samples[10])) << name;
        EXPECT_FALSE(std::isnan(ua.m_samples[11])) << name;
        // 20 samples a period: the window of sample 25 holds the missing one and 19 others.
        double sum = 0, mean = 0;
        for (int j = 6; j <= 25; ++j)
            if (j != 10) sum += ua.GetValue(uint32_t(j)) * ua.GetValue(uint32_t(j)), mean += ua.GetValue(uint32_t(j));
        EXPECT_NEAR(ua.GetRms(25, 1), std::sqrt(sum / 19), 1e-9) << name;
        EXPECT_NEAR(ua.GetMean(25, 1), mean / 19, 1e-9) << name;
        EXPECT_TRUE(std::isfinite(std::abs(ua.CalcFirstHarmonicPhasor(25)))) << name;
        EXPECT_TRUE(std::isfinite(ua.m_max) && std::isfinite(ua.m_min)) << name;

        // Written back as the code of the file's layout, and read again as missing.
        const std::string copy = dir.File(std::string(name) + "_copy.cfg");
        ASSERT_TRUE(doc.OnSaveDocument(W(copy))) << name;
        const std::string dat = ReadFile(copy.substr(0, copy.size() - 4) + ".dat");
        if (std::string(name) == "a") {
            EXPECT_NE(dat.find("11,10000,99999,"), std::string::npos) << name;
        } else {
            EXPECT_EQ(dat.substr(10 * 14 + 8, 2), std::string("\x00\x80", 2)) << name;
        }
        CTenvorikDoc again;
        ASSERT_TRUE(again.OnOpenDocument(W(copy)));
        EXPECT_TRUE(std::isnan(again.m_oscillogram.m_channels[0].m_samples[10])) << name;
    }
}

TEST(ComtradeDocument, Utf8TextsShowAndTravelUnchanged) {
    TempDir dir;
    const std::string station = "\xd0\x9f\xd0\xa1 \xd0\xa2\xd0\xb5\xd1\x81\xd1\x82";  // ПС Тест
    const std::string name = "\xd0\xa2\xd0\xbe\xd0\xba";                           // Ток
    const std::string unit = "\xd0\xba\xd0\x90";                                   // кА
    auto rec = fixtures::Binary32Year2013(8);
    rec.cfg.replace(0, rec.cfg.find(','), station);
    rec.cfg.replace(rec.cfg.find("IB,B,Line,A"), 11, name + ",B,Line," + unit);
    auto cp = fixtures::Binary32Year2013(8);  // the same record in the code page
    cp.cfg.replace(cp.cfg.find("IB,B,Line,A"), 11, "\xd2\xee\xea,B,Line,\xea\xc0");

    CTenvorikDoc doc, reference;
    ASSERT_TRUE(Open(dir, "u", rec, doc).ok);
    ASSERT_TRUE(Open(dir, "c", cp, reference).ok);
    EXPECT_EQ(Utf8(doc.GetStationName()), station);
    const CChannel& ib = doc.m_oscillogram.m_channels[1];
    EXPECT_EQ(Utf8(ib.m_name), name);
    EXPECT_EQ(ib.m_prefixMul, reference.m_oscillogram.m_channels[1].m_prefixMul);
    EXPECT_EQ(ib.m_samples, reference.m_oscillogram.m_channels[1].m_samples);

    // Saved, the configuration keeps its UTF-8 bytes.
    ASSERT_TRUE(doc.OnSaveDocument(W(dir.File("u_copy.cfg"))));
    const std::string saved = ReadFile(dir.File("u_copy.cfg"));
    EXPECT_EQ(saved.find(station + ","), 0u);
    EXPECT_NE(saved.find("," + name + ",B,Line," + unit + ","), std::string::npos);

    // A text that the code page cannot hold is kept as its bytes, so that nothing is lost.
    auto greek = fixtures::Binary32Year2013(8);
    greek.cfg.replace(0, greek.cfg.find(','), "\xce\xa3\xce\xa4");  // ΣΤ
    CTenvorikDoc g;
    ASSERT_TRUE(Open(dir, "g", greek, g).ok);
    ASSERT_TRUE(g.OnSaveDocument(W(dir.File("g_copy.cfg"))));
    EXPECT_EQ(ReadFile(dir.File("g_copy.cfg")).find("\xce\xa3\xce\xa4,"), 0u);
}

TEST(ComtradeDocument, RecordsKeepTheirCodesAndBits) {
    DocUi ui;
    TempDir dir;
    using E = SampleStore::Encoding;
    struct Case {
        const char* name;
        fixtures::Record record;
        E analog;
    } cases[] = {
        {"ascii", fixtures::Ascii1999(), E::Code16},  // whole numbers, kept as the codes they are
        {"binary", fixtures::Binary1999(), E::Code16},
        {"binary32", fixtures::Binary32Year2013(), E::Code32},
    };
    for (const Case& c : cases) {
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(fixtures::Write(dir, c.name, c.record)))) << c.name;
        size_t analog = 0, status = 0;
        for (const CChannel& ch : doc.m_oscillogram.m_channels) {
            if (ch.IsDiscrete()) {
                EXPECT_EQ(ch.m_samples.GetEncoding(), E::Bits) << c.name;
                ++status;
            } else {
                EXPECT_EQ(ch.m_samples.GetEncoding(), c.analog) << c.name;
                ++analog;
            }
        }
        EXPECT_GT(analog, 0u);
        EXPECT_GT(status, 0u);
        // Binary records at a stated rate take their times from it; a text record keeps its stamps.
        EXPECT_EQ(doc.m_oscillogram.m_times.IsUniform(), std::string(c.name) != "ascii") << c.name;
    }
}
