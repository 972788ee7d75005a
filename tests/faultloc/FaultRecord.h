#pragma once
// A fault record written as COMTRADE files, as a user's record would be.
#include <cmath>
#include <complex>
#include <string>

#include "TestUtil.h"
#include "platform/Encoding.h"

namespace {

using C = std::complex<double>;

// A 110 kV radial line: a bolted B-C fault 6.3 km out, after 0.1 s of load, sampled at 1 kHz.
inline std::string WriteFaultRecord(const testutil::TempDir& dir) {
    const C a(-0.5, std::sqrt(3.0) / 2), a2 = std::conj(a);
    const C z(0.12, 0.41);
    const char* names[6] = {"Ia", "Ib", "Ic", "Uab", "Ubc", "Uca"};
    const char* units[6] = {"A", "A", "A", "V", "V", "V"};
    const double scale[6] = {0.1, 0.1, 0.1, 1, 1, 1};
    std::string cfg = "PS,R1,1999\r\n6,6A,0D\r\n";
    for (int k = 0; k < 6; ++k)
        cfg += std::to_string(k + 1) + "," + names[k] + ",,," + units[k] + "," + (scale[k] == 1 ? "1" : "0.1") +
               ",0,0,-99999,99999,1,1,P\r\n";
    cfg += "50\r\n1\r\n1000,300\r\n01/01/2024,10:00:00.000000\r\n01/01/2024,10:00:00.100000\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < 300; ++i) {
        C ia = std::polar(60.0, -0.3), ib = ia * a2, ic = ia * a;
        C ua(57735, 0), ub = ua * a2, uc = ua * a;
        if (i >= 100) {
            C f = std::polar(2500.0, -1.2);
            ib += f;
            ic -= f;
            C drop = z * 6.3 * (ib - ic), mid = (ub + uc) / 2.0;
            ub = mid + drop / 2.0;
            uc = mid - drop / 2.0;
        }
        const C ph[6] = {ia, ib, ic, ua - ub, ub - uc, uc - ua};
        C rot = std::polar(1.0, 2 * M_PI * 50 * i / 1000.0);
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000);
        for (int k = 0; k < 6; ++k) dat += "," + std::to_string(std::lround((ph[k] * rot).imag() / scale[k]));
        dat += "\r\n";
    }
    testutil::WriteFile(dir.File("fault.cfg"), cfg);
    testutil::WriteFile(dir.File("fault.dat"), dat);
    return dir.File("fault.cfg");
}

// The record's settings file with its line model: one 20 km section of 40 towers, isolated
// neutral, written as the program writes it (UTF-16 XML); `more` adds categories.
inline void WriteFaultSettings(const testutil::TempDir& dir, const std::wstring& more = std::wstring()) {
    const std::wstring xml =
        L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n"
        L"<settings>\r\n"
        L"\t<category name=\"WrongPlaceFinding\" type=\"1\" ver=\"2\">\r\n"
        L"\t\t<category name=\"Station1\" Ia=\"Ia\" Ib=\"Ib\" Ic=\"Ic\" In=\"100\" Ua=\"\" Uab=\"Uab\" Ub=\"\" "
        L"Ubc=\"Ubc\" Uc=\"\" Uca=\"Uca\" obj_name=\"ПС Северная\">\r\n"
        L"\t\t\t<category name=\"Section1\" comment=\"\" lenght=\"20\" r=\"0,12\" r0=\"0\" r1=\"0\" "
        L"sup_number=\"40\" x=\"0.41\" x0=\"0\" x1=\"0\"/>\r\n"
        L"\t\t</category>\r\n"
        L"\t\t<category name=\"Station2\" In=\"0\" obj_name=\"Подстанция\"/>\r\n"
        L"\t</category>\r\n" +
        more + L"</settings>\r\n";
    testutil::WriteFile(dir.File("fault.set"), platform::WideToUtf16Le(xml, true));
}

}  // namespace
