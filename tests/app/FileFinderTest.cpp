// The file finder's search without its window: a fixture tree of records of every kind, with
// damaged headers, an unreadable folder and a link loop; the filters, the sort orders and the
// companions deleted with a record.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <map>

#include "TestUtil.h"
#include "app/FileFinder.h"
#include "orvinel/ComtradeConverter.h"
#include "platform/Encoding.h"
#include "platform/FileSystem.h"
#include "platform/Trash.h"

namespace {

namespace fs = std::filesystem;

CString W(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }
std::string U(const CString& text) { return platform::WideToUtf8(text.view()); }

std::string Cfg(const std::string& firstLine, const std::string& date, const std::string& time = "10:20:30.000000") {
    return firstLine + "\r\n2,1A,1D\r\n1,Ua,A,,V,1,0,0,-32767,32767,1,1,S\r\n1,K,,,0\r\n50\r\n1\r\n1000,10\r\n" + date +
           "," + time + "\r\n" + date + "," + time + "\r\nASCII\r\n1\r\n";
}

// An "OSC2" file: the header (its third byte counts the records before the time stamp), one
// record, then the BCD-coded time stamp.
std::string Osc(int year, int month, int day, int hour, int minute, int second) {
    auto bcd = [](int v) { return char(((v / 10) << 4) | (v % 10)); };
    std::string f(3 * 128, '\0');
    f[0] = 2;
    f[1] = 5;
    f[2] = 2;
    char* stamp = &f[256];
    stamp[6] = bcd(second);
    stamp[7] = bcd(minute);
    stamp[8] = bcd(hour);
    stamp[9] = bcd(day);
    stamp[10] = bcd(month);
    stamp[11] = bcd(year - 2000);
    return f;
}

void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
}

// A terminal record of one one-byte channel, and the description it converts with.
std::string Sto() {
    std::string body = {char(1), char(0), char(1)};
    for (int b = 0; b < 2; ++b) {
        Put(body, 4, 4);
        for (int s = 0; s < 4; ++s) Put(body, uint64_t(b * 4 + s), 1);
    }
    const uint32_t size = uint32_t(26 + body.size());
    std::string header;
    Put(header, size, 4);
    Put(header, 0, 4);
    Put(header, ComtradeConverter::GetSizeCRC(size, 777), 2);
    Put(header, 1, 1);
    Put(header, 0, 1);
    Put(header, 0, 4);
    Put(header, 4000, 4);
    Put(header, 1700000000, 4);
    Put(header, 0, 2);
    return header + body;
}
const char kDescription[] =
    "<DesDescr><StationName>Подстанция</StationName><RecDev>R7</RecDev><ControlSum>777</ControlSum>"
    "<MatterUnits><MatterUnit><ArmObjectType>38</ArmObjectType><MatterDescrInd>-1</MatterDescrInd>"
    "<MsMadData><Size>4</Size><Offset>1</Offset><NameDes>I</NameDes><Cft>1</Cft><U>A</U><Freq>50</Freq></MsMadData>"
    "</MatterUnit></MatterUnits></DesDescr>";

class FileFinder : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = getenv("TMPDIR");
        oldTmp = old ? old : "";
        setenv("TMPDIR", tmp.path().c_str(), 1);
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        if (oldTmp.empty()) unsetenv("TMPDIR");
        else setenv("TMPDIR", oldTmp.c_str(), 1);
    }
    std::string Path(const std::string& rel) const { return dir.File(rel); }
    void Write(const std::string& rel, const std::string& bytes) {
        fs::create_directories(fs::path(Path(rel)).parent_path());
        testutil::WriteFile(Path(rel), bytes);
    }
    FileFinderResult Search(bool sub) {
        std::atomic<bool> stop{false};
        FileFinderResult r;
        WalkFinderFolder(W(dir.path()), sub, stop, r);
        return r;
    }
    static std::map<std::string, const FoundFileRecord*> ByName(const FileFinderResult& r) {
        std::map<std::string, const FoundFileRecord*> m;
        for (const auto& rec : r.records) m[U(rec.name)] = &rec;
        return m;
    }

    testutil::TempDir dir, tmp;
    std::string oldTmp;
};

// Station and recorder names of any script show as written: UTF-8 beyond the code page (also in
// a ".cff" whose section line a recorder wrote), and the code page's own bytes.
TEST_F(FileFinder, StationNamesShowAsWritten) {
    const std::string korean = "SMARTSTATION testing text encoding: hgvcj\xed\x84\xb0\xed\x8c\x8c\xed\x81\xac" "387";
    const std::string chinese = "220kV\xe7\xba\xbf\xe8\xb7\xaf\xe6\x95\x85\xe9\x9a\x9c";
    Write("k.cfg", Cfg(korean + ",R1,2013", "01/02/2021"));
    Write("z.cff", "--- file type  CFG ---\r\n" + Cfg(chinese + ",\xe5\xbd\x95\xe6\xb3\xa2" "1,2013", "01/02/2021"));
    Write("c.cfg", Cfg("\xcf\xd1 \xd2\xe5\xf1\xf2,R2,1999", "01/02/2021"));
    const FileFinderResult r = Search(false);
    auto m = ByName(r);
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(U(m["k.cfg"]->station), korean);
    EXPECT_EQ(U(m["z.cff"]->station), chinese);
    EXPECT_EQ(U(m["z.cff"]->block), "\xe5\xbd\x95\xe6\xb3\xa2" "1");
    EXPECT_EQ(U(m["c.cfg"]->station), "\xd0\x9f\xd0\xa1 \xd0\xa2\xd0\xb5\xd1\x81\xd1\x82");  // ПС Тест
}

TEST_F(FileFinder, ListsEveryKindOfRecordWithItsHeader) {
    Write("a.cfg", Cfg("North,B1,1991", "03/04/15"));
    Write("b.cfg", Cfg("North,B2,1999", "03/04/2015"));
    Write("c.CFG", Cfg("South", "25/04/2015"));
    Write("d.cfg", Cfg(",Only block,1999", "04/25/2015"));
    Write("e.cfg", Cfg("", "01/02/2020"));
    Write("f.cff", "--- file type: CFG ---\r\n" + Cfg("Single,S1,2013", "01/02/2021"));
    Write("g.osc", Osc(2019, 11, 5, 8, 9, 10));
    Write("h.sto", Sto());
    Write("h.dst", kDescription);
    Write("rec.dat", "1,0,1\r\n");
    Write("notes.txt", "cfg");
    Write("broken.cfg", "Station,1,1999\r\n2,1A,1D\r\n");  // ends before its date
    Write("short.osc", std::string(100, '\0'));
    Write("sub/deep.cfg", Cfg("Deep,D1,1999", "10/10/2010"));

    const FileFinderResult r = Search(true);
    auto m = ByName(r);
    ASSERT_EQ(m.size(), 9u);
    const struct {
        const char* name;
        const char* station;
        const char* block;
        const char* date;
        bool osc;
    } expected[] = {
        {"a.cfg", "North", "B1", "04.03.2015", false},  // 1991: month first
        {"b.cfg", "North", "B2", "03.04.2015", false},  // 1999: day first
        {"c.CFG", "South", "", "25.04.2015", false},    // no comma: all of it is the station
        {"d.cfg", "", "Only block", "25.04.2015", false},  // a second number above 12 is the day
        {"e.cfg", "", "-", "02.01.2020", false},
        {"f.cff", "Single", "S1", "01.02.2021", false},
        {"g.osc", "OSC Осциллограф. Версия 2.5", "-", "05.11.2019", true},
        {"h.sto", "Подстанция", "R7 версия 777", nullptr, false},
        {"sub/deep.cfg", "Deep", "D1", "10.10.2010", false},
    };
    for (const auto& e : expected) {
        ASSERT_TRUE(m.count(e.name)) << e.name;
        const FoundFileRecord& rec = *m[e.name];
        EXPECT_EQ(U(rec.station), e.station) << e.name;
        EXPECT_EQ(U(rec.block), e.block) << e.name;
        if (e.date) {
            EXPECT_EQ(U(FinderDateText(rec.time)), e.date) << e.name;
        }
        EXPECT_EQ(rec.isOsc, e.osc) << e.name;
    }
    EXPECT_EQ(U(FinderTimeText(m["a.cfg"]->time)), "10:20:30");
    EXPECT_EQ(U(FinderTimeText(m["g.osc"]->time)), "08:09:10");
    // The conversion of the terminal record leaves nothing behind.
    EXPECT_TRUE(fs::is_empty(tmp.path()));

    EXPECT_EQ(r.earliest, m["sub/deep.cfg"]->time);
    EXPECT_EQ(r.latest, std::max(m["f.cff"]->time, m["h.sto"]->time));
    EXPECT_EQ(r.stations.count(W("North")), 1u);
    EXPECT_EQ(r.blocks.size(), 8u);

    // Without sub-folders the deeper record is not listed.
    EXPECT_EQ(Search(false).records.size(), 8u);
}

TEST_F(FileFinder, LinkLoopsAndUnreadableFoldersAreSkipped) {
    Write("top/a.cfg", Cfg("S,B,1999", "01/01/2020"));
    Write("top/locked/b.cfg", Cfg("S,B,1999", "01/01/2020"));
    fs::create_directory_symlink(Path("top"), Path("top/loop"));
    fs::create_symlink(Path("top/a.cfg"), Path("top/link.cfg"));
    fs::permissions(Path("top/locked"), fs::perms::none);
    const FileFinderResult r = Search(true);
    fs::permissions(Path("top/locked"), fs::perms::owner_all);
    std::vector<std::string> names;
    for (const auto& rec : r.records) names.push_back(U(rec.name));
    // Root reads every folder; anyone else finds the locked one closed.
    if (geteuid() == 0) {
        EXPECT_EQ(names.size(), 2u);
    } else {
        EXPECT_EQ(names, std::vector<std::string>{"top/a.cfg"});
    }
    for (const auto& n : names) EXPECT_EQ(n.find("loop"), std::string::npos);
}

TEST_F(FileFinder, StopEndsTheWalkAtOnce) {
    for (int i = 0; i < 20; ++i) Write("r" + std::to_string(i) + ".cfg", Cfg("S,B,1999", "01/01/2020"));
    std::atomic<bool> stop{true};
    FileFinderResult r;
    WalkFinderFolder(W(dir.path()), true, stop, r);
    EXPECT_TRUE(r.records.empty());
}

TEST_F(FileFinder, FiltersByStationBlockAndWholeDays) {
    std::vector<FoundFileRecord> recs(5);
    const CString all = FinderAllText();
    auto set = [&](int i, const wchar_t* st, const wchar_t* bl, int64_t t) {
        recs[size_t(i)].station = st;
        recs[size_t(i)].block = bl;
        recs[size_t(i)].time = t;
    };
    const int64_t day = LocalTimeOf(2021, 6, 3, 0, 0, 0);
    set(0, L"A", L"1", day + 3600);
    set(1, L"A", L"2", day + 86399);
    set(2, L"B", L"1", day + 86400);  // exactly midnight after the last day
    set(3, L"B", L"1", day + 86401);
    set(4, L"A", L"1", day - 1);
    const struct {
        const wchar_t* station;
        const wchar_t* block;
        std::vector<size_t> shown;
    } cases[] = {
        {nullptr, nullptr, {0, 1, 2}},
        {L"A", nullptr, {0, 1}},
        {nullptr, L"1", {0, 2}},
        {L"B", L"2", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FilterFoundRecords(recs, c.station ? CString(c.station) : all, c.block ? CString(c.block) : all, day,
                                     day + 7200),
                  c.shown);
    }
}

TEST_F(FileFinder, SortModesOrderByColumnBothWays) {
    std::vector<FoundFileRecord> recs(3);
    recs[0] = {L"b.cfg", L"Z", L"2", LocalTimeOf(2020, 1, 2, 9, 0, 0), false};
    recs[1] = {L"a.cfg", L"Y", L"3", LocalTimeOf(2020, 1, 1, 23, 0, 0), false};
    recs[2] = {L"c.cfg", L"X", L"1", LocalTimeOf(2020, 1, 3, 7, 0, 0), false};
    const std::pair<int, std::vector<size_t>> cases[] = {
        {0, {1, 0, 2}}, {1, {2, 0, 1}}, {2, {2, 1, 0}}, {4, {2, 0, 1}},  {5, {1, 0, 2}},
        {6, {1, 0, 2}}, {7, {2, 0, 1}}, {8, {2, 0, 1}}, {9, {1, 0, 2}}, {42, {0, 1, 2}},
    };
    for (const auto& [mode, order] : cases) {
        std::vector<size_t> shown{2, 0, 1};
        SortFoundRecords(shown, recs, mode);
        EXPECT_EQ(shown, order) << mode;
    }
    EXPECT_EQ(NextSortMode(8, 3), 6);
    EXPECT_EQ(NextSortMode(6, 3), 7);
    EXPECT_EQ(NextSortMode(7, 3), 6);
}

TEST_F(FileFinder, DeletingARecordTakesItsCompanions) {
    for (const char* f : {"r.cfg", "r.dat", "r.hdr", "r.set", "r.inf", "o.osc", "o.set", "t.sto", "t.dst", "x.cff", "U.CFG",
                          "U.DAT"})
        Write(f, "x");
    auto names = [&](const std::string& rel) {
        std::vector<std::string> v;
        for (const CString& p : RecordFilesToDelete(W(Path(rel)))) v.push_back(fs::path(U(p)).filename().string());
        return v;
    };
    EXPECT_EQ(names("r.cfg"), (std::vector<std::string>{"r.cfg", "r.dat", "r.hdr", "r.inf", "r.set"}));
    EXPECT_EQ(names("o.osc"), (std::vector<std::string>{"o.osc", "o.set"}));
    EXPECT_EQ(names("t.sto"), (std::vector<std::string>{"t.sto", "t.dst"}));
    EXPECT_EQ(names("x.cff"), (std::vector<std::string>{"x.cff"}));
    EXPECT_EQ(names("U.CFG"), (std::vector<std::string>{"U.CFG", "U.DAT"}));
}

TEST_F(FileFinder, TrashKeepsWhereTheFileCameFrom) {
    const std::string data = Path("share");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    Write("rec one.cfg", "1");
    Write("other/rec one.cfg", "2");
    int err = 0;
    ASSERT_TRUE(platform::MoveToTrash(W(Path("rec one.cfg")), &err)) << err;
    ASSERT_TRUE(platform::MoveToTrash(W(Path("other/rec one.cfg")), &err)) << err;
    EXPECT_FALSE(fs::exists(Path("rec one.cfg")));
    EXPECT_EQ(testutil::ReadFile(data + "/Trash/files/rec one.cfg"), "1");
    EXPECT_EQ(testutil::ReadFile(data + "/Trash/files/rec one.cfg.2"), "2");
    const std::string info = testutil::ReadFile(data + "/Trash/info/rec one.cfg.trashinfo");
    EXPECT_NE(info.find("[Trash Info]\nPath=" + dir.path() + "/rec%20one.cfg\nDeletionDate="), std::string::npos) << info;
    // A file that is not there stays an error, and leaves no note behind.
    EXPECT_FALSE(platform::MoveToTrash(W(Path("missing.cfg")), &err));
    EXPECT_EQ(err, ENOENT);
    EXPECT_FALSE(fs::exists(data + "/Trash/info/missing.cfg.trashinfo"));
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
