// The plain C functions, reached the way a SCADA caller reaches them: through dlopen.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "StoFixture.h"
#include "TestUtil.h"
#include "orvinel/Orvinel.h"
#include "platform/Encoding.h"

namespace {

struct Library {
    void* handle = nullptr;
    decltype(&ConvertScadaStoComtrade) toFolder = nullptr;
    decltype(&ConvertScadaBufStoComtrade) toBuffers = nullptr;
    decltype(&ConvertScadaBufStoComtradeEx) toBuffersEx = nullptr;
    decltype(&FreeMemAfterConvertScadaBuf) freeBuffers = nullptr;

    Library() {
        handle = dlopen(TV_BIN_DIR "/libOrvinel.so", RTLD_NOW | RTLD_LOCAL);
        if (!handle) return;
        toFolder = reinterpret_cast<decltype(toFolder)>(dlsym(handle, "ConvertScadaStoComtrade"));
        toBuffers = reinterpret_cast<decltype(toBuffers)>(dlsym(handle, "ConvertScadaBufStoComtrade"));
        toBuffersEx = reinterpret_cast<decltype(toBuffersEx)>(dlsym(handle, "ConvertScadaBufStoComtradeEx"));
        freeBuffers = reinterpret_cast<decltype(freeBuffers)>(dlsym(handle, "FreeMemAfterConvertScadaBuf"));
    }
    ~Library() {
        if (handle) dlclose(handle);
    }
};

std::u16string U16(const std::wstring& text) { return platform::WideToU16(text); }
std::string Utf8(const char16_t* text) { return platform::WideToUtf8(platform::U16ToWide(text)); }

sto::Description Describe() {
    sto::Description d;
    d.station = "ПС";
    d.units = {{38, -1, {{2, 1, "Ia"}, {2, 2, "Ib"}}}};
    return d;
}

// Two one-byte channels, N = 4, a ring of two blocks that starts at the second.
std::string Record() {
    sto::Record r;
    r.analogIds = {1, 2};
    r.width = 1;
    r.ringBlocks = 2;
    r.ringStart = 1;
    r.blocks = {{4, {1, 2, 3, 4, 5, 6, 7, 8}, {}}, {4, {9, 10, 11, 12, 13, 14, 15, 16}, {}}};
    return r.Bytes();
}

// Each test converts with its own temporary folder, which must be empty again afterwards.
class PlainInterface : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(lib.handle, nullptr) << dlerror();
        ASSERT_TRUE(lib.toFolder && lib.toBuffers && lib.toBuffersEx && lib.freeBuffers);
        const char* old = getenv("TMPDIR");
        oldTmp = old ? old : "";
        setenv("TMPDIR", tmp.path().c_str(), 1);
        description = U16(Describe().Wide());
        record = Record();
    }
    void TearDown() override {
        lib.freeBuffers();
        EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
        if (oldTmp.empty()) unsetenv("TMPDIR");
        else setenv("TMPDIR", oldTmp.c_str(), 1);
    }

    Library lib;
    testutil::TempDir tmp;
    std::string oldTmp;
    std::u16string description;
    std::string record;
    char16_t error[ORVINEL_ERROR_TEXT_CAPACITY] = u"unset";
};

TEST_F(PlainInterface, ConvertsIntoAFolderWithoutTouchingTheRecord) {
    testutil::TempDir out;
    std::u16string folder = U16(platform::Utf8ToWide(out.path()));
    std::string before = record;
    ASSERT_EQ(lib.toFolder(description.c_str(), record.data(), unsigned(record.size()), folder.c_str(), u"Осц", error), 1)
        << Utf8(error);
    EXPECT_EQ(error[0], 0);
    EXPECT_EQ(record, before);
    std::string dat = testutil::ReadFile(out.File("Осц.dat"));
    EXPECT_EQ(dat.substr(0, dat.find("\r\n")), "1,0,9,13");  // the ring's oldest block first
    EXPECT_TRUE(std::filesystem::exists(out.File("Осц.cfg")));
    EXPECT_TRUE(std::filesystem::exists(out.File("Осц.hdr")));
}

TEST_F(PlainInterface, FailuresGiveTheirMessages) {
    testutil::TempDir out;
    std::u16string folder = U16(platform::Utf8ToWide(out.path()));
    std::u16string other = U16(platform::Utf8ToWide(
        "<DesDescr><StationName>S</StationName><RecDev>R</RecDev><ControlSum>1</ControlSum><MatterUnits/></DesDescr>"));
    struct Case {
        const char* what;
        const char16_t* description;
        const void* record;
        unsigned size;
        const char* message;
    };
    const Case cases[] = {
        {"not XML", u"<DesDescr", record.data(), unsigned(record.size()), "Ошибка чтения xml-буфера"},
        {"no description", nullptr, record.data(), unsigned(record.size()), "Ошибка чтения xml-буфера"},
        {"25 bytes", description.c_str(), record.data(), 25, "Несоответствие загруженной осциллограммы и ее описания."},
        {"no record", description.c_str(), nullptr, 100, "Несоответствие загруженной осциллограммы и ее описания."},
        {"record larger than an int", description.c_str(), record.data(), 0x80000000u,
         "Несоответствие загруженной осциллограммы и ее описания."},
        {"other control sum", other.c_str(), record.data(), unsigned(record.size()),
         "Несоответствие загруженной осциллограммы и ее описания."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::memcpy(error, u"unset", sizeof u"unset");
        EXPECT_EQ(lib.toFolder(c.description, c.record, c.size, folder.c_str(), u"r", error), 0);
        EXPECT_EQ(Utf8(error), c.message);
        char* cfg = reinterpret_cast<char*>(1);
        char* dat = reinterpret_cast<char*>(1);
        int cfgLength = -7, datLength = -7;
        EXPECT_EQ(lib.toBuffersEx(c.description, c.record, c.size, &cfg, &dat, &cfgLength, &datLength, error), 0);
        EXPECT_EQ(Utf8(error), c.message);
        EXPECT_EQ(cfg, nullptr);
        EXPECT_EQ(dat, nullptr);
        EXPECT_EQ(cfgLength, -7);
        EXPECT_EQ(datLength, -7);
    }
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));

    // A conversion message of the library's own table; no error buffer at all is not a crash.
    EXPECT_EQ(lib.toFolder(description.c_str(), record.data(), 31, folder.c_str(), u"r", error), 0);
    EXPECT_EQ(Utf8(error),
              "Конверсия загруженной осциллограммы не удалась - осциллограмма не полностью загружена из блока");
    EXPECT_EQ(lib.toFolder(description.c_str(), record.data(), unsigned(record.size()), nullptr, u"r", error), 0);
    EXPECT_EQ(Utf8(error), "не удалось открыть CFG");
    EXPECT_EQ(lib.toFolder(nullptr, nullptr, 0, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(lib.toBuffers(description.c_str(), record.data(), unsigned(record.size()), nullptr, nullptr, error), 0);
    EXPECT_EQ(Utf8(error), "Ошибка открытия временного файла cfg");
}

TEST_F(PlainInterface, CommasInTheDescriptionKeepTheConfigurationFieldsAndNoChannelsIsRefused) {
    sto::Description d;
    d.station = "ПС 1, ячейка 2";
    d.recDev = "Терминал, ред. 3";
    d.units = {{38, -1, {{2, 1, "Ia, фидер 1", "1", "A, перв."}, {2, 2, "Ib\r\nx", "1", "A"}}},
               {40, -1, {{1, 5, "Пуск, РЗ", "1", "", true, "0", ""}}}};
    sto::Record r;
    r.analogIds = {1, 2};
    r.digitalIds = {5};
    r.width = 1;
    r.blocks = {{4, {1, 2, 3, 4, 5, 6, 7, 8}, {1}}};
    const std::string bytes = r.Bytes();
    const std::u16string text = U16(d.Wide());
    char* cfg = nullptr;
    char* dat = nullptr;
    int cfgLength = 0, datLength = 0;
    ASSERT_EQ(lib.toBuffersEx(text.c_str(), bytes.data(), unsigned(bytes.size()), &cfg, &dat, &cfgLength, &datLength, error), 1)
        << Utf8(error);
    const std::wstring lines = platform::AnsiToWide(std::string(cfg, size_t(cfgLength)));
    std::vector<std::wstring> line;
    for (size_t start = 0, end; (end = lines.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        line.push_back(lines.substr(start, end - start));
    ASSERT_GE(line.size(), 5u);
    auto fields = [](const std::wstring& l) { return 1 + std::count(l.begin(), l.end(), L','); };
    EXPECT_EQ(line[0], L"ПС 1; ячейка 2,Терминал; ред. 3 версия 12345,1999");
    EXPECT_EQ(line[1], L"3,2A,1D");
    EXPECT_EQ(fields(line[2]), 13) << platform::WideToUtf8(line[2]);
    EXPECT_EQ(line[2].substr(0, 29), L"1,Ia; фидер 1,,,A; перв.,1.00");
    EXPECT_EQ(fields(line[3]), 13) << platform::WideToUtf8(line[3]);
    EXPECT_EQ(line[3].substr(0, 9), L"2,Ib x,,,");
    EXPECT_EQ(line[4], L"1,Пуск; РЗ,,,1");

    // A record without a single channel is not converted.
    sto::Record none;
    none.width = 1;
    none.blocks = {{4, {}, {}}, {4, {}, {}}};
    const std::string empty = none.Bytes();
    cfg = reinterpret_cast<char*>(1);
    cfgLength = -7;
    EXPECT_EQ(lib.toBuffersEx(text.c_str(), empty.data(), unsigned(empty.size()), &cfg, &dat, &cfgLength, &datLength, error), 0);
    EXPECT_EQ(Utf8(error), "Неверный формат осциллограммы");
    EXPECT_EQ(cfg, nullptr);
    EXPECT_EQ(cfgLength, -7);
}

TEST_F(PlainInterface, BuffersBelongToTheLibraryUntilTheNextConversion) {
    char* cfg = nullptr;
    char* dat = nullptr;
    ASSERT_EQ(lib.toBuffers(description.c_str(), record.data(), unsigned(record.size()), &cfg, &dat, error), 1)
        << Utf8(error);
    ASSERT_NE(cfg, nullptr);
    ASSERT_NE(dat, nullptr);
    std::string firstCfg = cfg;
    EXPECT_EQ(firstCfg.substr(0, firstCfg.find(',')), platform::WideToAnsi(L"ПС"));
    EXPECT_EQ(firstCfg.substr(firstCfg.size() - 12), "ASCII\r\n1.0\r\n");
    EXPECT_EQ(std::string(dat), "1,0,9,13\r\n2,1000,10,14\r\n3,2000,11,15\r\n4,3000,12,16\r\n"
                                "5,4000,1,5\r\n6,5000,2,6\r\n7,6000,3,7\r\n8,7000,4,8");

    // The Ex variant stores the lengths (the NUL counted) each time it hands out buffers,
    // even when the new buffers happen to lie where the old ones were.
    int cfgLength = 0, datLength = 0;
    char* cfg2 = nullptr;
    char* dat2 = nullptr;
    ASSERT_EQ(lib.toBuffersEx(description.c_str(), record.data(), unsigned(record.size()), &cfg2, &dat2, &cfgLength,
                              &datLength, error), 1);
    EXPECT_EQ(std::string(cfg2), firstCfg);
    EXPECT_EQ(cfgLength, int(std::strlen(cfg2)) + 1);
    EXPECT_EQ(datLength, int(std::strlen(dat2)) + 1);
    for (int round = 0; round < 3; ++round) {
        cfgLength = datLength = 0;
        ASSERT_EQ(lib.toBuffersEx(description.c_str(), record.data(), unsigned(record.size()), &cfg2, &dat2,
                                  &cfgLength, &datLength, error), 1);
        EXPECT_EQ(cfgLength, int(firstCfg.size()) + 1);
        EXPECT_EQ(datLength, int(std::strlen(dat2)) + 1);
    }
    // Without length pointers it is the plain buffer conversion.
    ASSERT_EQ(lib.toBuffersEx(description.c_str(), record.data(), unsigned(record.size()), &cfg2, &dat2, nullptr,
                              nullptr, error), 1);
    EXPECT_EQ(std::string(cfg2), firstCfg);
    lib.freeBuffers();
    lib.freeBuffers();  // nothing held: nothing to do
}

TEST_F(PlainInterface, AnEnglishCallerGetsTheSameBytes) {
    // The ".cfg" of a description whose names are Cyrillic carries them in code page 1251.
    char* cfg = nullptr;
    char* dat = nullptr;
    sto::Description d = Describe();
    d.units[0].entries[0].name = "Ток A";
    std::u16string text = U16(d.Wide());
    ASSERT_EQ(lib.toBuffers(text.c_str(), record.data(), unsigned(record.size()), &cfg, &dat, error), 1);
    EXPECT_NE(std::string(cfg).find(platform::WideToAnsi(L"1,Ток A,,,A,")), std::string::npos);
}

}  // namespace

namespace {

// A caller written in C: the header compiles as C, and the library works through dlopen from it.
const char kCallerSource[] = R"C(
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>
#include "orvinel/Orvinel.h"

typedef int (*ToBuffersEx)(const char16_t*, const void*, unsigned int, char**, char**, int*, int*, char16_t*);
typedef void (*FreeBuffers)(void);

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    void* lib = dlopen(argv[1], RTLD_NOW);
    if (!lib) return 3;
    ToBuffersEx convert = (ToBuffersEx)dlsym(lib, "ConvertScadaBufStoComtradeEx");
    FreeBuffers release = (FreeBuffers)dlsym(lib, "FreeMemAfterConvertScadaBuf");
    if (!convert || !release) return 4;
    static unsigned char record[4096];
    FILE* f = fopen(argv[2], "rb");
    if (!f) return 5;
    unsigned int size = (unsigned int)fread(record, 1, sizeof record, f);
    fclose(f);
    static const char16_t description[] = u"<DesDescr><StationName>C</StationName><RecDev>R</RecDev>"
        u"<ControlSum>12345</ControlSum><MatterUnits><MatterUnit><ArmObjectType>38</ArmObjectType>"
        u"<MatterDescrInd>-1</MatterDescrInd>"
        u"<MsMadData><Size>2</Size><Offset>1</Offset><NameDes>Ia</NameDes><Cft>1</Cft><U>A</U><Freq>50</Freq></MsMadData>"
        u"<MsMadData><Size>2</Size><Offset>2</Offset><NameDes>Ib</NameDes><Cft>1</Cft><U>A</U><Freq>50</Freq></MsMadData>"
        u"</MatterUnit></MatterUnits></DesDescr>";
    char* cfg = NULL;
    char* dat = NULL;
    int cfgLength = 0, datLength = 0;
    char16_t error[ORVINEL_ERROR_TEXT_CAPACITY];
    int ok = convert(description, record, size, &cfg, &dat, &cfgLength, &datLength, error);
    if (!ok) return 6;
    printf("%d %d %d|%.*s", cfgLength == (int)strlen(cfg) + 1, datLength == (int)strlen(dat) + 1,
           (int)strlen(dat), 8, dat);
    ok = convert(description, record, 25, &cfg, &dat, &cfgLength, &datLength, error);
    printf("|%d %d", ok, error[0] == 0x041D);  /* the mismatch message starts with a Cyrillic En */
    release();
    dlclose(lib);
    return 0;
}
)C";

TEST_F(PlainInterface, ACallerWrittenInC) {
    testutil::TempDir work;
    testutil::WriteFile(work.File("caller.c"), kCallerSource);
    testutil::WriteFile(work.File("record.sto"), record);
    std::vector<std::string> command = {"/usr/bin/cc", "-std=c11", "-Wall", "-Werror", "-I", TV_SOURCE_DIR, "-o",
                                        work.File("caller"), work.File("caller.c"), "-ldl"};
#ifdef __SANITIZE_ADDRESS__
    // A sanitized library loads only into a program that carries the sanitizer runtime.
    command.push_back("-fsanitize=address,undefined");
#endif
    testutil::RunResult built = testutil::Run(command);
    ASSERT_EQ(built.exitCode, 0) << built.err;
    testutil::RunResult run = testutil::Run({work.File("caller"), TV_BIN_DIR "/libOrvinel.so", work.File("record.sto")},
                                            {"TMPDIR=" + tmp.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "1 1 98|1,0,9,13|0 1");
}

}  // namespace
