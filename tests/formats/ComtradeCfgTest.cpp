#include <gtest/gtest.h>

#include "formats/ComtradeCfg.h"
#include "model/TenvorikException.h"

namespace {

// Runs the parser and returns the exception's message ("" when none was thrown).
CString ParseError(const std::string& text) {
    try {
        ParseComtradeCfg(text, L"/r/x.cfg");
    } catch (CTenvorikException* e) {
        CString m = e->GetErrorMessage();
        e->Delete();
        return m;
    }
    return CString();
}

const char* kTail = "50\r\n1\r\n1000,4\r\n01/02/2021,10:00:00.000000\r\n01/02/2021,10:00:00.100000\r\nASCII\r\n1\r\n";

}  // namespace

TEST(ComtradeCfg, Reads1999Record) {
    std::string text =
        "Station \xcf\xf1,Dev7,1999\r\n"
        "3,2A,1D\r\n"
        "1,IA ,A,Line,kA,0.5,-1,2,-32768,32767,400,5,P\r\n"
        "2,UA,A,,V,0.25,0,0,-100,100,110000,100,s\r\n"
        "1,Trip,,,1\r\n"
        "50\r\n2\r\n4800,100\r\n1200,140\r\n"
        "13/05/2021,10:11:12.000500\r\n13/05/2021,10:11:12.100000\r\n"
        " ASCII \r\n0.5\r\n";
    ComtradeConfig c = ParseComtradeCfg(text, L"x");
    EXPECT_EQ(c.station, CStringA("Station \xcf\xf1"));
    EXPECT_EQ(c.device, CStringA("Dev7"));
    EXPECT_EQ(c.revision, CStringA("1999"));
    ASSERT_EQ(c.analog.size(), 2u);
    ASSERT_EQ(c.status.size(), 1u);
    const auto& ia = c.analog[0];
    EXPECT_EQ(ia.name, CStringA("IA"));  // trailing spaces trimmed
    EXPECT_EQ(ia.unit, CStringA("kA"));
    EXPECT_EQ(ia.circuit, CStringA("Line"));
    EXPECT_DOUBLE_EQ(ia.a, 0.5);
    EXPECT_DOUBLE_EQ(ia.b, -1);
    EXPECT_DOUBLE_EQ(ia.skew, 2);
    EXPECT_EQ(ia.minCode, -32768);
    EXPECT_EQ(ia.maxCode, 32767);
    EXPECT_TRUE(ia.hasRatio);
    EXPECT_EQ(ia.primaryText, CStringA("400"));
    EXPECT_DOUBLE_EQ(ia.secondary, 5);
    EXPECT_TRUE(ia.filePrimary);
    EXPECT_FALSE(c.analog[1].filePrimary);
    EXPECT_EQ(c.status[0].name, CStringA("Trip"));
    EXPECT_EQ(c.status[0].normalState, 1u);
    EXPECT_DOUBLE_EQ(c.lineFrequency, 50);
    ASSERT_EQ(c.rates.size(), 2u);
    EXPECT_DOUBLE_EQ(c.rates[1].rate, 1200);
    EXPECT_EQ(c.rates[1].lastSample, 140);
    EXPECT_EQ(c.startTime, L"10:11:12.000500");
    EXPECT_EQ(c.triggerDate, L"13/05/2021");
    EXPECT_EQ(c.fileType, L"ASCII");
    EXPECT_DOUBLE_EQ(c.timeMultiplier, 0.5);
}

TEST(ComtradeCfg, CountLineRules) {
    const struct { const char* line2; size_t analog, status; } cases[] = {
        {"5,5D", 0, 5}, {"5,5A", 5, 0}, {"6,2A,4D", 2, 4}, {"6,,2A,,4D", 2, 4},
    };
    for (const auto& c : cases) {
        std::string text = std::string("S,D,1999\r\n") + c.line2 + "\r\n";
        for (size_t i = 0; i < c.analog + c.status; ++i) text += "1,C,,,V,1,0,0,0,1,1,1,S\r\n";
        // Status lines take the first five fields; the rest of the line is skipped.
        ComtradeConfig cfg = ParseComtradeCfg(text + kTail, L"x");
        EXPECT_EQ(cfg.analog.size(), c.analog) << c.line2;
        EXPECT_EQ(cfg.status.size(), c.status) << c.line2;
    }
}

TEST(ComtradeCfg, Reads1991AndLfOnlyAndOptionalLines) {
    // 1991: no year; status lines are index, name, state; analog lines end after max.
    ComtradeConfig old = ParseComtradeCfg("S,D\n2,1A,1D\n1,UA,A,,V,1,0,0,-5,5\n1,Trip,1\n50\n0\n0,3\n"
                                          "01/01/91,00:00:00\n01/01/91,00:00:00\nBINARY\n",
                                          L"x");
    EXPECT_TRUE(old.revision.IsEmpty());
    EXPECT_FALSE(old.analog[0].hasRatio);
    EXPECT_DOUBLE_EQ(old.analog[0].primary, 1.0);
    EXPECT_EQ(old.status[0].normalState, 1u);
    ASSERT_EQ(old.rates.size(), 1u);  // nrates 0 still supplies a pair
    EXPECT_EQ(old.rates[0].lastSample, 3);
    EXPECT_DOUBLE_EQ(old.timeMultiplier, 1.0);

    // Bare LF line ends: a status line whose state ends the line must not swallow the next.
    ComtradeConfig lf = ParseComtradeCfg(
        "S,D,1999\n3,0A,3D\n1,K1,,,0\n2,K2,,,1\n3,K3,,,0\n50\n1\n1000,4\n"
        "01/02/2021,10:00:00\n01/02/2021,10:00:00\nbinary32\n1\n",
        L"x");
    ASSERT_EQ(lf.status.size(), 3u);
    EXPECT_EQ(lf.status[1].name, CStringA("K2"));
    EXPECT_EQ(lf.status[2].name, CStringA("K3"));
    EXPECT_EQ(lf.fileType, L"binary32");

    ComtradeConfig y2013 = ParseComtradeCfg(std::string("S,D,2013\r\n0,0A,0D\r\n") + kTail + "-5h30,+3h\r\n0,0\r\n",
                                            L"x");
    EXPECT_EQ(y2013.localTimeCode, L"+3h");
}

TEST(ComtradeCfg, BadFilesGiveTheFormatMessage) {
    const CString expected = L"Неправильный формат файла - /r/x.cfg";
    const std::string bad[] = {
        "",
        "   \r\n",
        std::string("S,D,1999\r\n0,0A,0D\r\n") + "50\r\n1\r\n1000,4\r\n01/02/2021,10:00:00\r\n01/02/2021,10:00:00\r\nINT16\r\n",
        "S,D,1999\r\n2000000000,2000000000A,0D\r\n1,UA,A,,V,1,0,0,-5,5,1,1,S\r\n",  // counts the text cannot hold
        std::string("S,D,1999\r\n0,0A,0D\r\n50\r\n2000000000\r\n1000,4\r\n"),
        std::string("S,D,1999\r\n0,0A,0D\r\n50\r\n1\r\n1000,4\r\n"),  // ends before the type
    };
    for (const auto& t : bad) EXPECT_EQ(ParseError(t), expected) << t;
}

TEST(ComtradeCfg, Float32IsNamedInItsRefusal) {
    const std::string text =
        std::string("S,D,2013\r\n0,0A,0D\r\n") + "50\r\n1\r\n1000,4\r\n01/02/2021,10:00:00\r\n01/02/2021,10:00:00\r\nfloat32\r\n";
    // A whole sentence, as the other refusals: what is not opened, why, and what opens.
    EXPECT_EQ(ParseError(text), L"Файл /r/x.cfg не открыт: его данные записаны в формате FLOAT32, который программа не "
                                L"читает. Открываются файлы данных в форматах ASCII, BINARY и BINARY32.");
}

// What a configuration holds beyond the channels' scaling is written back as it was read.
TEST(ComtradeCfg, TextReadIsWrittenBack) {
    const struct { const char* what; std::string text; } cases[] = {
        {"2013 time code and quality", "S,D,2013\r\n1,0A,1D\r\n1,Trip,C,Bay 2,1\r\n" + std::string(kTail) + "-5h30,-5h30\r\nB,3\r\n"},
        {"2013 time code only", "S,D,2013\r\n0,0A,0D\r\n" + std::string(kTail) + "+3h,0\r\n"},
        {"2013 without the time lines", "S,D,2013\r\n0,0A,0D\r\n" + std::string(kTail)},
        {"no fixed rate", "S,D,1999\r\n1,0A,1D\r\n1,Trip,,,0\r\n50\r\n0\r\n0,7\r\n01/02/2021,10:00:00.000000\r\n"
                          "01/02/2021,10:00:00.100000\r\nASCII\r\n1\r\n"},
    };
    for (const auto& c : cases) {
        ComtradeConfig cfg = ParseComtradeCfg(c.text, L"x");
        for (size_t i = 0; i < cfg.status.size(); ++i) cfg.status[i].index = int(i + 1);
        EXPECT_EQ(FormatComtradeCfg(cfg), c.text) << c.what;
    }
    ComtradeConfig cfg = ParseComtradeCfg(cases[0].text, L"x");
    EXPECT_EQ(cfg.localTimeCode, L"-5h30");
    EXPECT_EQ(cfg.status[0].circuit, CStringA("Bay 2"));
    EXPECT_EQ(cfg.status[0].normalState, 1u);
}

TEST(ComtradeCfg, WritesTheTextByteForByte) {
    ComtradeConfig c;
    c.station = "Sub";
    c.revision = "1999";
    ComtradeChannelLine ia;
    ia.index = 1;
    ia.name = "IA";
    ia.phase = "A";
    ia.unit = "kA";
    ia.a = 0.1;
    ia.b = 1.0 / 3.0;
    ia.minCode = -20;
    ia.maxCode = 30;
    ia.primaryText = "400";
    ia.secondaryText = "5";
    ia.filePrimary = true;
    ComtradeChannelLine ub = ia;
    ub.index = 3;  // a skipped channel's position is not reused
    ub.name = "UB";
    ub.a = 2;
    ub.b = 0;
    ub.primaryText.Empty();
    ub.secondaryText.Empty();
    ub.filePrimary = false;
    c.analog = {ia, ub};
    ComtradeChannelLine k;
    k.index = 1;
    k.name = "K1";
    k.normalState = 1;
    c.status = {k};
    c.lineFrequency = 50;
    c.rates = {{4800, 12}};
    c.startDate = L"13/05/2021";
    c.startTime = L"10:11:12.000500";
    c.triggerDate = L"13/05/2021";
    c.triggerTime = L"10:11:12.100000";
    c.fileType = L"BINARY";
    c.timeMultiplier = 0.1;
    EXPECT_EQ(FormatComtradeCfg(c),
              "Sub,,1999\r\n"
              "3,2A,1D\r\n"
              "1,IA,A,,kA,0.1,0.33333333333333331,0,-20,30,400,5,P\r\n"
              "3,UB,A,,kA,2,0,0,-20,30,1,1,S\r\n"
              "1,K1,,,1\r\n"
              "50\r\n"
              "1\r\n"
              "4800,12\r\n"
              "13/05/2021,10:11:12.000500\r\n"
              "13/05/2021,10:11:12.100000\r\n"
              "BINARY\r\n"
              "0.10000000000000000555112\r\n");

    // Without a year: no empty device field, no ratio fields, status as index,name,state.
    c.revision.Empty();
    std::string old = FormatComtradeCfg(c);
    EXPECT_EQ(old.substr(0, 5), "Sub\r\n");
    EXPECT_NE(old.find("\r\n1,IA,A,,kA,0.1,0.33333333333333331,0,-20,30\r\n"), std::string::npos);
    EXPECT_NE(old.find("\r\n1,K1,1\r\n"), std::string::npos);
    EXPECT_EQ(old.substr(old.size() - 8), "BINARY\r\n");

    // What is written reads back the same.
    c.revision = "1999";
    ComtradeConfig back = ParseComtradeCfg(FormatComtradeCfg(c), L"x");
    EXPECT_EQ(back.analog[0].a, 0.1);
    EXPECT_EQ(back.analog[0].b, 1.0 / 3.0);
    EXPECT_EQ(back.analog[1].primary, 1.0);
    EXPECT_EQ(back.timeMultiplier, 0.1);
    EXPECT_EQ(back.device, CStringA(""));
    EXPECT_EQ(back.revision, CStringA("1999"));

    // A line break inside a text taken from another format stays on its line.
    c.station = "Sub\r\nA";
    c.analog[0].unit = "V\r18C";
    c.analog[1].name = "U\nB";
    c.status[0].name = "K\r\n1";
    back = ParseComtradeCfg(FormatComtradeCfg(c), L"x");
    ASSERT_EQ(back.analog.size(), 2u);
    ASSERT_EQ(back.status.size(), 1u);
    EXPECT_EQ(back.station, CStringA("Sub  A"));
    EXPECT_EQ(back.analog[0].unit, CStringA("V 18C"));
    EXPECT_EQ(back.analog[1].name, CStringA("U B"));
    EXPECT_EQ(back.status[0].name, CStringA("K  1"));
    EXPECT_EQ(back.analog[1].a, 2.0);
}

TEST(ComtradeCfg, TypesInAnyCaseAndUnusableMultipliers) {
    const auto parse = [](const char* type, const char* multiplier) {
        return ParseComtradeCfg(std::string("S,D,2013\r\n0,0A,0D\r\n50\r\n1\r\n1000,4\r\n01/02/2021,10:00:00\r\n"
                                            "01/02/2021,10:00:00\r\n") +
                                    type + "\r\n" + multiplier + "\r\n",
                                L"x");
    };
    for (const char* type : {"ascii", "Binary", "BINARY32", " binary32 "}) {
        ComtradeConfig c = parse(type, "1");
        CString trimmed(type);
        trimmed.Trim();
        EXPECT_EQ(c.fileType, trimmed) << type;  // kept as written
    }
    const struct { const char* text; double value; const wchar_t* kept; } cases[] = {
        {"0.001", 0.001, L""}, {"0", 1.0, L"0"}, {"-2", 1.0, L"-2"},
        {"nan", 1.0, L"nan"},  {"inf", 1.0, L"inf"}, {"1e999", 1.0, L"1e999"},
    };
    for (const auto& c : cases) {
        ComtradeConfig cfg = parse("ASCII", c.text);
        EXPECT_DOUBLE_EQ(cfg.timeMultiplier, c.value) << c.text;
        EXPECT_EQ(cfg.multiplierText, CString(c.kept)) << c.text;
    }
}

TEST(ComtradeCfg, Utf8TextsAreRecognised) {
    const struct { std::string bytes; bool utf8; } cases[] = {
        {"plain ASCII", false},
        {"\xd0\x9f\xd0\xa1 \xe2\x84\x96" "5", true},          // Cyrillic and a sign
        {"\xcf\xf1 1251", false},                            // a code-page text
        {"\xc0\xaf", false},                                 // overlong
        {"\xed\xa0\x80", false},                            // a surrogate
        {"\xd0", false},                                      // cut short
        {"\xf0\x9f\x98\x80", true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsUtf8WithNonAscii(c.bytes), c.utf8) << c.bytes;

    ComtradeConfig cfg = ParseComtradeCfg("\xd0\x9f\xd0\xa1-1,D,2013\r\n0,0A,0D\r\n50\r\n1\r\n1000,4\r\n"
                                          "01/02/2021,10:00:00\r\n01/02/2021,10:00:00\r\nASCII\r\n1\r\n",
                                          L"x");
    EXPECT_TRUE(cfg.utf8);
    EXPECT_EQ(cfg.station, CStringA("\xd0\x9f\xd0\xa1-1"));  // the bytes as written
}
