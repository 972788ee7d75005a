#include "Fixtures.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace fixtures {

namespace {

int CodeUa(int i) { return int(std::lround(1000 * std::sin(i * 0.7))); }
int CodeIb(int i, bool wide) { return wide ? (i * 37 % 200 - 100) * 1000 : i * 37 % 200 - 100; }
bool Bit(int k, int i) { return ((i >> k) & 1) != 0; }

struct Spec {
    const char* year;  // "" for 1991
    const char* type;
    bool wide = false;
    int samples = 8;
};

std::string Cfg(const Spec& s) {
    int minUa = 1 << 30, maxUa = -(1 << 30), minIb = minUa, maxIb = maxUa;
    for (int i = 0; i < s.samples; ++i) {
        minUa = std::min(minUa, CodeUa(i));
        maxUa = std::max(maxUa, CodeUa(i));
        minIb = std::min(minIb, CodeIb(i, s.wide));
        maxIb = std::max(maxIb, CodeIb(i, s.wide));
    }
    const bool y = *s.year != 0;
    std::string c = std::string("\xcf\xd1 \xd2\xe5\xf1\xf2,Rec-1") + (y ? std::string(",") + s.year : "") + "\r\n";
    c += "5,2A,3D\r\n";
    c += "1,UA,A,,kV,0.01,0,0," + std::to_string(minUa) + "," + std::to_string(maxUa) + (y ? ",110,0.1,P" : "") + "\r\n";
    c += "2,IB,B,Line,A,0.5,-1,0," + std::to_string(minIb) + "," + std::to_string(maxIb) + (y ? ",600,5,S" : "") + "\r\n";
    const char* names[] = {"K1", "K2", "Trip"};
    for (int k = 0; k < 3; ++k)
        c += std::to_string(k + 1) + "," + names[k] + (y ? ",,," : ",") + (k == 1 ? "1" : "0") + "\r\n";
    c += "50\r\n1\r\n1000," + std::to_string(s.samples) + "\r\n";
    c += "13/05/2021,10:11:12.000500\r\n13/05/2021,10:11:12.004500\r\n";
    c += std::string(s.type) + "\r\n";
    if (y) c += "1\r\n";
    if (std::string(s.year) == "2013") c += "+3h,+3h\r\n0,0\r\n";
    return c;
}

std::string Dat(const Spec& s) {
    std::string d;
    for (int i = 0; i < s.samples; ++i) {
        if (std::string(s.type) == "ASCII") {
            d += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(CodeUa(i)) + "," +
                 std::to_string(CodeIb(i, false));
            for (int k = 0; k < 3; ++k) d += Bit(k, i) ? ",1" : ",0";
            d += "\r\n";
            continue;
        }
        uint32_t n = uint32_t(i + 1);
        int32_t t = i * 1000;
        char rec[8 + 8 + 2] = {};
        std::memcpy(rec, &n, 4);
        std::memcpy(rec + 4, &t, 4);
        size_t p = 8;
        for (int v : {CodeUa(i), CodeIb(i, s.wide)}) {
            if (s.wide) {
                int32_t c = v;
                std::memcpy(rec + p, &c, 4);
                p += 4;
            } else {
                int16_t c = int16_t(v);
                std::memcpy(rec + p, &c, 2);
                p += 2;
            }
        }
        for (int k = 0; k < 3; ++k)
            if (Bit(k, i)) rec[p] |= char(1 << k);
        d.append(rec, p + 2);
    }
    return d;
}

}  // namespace

Record Ascii1999(int samples) { return {Cfg({"1999", "ASCII", false, samples}), Dat({"1999", "ASCII", false, samples})}; }
Record Binary1999(int samples) { return {Cfg({"1999", "BINARY", false, samples}), Dat({"1999", "BINARY", false, samples})}; }
Record Binary32Year2013(int samples) {
    return {Cfg({"2013", "binary32", true, samples}), Dat({"2013", "binary32", true, samples})};
}
Record Binary1991(int samples) { return {Cfg({"", "BINARY", false, samples}), Dat({"", "BINARY", false, samples})}; }

std::string Write(const testutil::TempDir& dir, const std::string& name, const Record& r) {
    testutil::WriteFile(dir.File(name + ".cfg"), r.cfg);
    testutil::WriteFile(dir.File(name + ".dat"), r.dat);
    return dir.File(name + ".cfg");
}

}  // namespace fixtures
