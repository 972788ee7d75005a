// Opening a terminal record: the working folder, finding its description, the conversion.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>

#include "TestUtil.h"
#include "document/StoConversion.h"
#include "model/AppOptions.h"
#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"
#include "platform/FileSystem.h"
#include "platform/UiServices.h"

namespace {

namespace fs = std::filesystem;

CString W(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }
std::string U(const CString& text) { return platform::WideToUtf8(text.view()); }

void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
}

// One one-byte channel (id 1), four samples a block, two blocks at 1000 Hz.
std::string Record(uint32_t controlSum) {
    std::string body = {char(1), char(0), char(1)};
    for (int b = 0; b < 2; ++b) {
        Put(body, 4, 4);
        for (int s = 0; s < 4; ++s) Put(body, uint64_t(b * 4 + s), 1);
    }
    uint32_t size = uint32_t(26 + body.size());
    std::string header;
    Put(header, size, 4);
    Put(header, 0, 4);
    Put(header, ComtradeConverter::GetSizeCRC(size, controlSum), 2);
    Put(header, 1, 1);
    Put(header, 0, 1);
    Put(header, 0, 4);
    Put(header, 4000, 4);
    Put(header, 1700000000, 4);
    Put(header, 0, 2);
    return header + body;
}

std::string Description(const std::string& controlSum, int size = 4) {
    return "<DesDescr><StationName>S</StationName><RecDev>R</RecDev><ControlSum>" + controlSum +
           "</ControlSum><MatterUnits><MatterUnit><ArmObjectType>38</ArmObjectType><MatterDescrInd>-1</MatterDescrInd>"
           "<MsMadData><Size>" + std::to_string(size) +
           "</Size><Offset>1</Offset><NameDes>I</NameDes><Cft>1</Cft><U>A</U><Freq>50</Freq></MsMadData>"
           "</MatterUnit></MatterUnits></DesDescr>";
}

struct ProgressLog {
    std::vector<int> steps;
    bool shown = false;
    int windows = 0;
};

class Progress : public platform::ProgressWindow {
public:
    explicit Progress(ProgressLog& log) : m_log(log) { ++log.windows; }
    void StepTo(int position) override { m_log.steps.push_back(position); }
    void SetVisible(bool visible) override { m_log.shown = visible; }

private:
    ProgressLog& m_log;
};

class Ui : public platform::UiServices {
public:
    Ui() { platform::SetUiServices(this); }
    ~Ui() override { platform::SetUiServices(nullptr); }
    int MessageBox(const CString&, const CString&, unsigned) override { return IDOK; }
    void PostException(CException* e) override { e->Delete(); }
    void RunOnUiThread(std::function<void()> fn) override { fn(); }
    std::unique_ptr<platform::ProgressWindow> CreateConversionProgress() override {
        return std::make_unique<Progress>(progress);
    }
    CString AskOpenFileName(const CString& title, const CString& filter, const CString& ext) override {
        asked.push_back(title + L"|" + filter + L"|" + ext);
        return answer;
    }
    std::vector<CString> asked;
    CString answer;
    ProgressLog progress;
};

// Each test has its own temporary folder and options.
class StoOpen : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = getenv("TMPDIR");
        oldTmp = old ? old : "";
        setenv("TMPDIR", tmp.path().c_str(), 1);
        savedOptions = TheAppOptions();
        TheAppOptions().commandLineDst.Empty();
        TheAppOptions().dstFolder.Empty();
        fs::create_directory(data.File("rec"));
        testutil::WriteFile(data.File("rec/a.sto"), Record(777));
    }
    void TearDown() override {
        TheAppOptions() = savedOptions;
        if (oldTmp.empty()) unsetenv("TMPDIR");
        else setenv("TMPDIR", oldTmp.c_str(), 1);
    }
    size_t WorkFolders() const {
        size_t n = 0;
        for (const auto& e : fs::directory_iterator(tmp.path())) n += e.path().filename().string().rfind("Tenvorik_", 0) == 0;
        return n;
    }

    testutil::TempDir tmp, data;
    std::string oldTmp;
    AppOptions savedOptions;
    Ui ui;
};

TEST_F(StoOpen, WorkFolderNamesFollowTheClock) {
    CString name = MakeTempFolderName();
    ASSERT_EQ(name.Left(9), L"Tenvorik_");
    std::string hex = U(name.Mid(9));
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    unsigned long long fileTime = std::stoull(hex, nullptr, 16);
    unsigned long long unixSeconds = fileTime / 10000000ull - 11644473600ull;
    long long drift = (long long)unixSeconds - (long long)time(nullptr);
    EXPECT_LT(std::llabs(drift), 15 * 3600);  // local time, within a day's zones

    CString first = CreateTempWorkFolder();
    ASSERT_FALSE(first.IsEmpty());
    EXPECT_EQ(U(first).rfind(tmp.path() + "/Tenvorik_", 0), 0u);
    CString second = CreateTempWorkFolder();
    ASSERT_FALSE(second.IsEmpty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(fs::is_directory(U(second)));
    testutil::WriteFile(U(second) + "/x.cfg", "x");
    fs::create_directory(U(second) + "/sub");
    fs::create_directory_symlink(data.path(), U(second) + "/link");
    DeleteFolderRecursive(second);
    EXPECT_FALSE(fs::exists(U(second)));
    EXPECT_TRUE(fs::exists(data.File("rec/a.sto")));  // not followed through the link
}

TEST_F(StoOpen, DescriptionIsTheFirstFileThatFits) {
    testutil::WriteFile(data.File("rec/other.dst"), Description("1"));
    testutil::WriteFile(data.File("rec/broken.dst"), "<DesDescr>");
    testutil::WriteFile(data.File("rec/RIGHT.DST"), Description("777"));
    fs::create_directory(data.File("rec/folder.dst"));
    std::string bytes = Record(777);
    ComtradeConverter checker(int(bytes.size()), false);
    uint16_t crc = 0;
    uint32_t size = 0;
    ASSERT_TRUE(ComtradeConverter::GetInfoFromStoHeader(bytes.data(), bytes.size(), crc, size));
    CString found;
    ASSERT_TRUE(FindDescriptionFile(crc, size, W(data.File("rec")), checker, found));
    EXPECT_EQ(U(found), data.File("rec/RIGHT.DST"));
    EXPECT_FALSE(FindDescriptionFile(crc, size + 1, W(data.File("rec")), checker, found));
    EXPECT_FALSE(FindDescriptionFile(crc, size, CString(), checker, found));  // no setting: no search
    EXPECT_FALSE(FindDescriptionFile(crc, size, W(data.File("none")), checker, found));
}

TEST_F(StoOpen, ConvertsWithTheDescriptionBesideOrInTheSetting) {
    fs::create_directory(data.File("dst"));
    testutil::WriteFile(data.File("dst/d.dst"), Description("777"));
    TheAppOptions().dstFolder = W(data.File("dst"));
    CString cfg = ConvertStoToComtrade(W(data.File("rec/a.sto")), nullptr);
    ASSERT_FALSE(cfg.IsEmpty());
    EXPECT_EQ(U(platform::PathFileName(cfg)), "a.cfg");
    std::string text = testutil::ReadFile(U(cfg));
    EXPECT_EQ(text.substr(0, 4), "S,R ");
    EXPECT_EQ(text.substr(text.size() - 12), "ASCII\r\n1.0\r\n");
    EXPECT_EQ(ui.progress.windows, 0);  // nothing is shown when converting silently
    EXPECT_EQ(testutil::ReadFile(U(cfg.Left(cfg.GetLength() - 4)) + ".dat").substr(0, 10), "1,0,0\r\n2,1");
    EXPECT_TRUE(ui.asked.empty());
    DeleteFolderRecursive(platform::PathFolder(cfg));

    // Beside the record, and the record named in upper case.
    testutil::WriteFile(data.File("rec/B.STO"), Record(5));
    testutil::WriteFile(data.File("rec/b.dst"), Description("5"));
    cfg = ConvertStoToComtrade(W(data.File("rec/B.STO")), nullptr);
    ASSERT_FALSE(cfg.IsEmpty());
    EXPECT_EQ(U(platform::PathFileName(cfg)), "B.cfg");
    DeleteFolderRecursive(platform::PathFolder(cfg));
    EXPECT_EQ(WorkFolders(), 0u);
}

TEST_F(StoOpen, WithoutADescription) {
    // Silently: nothing, and no folder left.
    EXPECT_TRUE(ConvertStoToComtrade(W(data.File("rec/a.sto")), nullptr).IsEmpty());
    EXPECT_TRUE(ui.asked.empty());
    // Interactively the user is asked; cancelling leaves no folder either.
    CString folder;
    EXPECT_TRUE(ConvertStoToComtrade(W(data.File("rec/a.sto")), &folder).IsEmpty());
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0], LoadResString(126) + L"|" + LoadResString(125) + L"|dst");
    EXPECT_TRUE(folder.IsEmpty());
    EXPECT_EQ(WorkFolders(), 0u);
    // A chosen description that does not fit.
    testutil::WriteFile(data.File("chosen.dst"), Description("1"));
    ui.answer = W(data.File("chosen.dst"));
    try {
        ConvertStoToComtrade(W(data.File("rec/a.sto")), &folder);
        FAIL() << "no exception";
    } catch (CException* e) {
        EXPECT_EQ(e->GetErrorMessage(), LoadResString(135));
        e->Delete();
    }
    EXPECT_EQ(WorkFolders(), 0u);
    // One that fits: the conversion runs with its progress window.
    testutil::WriteFile(data.File("chosen.dst"), Description("777"));
    CString cfg = ConvertStoToComtrade(W(data.File("rec/a.sto")), &folder);
    ASSERT_FALSE(cfg.IsEmpty());
    EXPECT_EQ(platform::PathFolder(cfg), folder);
    EXPECT_EQ(ui.progress.windows, 1);
    ASSERT_FALSE(ui.progress.steps.empty());
    EXPECT_EQ(ui.progress.steps.front(), 0);
    EXPECT_EQ(ui.progress.steps.back(), 100);
    EXPECT_FALSE(ui.progress.shown);
}

TEST_F(StoOpen, DescriptionFromTheCommandLine) {
    // A file: used for the record, but only when it fits.
    testutil::WriteFile(data.File("given.dst"), Description("777"));
    TheAppOptions().commandLineDst = W(data.File("given.dst"));
    CString folder;
    CString cfg = ConvertStoToComtrade(W(data.File("rec/a.sto")), &folder);
    EXPECT_FALSE(cfg.IsEmpty());
    DeleteFolderRecursive(folder);
    testutil::WriteFile(data.File("given.dst"), Description("778"));
    folder.Empty();
    try {
        ConvertStoToComtrade(W(data.File("rec/a.sto")), &folder);
        ADD_FAILURE() << "no exception";
    } catch (CException* e) {
        EXPECT_EQ(e->GetErrorMessage(), LoadResString(135));
        e->Delete();
    }
    EXPECT_TRUE(folder.IsEmpty());
    // A folder: searched for a description that fits.
    fs::create_directory(data.File("given"));
    testutil::WriteFile(data.File("given/x.dst"), Description("777"));
    TheAppOptions().commandLineDst = W(data.File("given"));
    cfg = ConvertStoToComtrade(W(data.File("rec/a.sto")), &folder);
    EXPECT_FALSE(cfg.IsEmpty());
    DeleteFolderRecursive(folder);
    // Converting silently (the file finder) does not use the command line.
    EXPECT_TRUE(ConvertStoToComtrade(W(data.File("rec/a.sto")), nullptr).IsEmpty());
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(WorkFolders(), 0u);
}

TEST_F(StoOpen, FailuresOfTheRecordAndTheConversion) {
    CString folder;
    try {
        ConvertStoToComtrade(W(data.File("rec/missing.sto")), &folder);
        ADD_FAILURE() << "no exception";
    } catch (CException* e) {
        EXPECT_EQ(U(e->GetErrorMessage()), "Ошибка чтения файла " + data.File("rec/missing.sto"));
        e->Delete();
    }
    testutil::WriteFile(data.File("rec/short.sto"), Record(777).substr(0, 20));
    EXPECT_TRUE(ConvertStoToComtrade(W(data.File("rec/short.sto")), nullptr).IsEmpty());

    // A description that fits the header but not the record's channels: the converter's message.
    testutil::WriteFile(data.File("rec/a.dst"), Description("777", 0));
    EXPECT_TRUE(ConvertStoToComtrade(W(data.File("rec/a.sto")), nullptr).IsEmpty());
    EXPECT_EQ(WorkFolders(), 0u);
    try {
        ConvertStoToComtrade(W(data.File("rec/a.sto")), &folder);
        ADD_FAILURE() << "no exception";
    } catch (CException* e) {
        EXPECT_EQ(e->GetErrorMessage(), CString(L"Конверсия осциллограммы не удалась - несоответствие загруженной "
                                                L"осциллограммы и её описания!"));
        e->Delete();
    }
    // The working folder is the caller's to delete.
    ASSERT_FALSE(folder.IsEmpty());
    EXPECT_TRUE(fs::is_directory(U(folder)));
    DeleteFolderRecursive(folder);
}

}  // namespace
