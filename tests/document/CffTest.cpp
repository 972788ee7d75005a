#include <gtest/gtest.h>

#include <filesystem>

#include "Fixtures.h"
#include "TestUtil.h"
#include "document/RecordDump.h"
#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"

using fixtures::DocUi;
using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }

std::string DumpOf(const std::string& path) {
    CTenvorikDoc doc;
    EXPECT_TRUE(doc.OnOpenDocument(W(path))) << path;
    return DumpRecordJson(doc, true);
}

// A single file in the standard's form: a space before the dashes, an information section.
std::string StandardCff(const fixtures::Record& r, const std::string& header) {
    return "--- file type: CFG ---\r\n" + r.cfg + "--- file type: INF ---\r\n[Public]\r\nA=1\r\n" +
           "--- file type: HDR ---\r\n" + header + "--- file type: DAT BINARY32: " + std::to_string(r.dat.size()) +
           " ---\r\n" + r.dat;
}

}  // namespace

TEST(ComtradeCff, ReadsTheStandardFormAndWritesItBack) {
    DocUi ui;
    TempDir dir;
    const auto rec = fixtures::Binary32Year2013(25);
    const std::string reference = DumpOf(fixtures::Write(dir, "ref", rec));
    WriteFile(dir.File("std.cff"), StandardCff(rec, "Header text\r\n"));

    std::string folder;
    {
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(dir.File("std.cff"))));
        EXPECT_EQ(DumpRecordJson(doc, true), reference);
        EXPECT_EQ(doc.m_oscillogram.m_sourcePath, W(dir.File("std.cff")));
        // The header comes from its section also for a 2013 record.
        EXPECT_EQ(doc.m_oscillogram.m_headerText, CStringA("Header text\r\n"));
        folder = platform::WideToUtf8(doc.m_tempFolder.view());
        ASSERT_TRUE(std::filesystem::exists(folder + "/tmp_cfg.inf"));

        // Saved elsewhere: the information section travels on, the header as it is now.
        doc.m_oscillogram.m_headerText = "Edited\r\n";
        ASSERT_TRUE(doc.OnSaveDocument(W(dir.File("out.cff"))));
        std::string out = ReadFile(dir.File("out.cff"));
        EXPECT_EQ(out.find("--- file type: CFG ---\r\n"), 0u);
        EXPECT_NE(out.find("--- file type: INF ---\r\n[Public]\r\nA=1\r\n"), std::string::npos);
        EXPECT_NE(out.find("--- file type: HDR ---\r\nEdited\r\n"), std::string::npos);
        EXPECT_NE(out.find("--- file type: DAT binary32: " + std::to_string(rec.dat.size()) + " ---\r\n"),
                  std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(folder));  // the working folder goes with the document
    EXPECT_EQ(DumpOf(dir.File("out.cff")), reference);
    EXPECT_TRUE(ui.errors.empty());
}

TEST(ComtradeCff, BinaryRecordsUseTheProgramsDataLine) {
    DocUi ui;
    TempDir dir;
    auto rec = fixtures::Binary1999(10);
    rec.cfg.replace(rec.cfg.find(",1999"), 5, ",2013");
    const std::string reference = DumpOf(fixtures::Write(dir, "ref", rec));
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(dir.File("ref.cfg"))));
    ASSERT_TRUE(doc.OnSaveDocument(W(dir.File("b.cff"))));
    EXPECT_NE(ReadFile(dir.File("b.cff")).find("--- file type: DAT BINARY: 140 ---\r\n"), std::string::npos);
    EXPECT_EQ(DumpOf(dir.File("b.cff")), reference);
}

TEST(ComtradeCff, FaultsAreReported) {
    TempDir dir;
    const auto rec = fixtures::Binary32Year2013(6);
    std::string noData = StandardCff(rec, "");
    noData = noData.substr(0, noData.find("--- file type: DAT"));
    std::string noSamples = StandardCff(rec, "");
    noSamples.erase(noSamples.find("--- file type: DAT"));
    noSamples += "--- file type: DAT BINARY32 ---\r\n";
    for (const auto& [name, bytes] : {std::pair{"nodata", noData}, std::pair{"nosamples", noSamples},
                                      std::pair{"nocfg", std::string("--- file type: DAT BINARY: 0---\r\n")}}) {
        DocUi ui;
        WriteFile(dir.File(std::string(name) + ".cff"), bytes);
        CTenvorikDoc doc;
        EXPECT_FALSE(doc.OnOpenDocument(W(dir.File(std::string(name) + ".cff")))) << name;
        ASSERT_EQ(ui.errors.size(), 1u) << name;
        EXPECT_EQ(ui.errors[0].Left(25), L"Неправильный формат файла") << name;
        EXPECT_NE(ui.errors[0].Find(W(dir.File(std::string(name) + ".cff"))), -1) << name;
        EXPECT_TRUE(doc.m_oscillogram.m_channels.empty());
        EXPECT_TRUE(doc.m_tempFolder.IsEmpty()) << name;
    }

    // Only 2013 records are saved in the single-file form.
    DocUi ui;
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(fixtures::Write(dir, "old", fixtures::Binary1999(5)))));
    EXPECT_FALSE(doc.OnSaveDocument(W(dir.File("old.cff"))));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], L"В формате .cff можно сохранять только осциллограммы стандарта comtrade'13 и новее - " +
                                W(dir.File("old.cff")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("old.cff")));
}

TEST(ComtradeCff, FormsOtherProgramsWrite) {
    TempDir dir;
    const auto bin = fixtures::Binary32Year2013(6);
    auto ascii = fixtures::Ascii1999(6);
    ascii.cfg.replace(ascii.cfg.find(",1999"), 5, ",2013");
    const auto lf = [](std::string s) {
        for (size_t at; (at = s.find("\r\n")) != std::string::npos;) s.erase(at, 1);
        return s;
    };
    const std::string binRef = DumpOf(fixtures::Write(dir, "bref", bin));
    const std::string asciiRef = DumpOf(fixtures::Write(dir, "aref", ascii));
    const std::string binData = "--- file type: DAT BINARY32: " + std::to_string(bin.dat.size()) + " ---\r\n" + bin.dat;
    const struct { const char* what; std::string bytes; const std::string& reference; int samples; } cases[] = {
        {"ascii without a count", "--- file type: CFG ---\r\n" + ascii.cfg + "--- file type: DAT ASCII ---\r\n" + ascii.dat,
         asciiRef, 6},
        {"ascii with LF only", lf("--- file type: CFG ---\r\n" + ascii.cfg + "--- file type: HDR ---\r\nH\r\n" +
                                  "--- file type: DAT ASCII ---\r\n" + ascii.dat),
         asciiRef, 6},
        {"ascii then another section", "--- file type: CFG ---\r\n" + ascii.cfg + "--- file type: DAT ASCII ---\r\n" +
                                           ascii.dat + "--- file type: INF ---\r\n[x]\r\n",
         asciiRef, 6},
        {"marks with odd spacing", "---  file type  CFG ---\r\n" + ascii.cfg + "---file type:DAT ascii---\r\n" + ascii.dat,
         asciiRef, 6},
        {"binary with LF only marks", "--- file type: CFG ---\n" + lf(bin.cfg) + binData.substr(0, binData.find("\r\n")) + "\n" +
                                          bin.dat,
         binRef, 6},
        {"binary data cut short", "--- file type: CFG ---\r\n" + bin.cfg + binData.substr(0, binData.size() - 4), binRef, 5},
    };
    for (const auto& c : cases) {
        DocUi ui;
        WriteFile(dir.File("x.cff"), c.bytes);
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(dir.File("x.cff")))) << c.what;
        EXPECT_TRUE(ui.errors.empty()) << c.what;
        EXPECT_EQ(doc.m_oscillogram.GetSampleCount(), c.samples) << c.what;
        if (c.samples == 6) {
            EXPECT_EQ(DumpRecordJson(doc, true), c.reference) << c.what;
        } else {
            // The user is told what was missing, in the file he opened.
            ASSERT_EQ(ui.boxes.size(), 1u) << c.what;
            EXPECT_EQ(ui.boxes[0].Left(11), L"Файл x.cff:") << c.what;
        }
    }
}
