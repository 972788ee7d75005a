// make_seeds OUT: writes a small seed corpus for every fuzz target into OUT/<target>/, made by
// the program's own writers and by the record builders of the tests, never taken from elsewhere.
#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "FuzzSupport.h"
#include "Fixtures.h"
#include "GeneratedFault.h"
#include "StoFixture.h"
#include "TestUtil.h"
#include "analysis/CalcChannels.h"
#include "app/AppProfile.h"
#include "document/ChannelClipboard.h"
#include "document/TenvorikDoc.h"
#include "faultloc/LineModelEditor.h"
#include "halvex/helpers/Ai_Bmp.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"
#include "platform/Profile.h"
#include "platform/draw/GdiObjects.h"

namespace fs = std::filesystem;

namespace {

std::string g_out;
std::map<std::string, int> g_counts;

void Seed(const std::string& target, const std::string& bytes) {
    fs::create_directories(g_out + "/" + target);
    char name[32];
    std::snprintf(name, sizeof name, "seed-%03d", ++g_counts[target]);
    std::ofstream(g_out + "/" + target + "/" + name, std::ios::binary) << bytes;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }

// --- records -------------------------------------------------------------------------------

void RecordSeeds(const testutil::TempDir& dir) {
    const std::pair<const char*, fixtures::Record> records[] = {
        {"ascii", fixtures::Ascii1999(8)},
        {"binary", fixtures::Binary1999(8)},
        {"binary32", fixtures::Binary32Year2013(8)},
        {"y1991", fixtures::Binary1991(8)},
    };
    for (const auto& [name, r] : records) {
        Seed("comtrade", fuzz::Join({r.cfg, r.dat}));
        const std::string cfg = fixtures::Write(dir, name, r);
        CTenvorikDoc doc;
        if (!doc.OnOpenDocument(W(cfg))) continue;
        doc.m_oscillogram.m_headerText = "Header text\r\n";
        doc.SaveCff(W(dir.File(std::string(name) + ".cff")));
        Seed("cff", Read(dir.File(std::string(name) + ".cff")));
        for (const wchar_t* type : {L"ASCII", L"BINARY", L"binary32"}) {
            doc.m_oscillogram.m_dataFileType = type;
            const std::string out = dir.File(std::string(name) + "-saved.cfg");
            if (!doc.SaveComtrade(W(out))) continue;
            const std::string stem = out.substr(0, out.size() - 4);
            Seed("comtrade", fuzz::Join({Read(out), Read(stem + ".dat"), Read(stem + ".hdr")}));
        }
    }
    // Two rate segments, and nrates 0 with the times taken from the data file.
    Seed("comtrade", fuzz::Join({"S,R,1999\r\n2,1A,1D\r\n1,U,A,,V,0.5,0,0,-32767,32767,1,1,S\r\n1,K,,,0\r\n50\r\n2\r\n"
                                 "1000,4\r\n2000,8\r\n01/02/2024,10:00:00.000000\r\n01/02/2024,10:00:00.002000\r\n"
                                 "ASCII\r\n1\r\n",
                                 "1,0,10,0\r\n2,1000,20,1\r\n3,2000,30,1\r\n4,3000,40,0\r\n5,3500,50,0\r\n"
                                 "6,4000,60,1\r\n7,4500,99999,1\r\n8,5000,80,0\r\n"}));
    std::string binary;
    for (int i = 0; i < 3; ++i) {
        for (uint32_t v : {uint32_t(i + 1), uint32_t(i * 1000)})
            for (int k = 0; k < 4; ++k) binary += char((v >> (8 * k)) & 0xFF);
        const uint16_t code = i == 2 ? 0x8000 : uint16_t(i * 7);
        binary += char(code & 0xFF);
        binary += char(code >> 8);
    }
    Seed("comtrade", fuzz::Join({"S,R,2013\r\n1,1A,0D\r\n1,U,A,,kV,0.5,0,0,-32767,32767,1,1,S\r\n50\r\n0\r\n0,3\r\n"
                                 "01/02/2024,10:00:00.000000\r\n01/02/2024,10:00:00.002000\r\nBINARY\r\n1000\r\n+3h,+3h\r\n"
                                 "B,3\r\n",
                                 binary}));
}

// --- OSC2 ------------------------------------------------------------------------------------

void PutBe16(std::string& r, size_t at, int v) {
    r[at] = char((v >> 8) & 0xFF);
    r[at + 1] = char(v & 0xFF);
}
void PutBeFloat(std::string& r, size_t at, float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    for (int i = 0; i < 4; ++i) r[at + size_t(i)] = char((u >> (24 - 8 * i)) & 0xFF);
}
std::string Text128(const std::string& s) {
    std::string r(128, '\0');
    r.replace(0, s.size(), s);
    return r;
}

// Two analog channels and twenty discrete ones, `frames` frames per data record.
std::string OscBytes(int frames, const std::vector<int>& periods, int declared) {
    std::string header(128, '\0');
    header[0] = 2;
    header[1] = 6;
    header[2] = 6;
    std::string scale(128, '\0');
    PutBeFloat(scale, 0, 3276.8f * 2);
    PutBeFloat(scale, 48, 1.0f);
    PutBe16(scale, 32, 10);
    PutBe16(scale, 80, -4);
    PutBe16(scale, 34, 3);
    PutBe16(scale, 82, 4);
    std::string out = header + scale + Text128("01A  2\r\n1,UA,A,V\r\n2,IA,A,A\r\n");
    for (int part = 0; part < 2; ++part) {
        std::string d = "0" + std::to_string(2 + part) + "D 10\r\n";
        for (int k = 1; k <= 10; ++k) d += std::to_string(k) + ",K" + std::to_string(10 * part + k) + ",0\r\n";
        out += Text128(d);
    }
    out += Text128("04F," + std::to_string(frames));
    std::string stamp(128, '\0');
    PutBe16(stamp, 2, declared);
    const char bcd[] = {0x78, 0x56, 0x34, 0x12, 0x15, 0x03, 0x24};
    std::memcpy(&stamp[5], bcd, 7);
    PutBe16(stamp, 14, 3);
    PutBeFloat(stamp, 64, 200.0f);
    PutBeFloat(stamp, 68, 0.05f);
    out += stamp;
    int code = 0;
    for (int p : periods) {
        std::string data(128, '\0');
        for (int k = 0; k < frames && size_t(6 * k + 6) <= 124; ++k) {
            size_t f = size_t(6 * k);
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

void OscSeeds() {
    Seed("osc", OscBytes(10, {6667, 6667, 6667}, 3));
    Seed("osc", OscBytes(20, {5000, 5000}, 2));
    Seed("osc", OscBytes(10, {6667, 3333, 6667, 3333}, 4));
}

// --- terminal records ------------------------------------------------------------------------

void StoSeeds() {
    {
        sto::Description d;
        d.station = "PS Severnaya";
        d.recDev = "Terminal";
        d.units = {{38, 0, {{2, 1, "Ia", "1000", "A", true, "50", "600"}, {2, 2, "Ub", "10", "kV", true, "50", "110"}}},
                   {40, -1, {{1, 5, "Start", "1", "", true, "0", ""}}}};
        sto::Record r;
        r.analogIds = {1, 2};
        r.digitalIds = {5};
        r.width = 1;
        r.ringBlocks = 3;
        r.ringStart = 1;
        for (int b = 0; b < 3; ++b)
            r.blocks.push_back({4, {b * 4, b * 4 + 1, b * 4 + 2, b * 4 + 3, 250 + b, 0, 1, 2}, {uint8_t(b == 0 ? 0x80 : 0)}});
        r.trailing = "\x01\x02";
        Seed("sto", fuzz::Join({d.Xml(), r.Bytes()}));
    }
    {
        sto::Description d;
        d.units = {{38, -1, {{8, 300, "U", "1", "V"}, {8, 1000, "x", "1", "V"}}}, {41, -1, {{1, 301, "Trip", "1", "", true}}}};
        d.freqInputs = {"U"};
        sto::Record r;
        r.variant = 2;
        r.analogIds = {300};
        r.digitalIds = {301};
        r.width = 1;
        r.clockHz = 120000;
        for (uint32_t divisor : {100u, 100u, 50u}) r.blocks.push_back({divisor, std::vector<int64_t>(24, 7), {1}});
        Seed("sto", fuzz::Join({d.Xml(), r.Bytes()}));
    }
    {
        sto::Description d;
        d.units = {{38, -1, {{16, 10, "Sw1", "1", "Status"}, {12, 11, "I", "10", "A"}}}};
        sto::Record r;
        r.variant = 3;
        r.headerN = 4;
        r.analogIds = {10, 11};
        r.width = 2;
        r.blocks = {{4, {0x8001, 0x0006, 0x7FF, 0x800, 1, 2, 3, 4}, {}}};
        Seed("sto", fuzz::Join({d.Xml(), r.Bytes()}));
    }
}

// --- line models ------------------------------------------------------------------------------

void LineModelSeeds(const testutil::TempDir& dir) {
    const std::pair<int, bool> lines[] = {{1, false}, {2, true}, {4, false}};
    for (const auto& [method, tap] : lines) {
        WrongPlaceLocator loc;
        generated_fault::Shape shape;
        shape.parallelLine = method == 2;
        generated_fault::SetUpLine(loc, method, tap, shape);
        LineModelEditor editor(loc.GetData());
        const std::string path = dir.File("line.omp");
        if (editor.Save(W(path))) Seed("linemodel", Read(path));
    }
    Seed("linemodel", "3\tIa1\tIb1\tIc1\tUab1\tUbc1\tUca1\t100\r\n2\r\n12,0.1,0.4,40,First\n18\t0.1\t0.4\t40\tSecond\n");
}

// --- settings, formulas, lists ------------------------------------------------------------------

const wchar_t* const kFormulas[] = {
    L"Ia * 2", L"Ia + Ib + Ic", L"Pf: (Ia, Ib)", L"Mod: (Uab) * 1 [кВ]", L"Ia ^ 2", L"Frequency: () [Hz]",
    L"3i0: (Ia, Ib, Ic)", L"3u0: (Uab, Ubc, Uca, Uab)", L"rms: Ia", L"fourie: (Ia, 2)", L"arg: Ia",
    L"absig: (Ia, Ib)", L"cosui: (Uab, Ia)", L"zf: (Uab, Ia)", L"zl: (Uab, Ubc, Ia, Ib)", L"i1: (Ia, Ib, Ic)",
    L"i2: (Ia, Ib, Ic)", L"u1l: (Uab, Ubc, Uca)", L"coeffpriv: (Ia, 2)", L"coefftt: (Ia, 6, 2)",
    L"fault: Start", L"chan: Ia", L"sqrt: (Ia * Ia + Ib * Ib)", L"sin: 30 + cos: 60 + tg: 45", L"exp: 1",
    L"(2 + 3) * 4 - 2 ^ -2", L"re: (Pf: (Ia, Ib)) + im: (Pf: (Ia, Ib))", L"a0: (Ia + 1)", L"x: (Uab, Ia)",
    L"tormsumcur: (Ia, Ib)", L"grssumcur: (Ia, Ib, Ic)", L"pk: (Uab, Ia)", L"\"Ia\" * 2",
};

void SettingsSeeds(const testutil::TempDir& dir) {
    const std::string cfg = dir.File("base.cfg");
    fs::copy_file(fuzz::WriteBaseRecord("base"), cfg, fs::copy_options::overwrite_existing);
    fs::copy_file(fuzz::PathOf("base.dat"), dir.File("base.dat"), fs::copy_options::overwrite_existing);

    SettingsStore store;
    SettingsNode& calc = store.GetCategory(L"CalculatedChannels");
    calc.SetString(L"Channel0", L"I2,Ia * 2");
    calc.SetString(L"Channel1", L"P,Pf: (Ia, Ib)");
    SettingsNode& comments = store.GetCategory(L"Comments");
    comments.SetInt(L"Codepage", 1);
    SettingsNode& m1 = comments.GetSubCategory(L"Moments").GetSubCategory(L"Moment1");
    m1.SetInt(L"position", 120);
    m1.SetString(L"text", L"Отключение");
    SettingsNode& level = comments.GetSubCategory(L"Levels").GetSubCategory(L"Level1");
    level.SetString(L"channel", L"Ia");
    level.SetDouble(L"value", 100.5);
    SettingsNode& a1 = comments.GetSubCategory(L"Areas").GetSubCategory(L"Area1");
    a1.SetInt(L"positionFrom", 100);
    a1.SetInt(L"positionTo", 200);
    a1.SetString(L"channelFrom", L"Ia");
    a1.SetString(L"channelTo", L"Ic");
    store.GetCategory(L"View").SetString(L"XScale", L"2");
    SettingsNode& wpf = store.GetCategory(L"WrongPlaceFinding");
    wpf.SetInt(L"type", 1);
    wpf.SetInt(L"ver", 2);
    SettingsNode& st1 = wpf.GetSubCategory(L"Station1");
    for (const wchar_t* k : {L"Ia", L"Ib", L"Ic", L"Uab", L"Ubc", L"Uca"}) st1.SetString(k, k);
    st1.SetString(L"In", L"100");
    SettingsNode& sec = st1.GetSubCategory(L"Section1");
    sec.SetString(L"lenght", L"20");
    sec.SetString(L"r", L"0,12");
    sec.SetString(L"x", L"0.41");
    sec.SetString(L"sup_number", L"40");
    const std::string set = dir.File("base.set");
    if (!store.Save(W(set))) return;
    Seed("settings", Read(set));
    {
        fuzz::QuietUi ui;
        CTenvorikDoc doc;
        if (doc.OnOpenDocument(W(cfg))) Seed("settings", doc.SettingsFileBytes());
    }
    Seed("settings", "[View]\r\nXScale=2\r\nYScale=3\r\n[CalculatedChannels]\r\nChannel0=A,Ia*2\r\n");

    for (const wchar_t* f : kFormulas) Seed("formula", platform::WideToUtf8(f));

    std::string frm;
    int n = 0;
    for (const wchar_t* f : kFormulas) {
        frm += platform::WideToAnsi(L"Канал" + std::to_wstring(++n) + L"," + f + L",\r\n");
        if (n % 8 == 0) {
            Seed("frm", frm);
            frm.clear();
        }
    }
    Seed("frm", frm);

    // The clipboard: the record's analog channels, and two of them, as a copy puts them there.
    for (int count : {6, 2}) {
        fuzz::QuietUi ui;
        CTenvorikDoc doc;
        if (!doc.OnOpenDocument(W(cfg))) continue;
        for (int i = 0; i < count; ++i) doc.m_oscillogram.m_channels[size_t(i)].m_selected = true;
        const std::vector<uint8_t> bytes = ClipboardBytesOf(BuildChannelClipboardText(doc));
        Seed("clipboard", std::string(bytes.begin(), bytes.end()));
    }
    Seed("clipboard", std::string("\x03\0\0\0\x00\0\0\0\x02\0\0\0\x05\0\0\0", 16));
}

// --- libraries, profiles -----------------------------------------------------------------------

void BlockSeeds() {
    for (const char* name : {"distance.tvb", "differential.tvb"}) {
        const std::string text = Read(std::string(TV_SOURCE_DIR) + "/resources/blocks/" + name);
        Seed("blocks", text);
        std::string_view units(text);
        Seed("blocks", platform::WideToUtf8(platform::Utf16LeToWide(units)));
    }
}

void ProfileSeeds(const testutil::TempDir& dir) {
    const std::string path = dir.File("profile.ini");
    {
        platform::Profile profile = platform::Profile::AtPath(W(path));
        AppOptions options;
        options.dstFolder = L"/home/user/dst";
        options.leftMargin = 1500;
        SaveAppOptions(profile, options);
        SaveRecentFiles(profile, {L"/home/user/a.cfg", L"/home/user/Осциллограмма.osc"});
        profile.WriteProfileString(L"FileFinder", L"StationName", L"line one\nline two\\ \t");
    }
    Seed("profile", Read(path));
    Seed("halvex", Read(path));
}

// --- pictures ------------------------------------------------------------------------------------

void DrawInto(CBitmap& bitmap, int w, int h) {
    bitmap.CreateTransparentBitmap(w, h);
    cairo_t* cr = cairo_create(bitmap.Surface());
    cairo_set_source_rgba(cr, 0.2, 0.5, 0.8, 0.9);
    cairo_rectangle(cr, 1, 1, w / 2.0, h / 2.0);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_mark_dirty(bitmap.Surface());
}

// A GIF of one colour index per pixel, every other code a clear code so that the codes stay
// three bits wide.
std::string SmallGif(int w, int h) {
    std::string g = "GIF89a";
    auto put16 = [&](int v) {
        g += char(v & 0xFF);
        g += char((v >> 8) & 0xFF);
    };
    put16(w);
    put16(h);
    g += char(0x81);  // global colour table of 4 entries
    g += '\0';
    g += '\0';
    g += std::string("\0\0\0\xFF\0\0\0\xFF\0\0\0\xFF", 12);
    g += ',';
    put16(0);
    put16(0);
    put16(w);
    put16(h);
    g += '\0';
    g += char(2);  // minimum code size
    std::vector<int> codes;
    for (int i = 0; i < w * h; ++i) {
        if (i % 2 == 0) codes.push_back(4);
        codes.push_back((i / w + i % w) % 4);
    }
    codes.push_back(5);
    std::string data;
    uint32_t acc = 0;
    int bits = 0;
    for (int c : codes) {
        acc |= uint32_t(c) << bits;
        bits += 3;
        while (bits >= 8) {
            data += char(acc & 0xFF);
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits) data += char(acc & 0xFF);
    for (size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        g += char(block.size());
        g += block;
    }
    g += '\0';
    g += ';';
    return g;
}

void PictureSeeds(const testutil::TempDir& dir) {
    CBitmap bitmap;
    DrawInto(bitmap, 12, 8);
    const std::vector<uint8_t> png = bitmap.EncodePng();
    Seed("picture", std::string(png.begin(), png.end()));
    const std::string bmp = dir.File("p.bmp");
    if (CAi_Bmp::SaveBitmapInFile(&bitmap, W(bmp))) Seed("picture", Read(bmp));
    Seed("picture", SmallGif(6, 5));
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 10, 7);
    if (pixbuf) {
        gdk_pixbuf_fill(pixbuf, 0x3366ccff);
        for (const char* type : {"jpeg", "tiff", "ico", "bmp"}) {
            gchar* buffer = nullptr;
            gsize size = 0;
            if (gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, type, nullptr, nullptr)) {
                Seed("picture", std::string(buffer, size));
                g_free(buffer);
            }
        }
        g_object_unref(pixbuf);
    }
}

// --- Halvex readers, the instance socket ---------------------------------------------------------

void HalvexSeeds() {
    Seed("halvex", platform::WideToUtf16Le(L"первая|1700000000\r\nsecond|1700000100\r\n", true));
    Seed("halvex", platform::WideToAnsi(L"[Main]\r\nИмя=Значение\r\nkey=value\r\n[/Main]\r\n"));
    std::string users("\x02\0\x34\x12\x05\0admin\x04\0user", 17);
    Seed("halvex", users);

    const std::string path = "/home/user/records/Осциллограмма.cfg";
    std::string message = "TVK1";
    for (int i = 0; i < 4; ++i) message += char((path.size() >> (8 * i)) & 0xFF);
    Seed("instance", message + path);
    Seed("instance", std::string("TVKF\0\0\0\0", 8));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds OUT\n");
        return 2;
    }
    g_out = argv[1];
    fuzz::Initialize();
    fuzz::QuietUi ui;
    testutil::TempDir dir;
    RecordSeeds(dir);
    OscSeeds();
    StoSeeds();
    LineModelSeeds(dir);
    SettingsSeeds(dir);
    BlockSeeds();
    ProfileSeeds(dir);
    PictureSeeds(dir);
    HalvexSeeds();
    for (const auto& [target, count] : g_counts) std::printf("%s: %d seeds\n", target.c_str(), count);
    return 0;
}
