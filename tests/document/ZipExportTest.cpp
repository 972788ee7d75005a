#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <map>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "FileSizeLimit.h"
#include "Fixtures.h"
#include "TestUtil.h"
#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"

using fixtures::DocUi;
using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;
namespace fs = std::filesystem;

namespace {

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }
std::string U(const CString& s) { return platform::WideToUtf8(s.view()); }

// Entry name -> bytes, read back through the zip library; empty when it cannot be opened.
std::map<std::string, std::string> ReadZip(const std::string& path) {
    std::map<std::string, std::string> entries;
    int err = 0;
    zip_t* za = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
    if (!za) return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(za, zip_uint64_t(i), 0, &st);
        std::string bytes(st.size, '\0');
        zip_file_t* f = zip_fopen_index(za, zip_uint64_t(i), 0);
        EXPECT_EQ(zip_fread(f, bytes.data(), st.size), zip_int64_t(st.size)) << st.name;
        zip_fclose(f);
        entries[st.name] = bytes;
    }
    zip_close(za);
    return entries;
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Noise(size_t n) {
    std::mt19937 gen(7);
    std::string s(n, '\0');
    for (char& c : s) c = char(gen());
    return s;
}

struct Opened {
    DocUi ui;
    CTenvorikDoc doc;
    explicit Opened(const std::string& cfg) { EXPECT_TRUE(doc.OnOpenDocument(W(cfg))); }
};

}  // namespace

TEST(ZipExport, ComtradeRecordPacksTheFilesItSavesTo) {
    TempDir dir;
    Opened r(fixtures::Write(dir, "src", fixtures::Ascii1999(50)));
    r.doc.m_oscillogram.m_headerText = "Fault on line 7\r\n";
    ASSERT_TRUE(r.doc.OnSaveDocument(W(dir.File("rec.zip"))));
    EXPECT_TRUE(r.ui.errors.empty());
    // The same record saved as COMTRADE is what the archive must hold, byte for byte.
    fs::create_directory(dir.File("ref"));
    ASSERT_TRUE(r.doc.OnSaveDocument(W(dir.File("ref/rec.cfg"))));
    const auto entries = ReadZip(dir.File("rec.zip"));
    ASSERT_EQ(entries.size(), 4u);
    for (const char* name : {"rec.cfg", "rec.dat", "rec.hdr", "rec.set"}) {
        ASSERT_EQ(entries.count(name), 1u) << name;
        EXPECT_EQ(entries.at(name), ReadFile(dir.File(std::string("ref/") + name))) << name;
    }
    // Nothing is left beside the archive: no side folder, no scratch or temporary file.
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"rec.zip", "ref", "src.cfg", "src.dat"}));
}

TEST(ZipExport, AnExportLeavesTheDocumentAsItWas) {
    TempDir dir;
    const std::string cfg = fixtures::Write(dir, "src", fixtures::Ascii1999(50));
    Opened r(cfg);
    CTenvorikDoc& doc = r.doc;
    doc.m_oscillogram.m_channels[0].m_name = L"Фидер 7";
    doc.m_oscillogram.m_timeReferenceSample = 12;
    doc.SetModifiedFlag(true);
    const CString title = doc.GetTitle();

    ASSERT_TRUE(doc.OnSaveDocument(W(dir.File("rec.zip"))));
    EXPECT_TRUE(r.ui.errors.empty());
    // The archive holds the record; the document is still the record it was: its name, its
    // title, its unsaved changes and its place in time.
    EXPECT_EQ(ReadZip(dir.File("rec.zip")).size(), 3u);
    EXPECT_EQ(U(doc.GetPathName()), cfg);
    EXPECT_EQ(doc.GetTitle(), title);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_oscillogram.m_timeReferenceSample, 12);
    EXPECT_FALSE(fs::exists(dir.File("src.set")));
    EXPECT_FALSE(fs::exists(dir.File("rec.cfg")));

    // Saved under its own name, the record gets its settings beside it; an unchanged record
    // stays unchanged through an export too.
    ASSERT_TRUE(doc.OnSaveDocument(W(cfg)));
    EXPECT_TRUE(fs::exists(dir.File("src.set")));
    EXPECT_FALSE(doc.IsModified());
    ASSERT_TRUE(doc.OnSaveDocument(W(dir.File("again.zip"))));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(U(doc.GetPathName()), cfg);
}

TEST(ZipExport, OscRecordPacksItsOwnBytesAndSettings) {
    TempDir dir;
    Opened r(fixtures::Write(dir, "src", fixtures::Ascii1999()));
    const std::string osc = Noise(3000);
    r.doc.m_oscillogram.m_oscBytes.assign(osc.begin(), osc.end());
    WriteFile(dir.File("rec.zip"), "an older file of that name");
    ASSERT_TRUE(r.doc.OnSaveDocument(W(dir.File("rec.zip"))));
    r.doc.SaveSettingsFile(W(dir.File("ref.set")));
    const auto entries = ReadZip(dir.File("rec.zip"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries.at("rec.osc"), osc);
    EXPECT_EQ(entries.at("rec.set"), ReadFile(dir.File("ref.set")));
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"rec.zip", "ref.set", "src.cfg", "src.dat"}));
}

TEST(ZipExport, FailureIsReportedAndLeavesNoPartialArchive) {
    TempDir dir;
    Opened r(fixtures::Write(dir, "src", fixtures::Ascii1999(4000)));
    const std::string old = "an older file of that name";
    WriteFile(dir.File("full.zip"), old);
    fs::create_directory(dir.File("out"));
    WriteFile(dir.File("file"), "x");
    struct Case {
        const char* what;
        std::string target;
        bool osc;
        size_t limit;  // file-size limit in force, 0 for none
        const wchar_t* message;
    };
    const Case cases[] = {
        // the archive outgrows the disk while its entries still fit
        {"osc, full disk", dir.File("full.zip"), true, 16 * 1024, L"Недостаточно места на диске для файла: "},
        // the record's data file does not fit, so there is nothing to pack
        {"comtrade, full disk", dir.File("full.zip"), false, 16 * 1024, L"Недостаточно места на диске для файла: "},
        {"missing folder", dir.File("gone/rec.zip"), false, 0, L"Файл не найден: "},
        {"file as folder", dir.File("file/rec.zip"), true, 0, L"Неверный путь к файлу: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        r.ui.errors.clear();
        r.doc.m_oscillogram.m_oscBytes.clear();
        if (c.osc) {
            const std::string osc = Noise(64 * 1024);
            r.doc.m_oscillogram.m_oscBytes.assign(osc.begin(), osc.end());
        }
        bool saved;
        {
            std::unique_ptr<testutil::FileSizeLimit> limit;
            if (c.limit) limit = std::make_unique<testutil::FileSizeLimit>(c.limit);
            saved = r.doc.OnSaveDocument(W(c.target));
        }
        EXPECT_FALSE(saved);
        ASSERT_EQ(r.ui.errors.size(), 1u);
        EXPECT_EQ(U(r.ui.errors[0]).find(U(c.message)), 0u) << U(r.ui.errors[0]);
        EXPECT_EQ(ReadFile(dir.File("full.zip")), old);
        EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"file", "full.zip", "out", "src.cfg", "src.dat"}));
    }
    if (geteuid() != 0) {
        chmod(dir.File("out").c_str(), 0555);
        r.ui.errors.clear();
        EXPECT_FALSE(r.doc.OnSaveDocument(W(dir.File("out/rec.zip"))));
        ASSERT_EQ(r.ui.errors.size(), 1u);
        EXPECT_EQ(U(r.ui.errors[0]).find("Нет доступа к файлу: "), 0u) << U(r.ui.errors[0]);
        EXPECT_TRUE(Names(dir.File("out")).empty());
        chmod(dir.File("out").c_str(), 0755);
    }
}
