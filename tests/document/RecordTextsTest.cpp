#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Fixtures.h"
#include "TestUtil.h"
#include "document/ChannelClipboard.h"
#include "document/RecordDump.h"
#include "document/TenvorikDoc.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"

// The texts of records written by other programs: UTF-8 names that no code page holds, UTF-8
// names that fit it, names in Latin-1 and in the code page; and ".cff" files with the section
// lines recorders write. Each record is opened, its texts read as the program shows them, saved
// as the program's "save as" saves it (the headless tool) and opened again.

using fixtures::DocUi;
using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }
std::string U(const CString& s) { return platform::WideToUtf8(s.view()); }

testutil::RunResult SaveAs(const std::string& in, const std::string& out) {
    return testutil::Run({std::string(TV_BIN_DIR) + "/recdump", "--save", out, in});
}

// A 2013 ASCII record, every line as the program writes it, so that a record saved unchanged
// gives back the same bytes. Station, device, the analog channel's name, phase, circuit and
// unit, and the status channel's name are the case's texts.
struct Texts {
    std::string station, device, name, phase, circuit, unit, status;
};

std::string Cfg(const Texts& t) {
    return t.station + "," + t.device + ",2013\r\n" +
           "2,1A,1D\r\n"
           "1," + t.name + "," + t.phase + "," + t.circuit + "," + t.unit + ",0.5,0,0,20,26,1,1,P\r\n" +
           "1," + t.status + ",,,0\r\n"
           "50\r\n"
           "1\r\n"
           "1000,4\r\n"
           "01/02/2020,10:00:00.000000\r\n"
           "01/02/2020,10:00:00.001000\r\n"
           "ASCII\r\n"
           "1\r\n"
           "+3h,+3h\r\n"
           "0,0\r\n";
}

const std::string kDat =
    "1,0,20,0\r\n"
    "2,1000,24,1\r\n"
    "3,2000,26,0\r\n"
    "4,3000,22,1\r\n";

struct Shown {
    CString station, device, name, phase, unit, status;
};

Shown ShownTexts(const CTenvorikDoc& doc) {
    const auto& chs = doc.m_oscillogram.m_channels;
    if (chs.size() != 2) return {};
    return {doc.GetStationName(), doc.GetRecorderId(), chs[0].GetName(),
            doc.RecordText(chs[0].m_phase), doc.RecordText(chs[0].m_unit), chs[1].GetName()};
}

void ExpectShown(const Shown& got, const Shown& want, const std::string& what) {
    EXPECT_EQ(U(got.station), U(want.station)) << what;
    EXPECT_EQ(U(got.device), U(want.device)) << what;
    EXPECT_EQ(U(got.name), U(want.name)) << what;
    EXPECT_EQ(U(got.phase), U(want.phase)) << what;
    EXPECT_EQ(U(got.unit), U(want.unit)) << what;
    EXPECT_EQ(U(got.status), U(want.status)) << what;
}

struct Case {
    const char* what;
    Texts bytes;  // as the file holds them
    Shown shown;  // as the user reads them
};

// Texts in the ANSI code page as the program reads it.
CString Ansi(const std::string& bytes) { return CString(platform::AnsiToWide(bytes)); }

std::vector<Case> Cases() {
    const std::string korean = "SMARTSTATION testing text encoding: hgvcj\xed\x84\xb0\xed\x8c\x8c\xed\x81\xac" "387";
    const std::string chinese = "220kV\xe7\xba\xbf\xe8\xb7\xaf\xe6\x95\x85\xe9\x9a\x9c";  // 220kV线路故障
    const std::string current = "\xe7\x94\xb5\xe6\xb5\x81";                                // 电流
    const std::string voltage = "\xec\xa0\x84\xec\x95\x95";                                // 전압
    const std::string cyrStation = "\xd0\x9f\xd0\xa1 \xd0\xa2\xd0\xb5\xd1\x81\xd1\x82";    // ПС Тест
    const std::string cyrName = "\xd0\xa2\xd0\xbe\xd0\xba";                                // Ток
    const std::string cyrUnit = "\xd0\xba\xd0\x90";                                        // кА
    const std::string cyrTrip = "\xd0\x9e\xd1\x82\xd0\xba\xd0\xbb";                        // Откл
    return {
        {"korean utf-8",
         {korean, "R1", voltage + "A", "A", "Bay1", "kV", voltage + " trip"},
         {W(korean), L"R1", W(voltage + "A"), L"A", L"kV", W(voltage + " trip")}},
        {"chinese utf-8",
         {chinese, "\xe5\xbd\x95\xe6\xb3\xa2" "1", current + "A", "A", current, "kA", "\xe8\xb7\xb3\xe9\x97\xb8"},
         {W(chinese), W("\xe5\xbd\x95\xe6\xb3\xa2" "1"), W(current + "A"), L"A", L"kA", W("\xe8\xb7\xb3\xe9\x97\xb8")}},
        // Cyrillic beside Korean: one text outside the code page keeps every text as UTF-8.
        {"cyrillic and korean utf-8",
         {cyrStation, "R1", cyrName + " " + voltage, "A", "Bay1", cyrUnit, cyrTrip},
         {W(cyrStation), L"R1", W(cyrName + " " + voltage), L"A", W(cyrUnit), W(cyrTrip)}},
        // Every text fits the code page: held there, as before.
        {"cyrillic utf-8",
         {cyrStation, "R1", cyrName, "A", "Bay1", cyrUnit, cyrTrip},
         {W(cyrStation), L"R1", W(cyrName), L"A", W(cyrUnit), W(cyrTrip)}},
        // No UTF-8: the bytes are the code page's, whatever code page the writer meant.
        {"latin-1", {"M\xfcller Umspannwerk", "R1", "Str\xf6m", "A", "Bay1", "kV", "Ausl\xf6sung"},
         {Ansi("M\xfcller Umspannwerk"), L"R1", Ansi("Str\xf6m"), L"A", L"kV", Ansi("Ausl\xf6sung")}},
        {"cp1251", {"\xcf\xd1 \xd2\xe5\xf1\xf2", "R1", "\xd2\xee\xea", "A", "Bay1", "\xea\xc0", "\xce\xf2\xea\xeb"},
         {W(cyrStation), L"R1", W(cyrName), L"A", W(cyrUnit), W(cyrTrip)}},
    };
}

// The configuration section of a ".cff": from after its mark to the next mark.
std::string CfgSection(const std::string& cff) {
    const size_t start = cff.find("---\r\n") + 5;
    return cff.substr(start, cff.find("--- file type", start) - start);
}

}  // namespace

TEST(RecordTexts, ShownSavedAndReopenedAsWritten) {
    TempDir dir;
    int n = 0;
    for (const Case& c : Cases()) {
        DocUi ui;
        const std::string id = std::to_string(n++);
        const std::string cfg = Cfg(c.bytes);
        WriteFile(dir.File("r" + id + ".cfg"), cfg);
        WriteFile(dir.File("r" + id + ".dat"), kDat);
        // The single file as a recorder writes it: two or three dashes, two spaces, no colon.
        const std::string cff = "--- file type  CFG ---\r\n" + cfg + "-- file type  DAT ---\r\n" + kDat;
        WriteFile(dir.File("f" + id + ".cff"), cff);

        for (const std::string& in : {"r" + id + ".cfg", "f" + id + ".cff"}) {
            const std::string what = std::string(c.what) + " " + in;
            CTenvorikDoc doc;
            ASSERT_TRUE(doc.OnOpenDocument(W(dir.File(in)))) << what << (ui.errors.empty() ? "" : U(ui.errors[0]));
            ExpectShown(ShownTexts(doc), c.shown, what);
            // The settings file names the channel as the user reads it; a colour set on the
            // channel comes back with it.
            doc.m_oscillogram.m_channels[0].m_customColorSet = true;
            doc.m_oscillogram.m_channels[0].m_customColor = RGB(10, 20, 30);
            const std::string kept = dir.File("k" + id + ".cfg");
            ASSERT_TRUE(doc.OnSaveDocument(W(kept))) << what;
            const std::string set = ReadFile(dir.File("k" + id + ".set"));
            EXPECT_NE(set.find(platform::WideToUtf16Le(c.shown.name.view(), false)), std::string::npos) << what;

            // Saved as "save as" saves, in both forms, and opened again: the same texts, and
            // the configuration's bytes as they were read.
            for (const std::string& out : {"s" + id + ".cfg", "s" + id + ".cff"}) {
                auto r = SaveAs(dir.File(in), dir.File(out));
                ASSERT_EQ(r.exitCode, 0) << what << " -> " << out << r.err;
                const std::string saved = ReadFile(dir.File(out));
                EXPECT_EQ(out.back() == 'g' ? saved : CfgSection(saved), cfg) << what << " -> " << out;
                CTenvorikDoc again;
                ASSERT_TRUE(again.OnOpenDocument(W(dir.File(out)))) << what << " -> " << out;
                ExpectShown(ShownTexts(again), c.shown, what + " -> " + out);
                EXPECT_EQ(again.m_oscillogram.GetSampleCount(), 4) << what << " -> " << out;
            }
            CTenvorikDoc colour;
            ASSERT_TRUE(colour.OnOpenDocument(W(kept))) << what;
            ExpectShown(ShownTexts(colour), c.shown, what + " kept");
            EXPECT_TRUE(colour.m_oscillogram.m_channels[0].m_customColorSet) << what;
            EXPECT_EQ(colour.m_oscillogram.m_channels[0].m_customColor, RGB(10, 20, 30)) << what;
            EXPECT_EQ(ReadFile(kept), cfg) << what;
        }
        EXPECT_TRUE(ui.errors.empty()) << c.what;
        EXPECT_TRUE(ui.boxes.empty()) << c.what;
    }
}

// What the program composes from the texts: the record's description in the clipboard text,
// the channel's name in the file name column, the dump of the record.
TEST(RecordTexts, ComposedTextsCarryTheUnicodeNames) {
    DocUi ui;
    TempDir dir;
    const Case c = Cases()[1];
    WriteFile(dir.File("c.cfg"), Cfg(c.bytes));
    WriteFile(dir.File("c.dat"), kDat);
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(dir.File("c.cfg"))));
    EXPECT_EQ(U(doc.GetFileNameText(doc.m_oscillogram.m_channels[0])), U(c.shown.name));
    const std::string dump = DumpRecordJson(doc, false);
    EXPECT_NE(dump.find(U(c.shown.station)), std::string::npos);
    EXPECT_NE(dump.find(U(c.shown.name)), std::string::npos);

    // The header file written beside it in UTF-8 reads as UTF-8, in the program and in the
    // clipboard's text.
    const std::string header = "\xe6\x95\x85\xe9\x9a\x9c\xe6\x8a\xa5\xe5\x91\x8a";  // 故障报告
    WriteFile(dir.File("h.cfg"), Cfg(c.bytes));
    WriteFile(dir.File("h.dat"), kDat);
    WriteFile(dir.File("h.hdr"), header);
    CTenvorikDoc withHeader;
    ASSERT_TRUE(withHeader.OnOpenDocument(W(dir.File("h.cfg"))));
    EXPECT_EQ(U(withHeader.GetOscillogramTitle()), header);
    withHeader.m_oscillogram.m_channels[0].m_selected = true;
    const std::string clip = U(BuildChannelClipboardText(withHeader));
    for (const std::string& text : {U(c.shown.station), U(c.shown.device), U(c.shown.name), c.bytes.circuit, header})
        EXPECT_NE(clip.find(text), std::string::npos) << text;

    // Pasted into another such record, the channel keeps its texts, and they are saved.
    CTenvorikDoc host;
    ASSERT_TRUE(host.OnOpenDocument(W(dir.File("c.cfg"))));
    ASSERT_TRUE(PasteChannelsFromXml(host, BuildChannelClipboardText(withHeader)));
    const CChannel* pasted = nullptr;
    for (const CChannel& ch : host.m_oscillogram.m_channels)
        if (ch.HasOwnTimeBase()) pasted = &ch;
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->m_circuit, CStringA(c.bytes.circuit));
    EXPECT_EQ(U(CString(platform::Utf8ToWide(pasted->m_fileName.view()))), U(pasted->GetName()));

    // A channel the user renames by a text of no code page keeps it in the file.
    const std::string renamed = "\xe6\x96\xb0\xe5\x90\x8d";  // 新名
    doc.m_oscillogram.m_channels[0].m_fileName = doc.RecordBytes(W(renamed));
    doc.m_oscillogram.m_channels[0].UpdateDisplayName(true);
    EXPECT_EQ(U(doc.m_oscillogram.m_channels[0].GetName()), renamed);
    ASSERT_TRUE(doc.OnSaveDocument(W(dir.File("c2.cfg"))));
    EXPECT_NE(ReadFile(dir.File("c2.cfg")).find("\r\n1," + renamed + ",A,"), std::string::npos);
}

// Settings saved while such names were read in the code page (the channel's colour, a strip of
// two channels) still apply, and are saved again under the names as shown.
TEST(RecordTexts, SettingsSavedUnderCodePageNamesStillApply) {
    DocUi ui;
    TempDir dir;
    const Case c = Cases()[0];
    WriteFile(dir.File("o.cfg"), Cfg(c.bytes));
    WriteFile(dir.File("o.dat"), kDat);
    const CString oldName = Ansi(c.bytes.name), oldStatus = Ansi(c.bytes.status);
    SettingsStore old;
    old.GetCategory(oldName).SetInt(L"CustomColorSet", 1);
    old.GetCategory(oldName).SetInt(L"colorCustom", int(RGB(1, 2, 3)));
    SettingsNode& strip = old.GetCategory(L"ChannelGroups").GetSubCategory(L"g");
    strip.SetString(L"Channel0", oldName);
    strip.SetString(L"Channel1", oldStatus);
    ASSERT_TRUE(old.Save(W(dir.File("o.set"))));

    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(dir.File("o.cfg"))));
    const CChannel& ch = doc.m_oscillogram.m_channels[0];
    EXPECT_EQ(U(ch.GetName()), U(c.shown.name));
    EXPECT_TRUE(ch.m_customColorSet);
    EXPECT_EQ(ch.m_customColor, RGB(1, 2, 3));
    ASSERT_EQ(doc.m_channelGroups.size(), 1u);
    EXPECT_EQ(doc.m_channelGroups.begin()->second,
              (std::set<CStringA>{CStringA(c.bytes.name), CStringA(c.bytes.status)}));

    ASSERT_TRUE(doc.OnSaveDocument(W(dir.File("n.cfg"))));
    const std::string set = ReadFile(dir.File("n.set"));
    EXPECT_NE(set.find(platform::WideToUtf16Le(c.shown.name.view(), false)), std::string::npos);
    CTenvorikDoc again;
    ASSERT_TRUE(again.OnOpenDocument(W(dir.File("n.cfg"))));
    EXPECT_EQ(again.m_oscillogram.m_channels[0].m_customColor, RGB(1, 2, 3));
    EXPECT_EQ(again.m_channelGroups, doc.m_channelGroups);
}

// ".cff" section lines in the forms recorders and older writers use, and the data line as the
// program writes it now.
TEST(RecordTexts, CffSectionLinesAsRecordersWriteThem) {
    TempDir dir;
    const std::string cfg = Cfg(Cases()[0].bytes);
    const std::string count = std::to_string(kDat.size());
    const struct {
        const char* what;
        std::string cff;
    } cases[] = {
        {"three dashes, two spaces", "--- file type  CFG ---\r\n" + cfg + "--- file type  DAT ---\r\n" + kDat},
        {"two dashes", "-- file type  CFG --\r\n" + cfg + "-- file type  DAT ---\r\n" + kDat},
        {"any case, LF only", "--- FILE TYPE  cfg ---\n" + cfg + "-- File Type  Dat ascii ---\n" + kDat},
        {"old data line without the space", "--- file type: CFG ---\r\n" + cfg + "--- file type: DAT ASCII: " + count +
                                                "---\r\n" + kDat},
        {"standard data line", "--- file type: CFG ---\r\n" + cfg + "--- file type: DAT ASCII: " + count + " ---\r\n" + kDat},
        {"one dash, header between", "- file type: CFG -\r\n" + cfg + "--file type HDR--\r\nH\r\n" +
                                         "--- file type  DAT ASCII: " + count + " ---\r\n" + kDat},
    };
    for (const auto& c : cases) {
        DocUi ui;
        WriteFile(dir.File("x.cff"), c.cff);
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(dir.File("x.cff")))) << c.what << (ui.errors.empty() ? "" : U(ui.errors[0]));
        EXPECT_EQ(doc.m_oscillogram.GetSampleCount(), 4) << c.what;
        EXPECT_EQ(U(doc.GetStationName()), U(Cases()[0].shown.station)) << c.what;
        EXPECT_TRUE(ui.boxes.empty()) << c.what;
    }

    // Written with the space before the closing dashes, and read back.
    WriteFile(dir.File("in.cff"), cases[0].cff);
    ASSERT_EQ(SaveAs(dir.File("in.cff"), dir.File("out.cff")).exitCode, 0);
    const std::string out = ReadFile(dir.File("out.cff"));
    EXPECT_EQ(out.find("--- file type: CFG ---\r\n"), 0u);
    EXPECT_NE(out.find("\r\n--- file type: DAT ASCII: " + count + " ---\r\n" + kDat), std::string::npos);
    DocUi ui;
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(dir.File("out.cff"))));
    EXPECT_EQ(doc.m_oscillogram.GetSampleCount(), 4);
}

// A ".cff" shorter than its configuration says opens with what is there and tells the user; one
// whose section line the reader does not know is refused naming that line.
TEST(RecordTexts, CffShortOrUnknownSectionLines) {
    TempDir dir;
    const std::string cfg = Cfg(Cases()[0].bytes);
    {
        DocUi ui;
        WriteFile(dir.File("short.cff"), "--- file type  CFG ---\r\n" + cfg + "-- file type  DAT ---\r\n" +
                                             kDat.substr(0, kDat.find("4,3000")));
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(dir.File("short.cff"))));
        EXPECT_EQ(doc.m_oscillogram.GetSampleCount(), 3);
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(U(ui.boxes[0]), "Файл short.cff: ожидалось отсчётов: 4, прочитано: 3.");
    }
    const struct {
        const char* what;
        std::string cff;
        int line;
        std::string text;
    } cases[] = {
        {"data line of another kind", "--- file type: CFG ---\r\n" + cfg + "=== file type: DAT ASCII ===\r\n" + kDat, 15,
         "=== file type: DAT ASCII ==="},
        {"no file type", "--- section CFG ---\r\n" + cfg + "--- file type: DAT ASCII ---\r\n" + kDat, 1,
         "--- section CFG ---"},
        {"file and type apart", "--- file type: CFG ---\r\n" + cfg + "--- file, type DAT ---\n" + kDat, 15,
         "--- file, type DAT ---"},
    };
    for (const auto& c : cases) {
        DocUi ui;
        WriteFile(dir.File("bad.cff"), c.cff);
        CTenvorikDoc doc;
        EXPECT_FALSE(doc.OnOpenDocument(W(dir.File("bad.cff")))) << c.what;
        ASSERT_EQ(ui.errors.size(), 1u) << c.what;
        EXPECT_EQ(U(ui.errors[0]), "Неправильный формат файла " + dir.File("bad.cff") + ": строка " +
                                       std::to_string(c.line) + " не распознана как начало раздела: \"" + c.text +
                                       "\". Разделы начинаются строками вида \"--- file type: CFG ---\".")
            << c.what;
        EXPECT_TRUE(doc.m_oscillogram.m_channels.empty()) << c.what;
    }
}
