// make_sample OUT.cfg: writes the sample record that ships with the program: a 10 kV feeder
// seen from its relay, 1.25 s at 2400 samples per second, with a phase-A-to-earth fault that
// the breaker clears after 120 ms. Three voltages, three currents and the residual current,
// and the relay's start, trip and breaker-position signals.
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"
#include "platform/UiServices.h"

namespace {

constexpr double kRate = 2400.0;
constexpr int kSamples = 3000;
constexpr double kF = 50.0;
constexpr double kFaultStart = 0.300, kFaultEnd = 0.420;

CStringA Cp1251(const wchar_t* text) { return CStringA(platform::WideToAnsi(text)); }

CChannel Analog(CTenvorikDoc& doc, const wchar_t* name, const char* phase, const char* unit, double a,
                const char* primary, const char* secondary, const std::vector<double>& values) {
    CChannel ch(&doc);
    ch.m_fileName = Cp1251(name);
    ch.m_phase = phase;
    ch.m_unit = unit;
    ch.m_a = a;
    ch.m_primaryText = primary;
    ch.m_secondaryText = secondary;
    ch.m_primary = ch.m_filePrimaryValue = std::atof(primary);
    ch.m_secondary = ch.m_fileSecondaryValue = std::atof(secondary);
    ch.ParseUnit();
    // Samples are what a recorder with this scale factor stores: whole codes.
    for (double v : values) ch.m_samples.push_back(a * std::round(v / a));
    return ch;
}

CChannel Status(CTenvorikDoc& doc, const wchar_t* name, unsigned normal, double from, double to) {
    CChannel ch(&doc);
    ch.m_discrete = 1;
    ch.m_fileName = Cp1251(name);
    ch.m_normalState = normal;
    for (int i = 0; i < kSamples; ++i) {
        double t = i / kRate;
        bool active = t >= from && t < to;
        ch.m_samples.push_back(active != (normal != 0) ? 1.0 : 0.0);
    }
    return ch;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUT.cfg\n");
        return 2;
    }
    CTenvorikDoc doc;
    COscillogram& osc = doc.m_oscillogram;
    osc.m_stationName = Cp1251(L"ПС 110 кВ Северная");
    osc.m_recorderId = Cp1251(L"РЗА-7 яч.12");
    osc.m_revision = "1999";
    osc.m_netFrequency = kF;
    osc.m_samplingFrequency = int32_t(kRate);
    osc.m_rates = {{kRate, kSamples}};
    osc.m_timeMultiplier = 1.0;
    osc.m_startDate = L"14/03/2024";
    osc.m_startTime = L"08:41:17.652000";
    osc.m_triggerDate = L"14/03/2024";
    osc.m_triggerTime = L"08:41:17.952000";
    osc.m_dataFileType = L"BINARY";
    for (int i = 0; i < kSamples; ++i) osc.m_times.push_back(std::llround(i * 1e6 / kRate));

    const double w = 2 * std::numbers::pi * kF;
    const double shift[3] = {0, -2 * std::numbers::pi / 3, 2 * std::numbers::pi / 3};
    std::vector<double> u[3], current[3], residual(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        double t = i / kRate;
        bool fault = t >= kFaultStart && t < kFaultEnd;
        bool open = t >= kFaultEnd;
        double tf = t - kFaultStart;
        for (int p = 0; p < 3; ++p) {
            // Secondary values: 57.7 V phase voltage, 3 A load current lagging by 25 degrees.
            double um = 57.7 * std::sqrt(2.0), im = 3.0 * std::sqrt(2.0);
            double ph = shift[p];
            double ui = um * std::sin(w * t + ph);
            double ii = im * std::sin(w * t + ph - 0.44);
            if (fault && p == 0) {
                ui = 0.35 * um * std::sin(w * t + ph);
                // Fault current behind a 75 degree line angle, with its decaying DC part.
                double ifm = 9.0 * im;
                ii = ifm * (std::sin(w * t + ph - 1.31) + std::sin(1.31 - ph - w * kFaultStart) * std::exp(-tf / 0.035));
            } else if (fault) {
                ui = 1.08 * ui;
            }
            if (open) ii = 0.0;
            u[p].push_back(ui + 0.05 * std::sin(5 * w * t));
            current[p].push_back(ii);
        }
        residual[size_t(i)] = current[0].back() + current[1].back() + current[2].back();
    }

    const wchar_t* un[3] = {L"Ua", L"Ub", L"Uc"};
    const wchar_t* in[3] = {L"Ia", L"Ib", L"Ic"};
    const char* ph[3] = {"A", "B", "C"};
    for (int p = 0; p < 3; ++p) osc.m_channels.push_back(Analog(doc, un[p], ph[p], "V", 0.01, "10000", "100", u[p]));
    for (int p = 0; p < 3; ++p) osc.m_channels.push_back(Analog(doc, in[p], ph[p], "A", 0.005, "600", "5", current[p]));
    osc.m_channels.push_back(Analog(doc, L"3I0", "N", "A", 0.005, "600", "5", residual));
    osc.m_analogCount = 7;
    osc.m_channels.push_back(Status(doc, L"Пуск МТЗ", 0, kFaultStart + 0.012, kFaultEnd + 0.030));
    osc.m_channels.push_back(Status(doc, L"Пуск ЗНЗ", 0, kFaultStart + 0.015, kFaultEnd + 0.025));
    osc.m_channels.push_back(Status(doc, L"Отключение В", 0, kFaultStart + 0.060, kFaultEnd + 0.080));
    osc.m_channels.push_back(Status(doc, L"РПВ", 1, kFaultEnd, 10.0));
    osc.m_channels.push_back(Status(doc, L"РПО", 0, kFaultEnd, 10.0));
    osc.m_discreteCount = 5;
    osc.m_headerText = Cp1251(L"Осциллограмма аварийного отключения фидера 12.\r\n");

    bool ok = doc.SaveComtrade(CString(platform::Utf8ToWide(argv[1])));
    return ok ? 0 : 1;
}
