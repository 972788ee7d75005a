#include "FuzzSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "document/RecordDump.h"
#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"
#include "platform/WinTypes.h"
#include "model/Oscillogram.h"

namespace fuzz {

namespace {

std::string g_workDir;

}  // namespace

QuietUi::QuietUi() { platform::SetUiServices(this); }
QuietUi::~QuietUi() { platform::SetUiServices(nullptr); }

int QuietUi::MessageBox(const CString& text, const CString&, unsigned type) {
    messages.push_back(text);
    switch (type & 0xF) {
        case MB_YESNO:
        case MB_YESNOCANCEL: return IDYES;
        default: return IDOK;
    }
}

void QuietUi::PostException(CException* e) {
    if (!e) return;
    messages.push_back(e->GetErrorMessage());
    e->Delete();
}

void QuietUi::RunOnUiThread(std::function<void()> fn) {
    if (fn) fn();
}

void Initialize() {
    if (!g_workDir.empty()) return;
    const char* tmp = std::getenv("TMPDIR");
    std::string base = std::string(tmp && *tmp ? tmp : "/tmp") + "/tenvorik-fuzz-" + std::to_string(::getpid());
    std::filesystem::remove_all(base);
    std::filesystem::create_directories(base + "/work");
    std::filesystem::create_directories(base + "/tmp");
    std::filesystem::create_directories(base + "/config");
    std::filesystem::create_directories(base + "/runtime");
    ::chmod((base + "/runtime").c_str(), 0700);
    ::setenv("TMPDIR", (base + "/tmp").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (base + "/runtime").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (base + "/data").c_str(), 1);
    g_workDir = base + "/work";
    // The folder goes with the process; a crash leaves it for a look.
    static struct Remove {
        std::string path;
        ~Remove() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    } remove{base};
}

const std::string& WorkDir() { return g_workDir; }

std::string PathOf(const std::string& name) { return g_workDir + "/" + name; }

void Clear() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(g_workDir, ec))
        std::filesystem::remove_all(entry.path(), ec);
    // Conversions leave their working folders in the temporary folder only when they fail badly.
    const char* tmp = std::getenv("TMPDIR");
    if (tmp)
        for (const auto& entry : std::filesystem::directory_iterator(tmp, ec)) std::filesystem::remove_all(entry.path(), ec);
}

std::string Write(const std::string& name, std::string_view bytes) {
    std::string path = PathOf(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}

std::vector<std::string_view> Split(const uint8_t* data, size_t size, size_t count) {
    std::string_view all(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        size_t at = all.find(kSplit);
        if (at == std::string_view::npos) break;
        parts.push_back(all.substr(0, at));
        all.remove_prefix(at + kSplit.size());
    }
    parts.push_back(all);
    return parts;
}

std::string Join(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += kSplit;
        out += parts[i];
    }
    return out;
}

CString Wide(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }

CString WideFromBytes(std::string_view bytes) { return CString(platform::Utf8ToWide(std::string(bytes))); }

void Fail(const char* what, const CString& detail) {
    std::fprintf(stderr, "fuzz: %s %s\n", what, platform::WideToUtf8(detail.view()).c_str());
    std::abort();
}

bool OpenRecord(const std::string& path, bool messageExpected) {
    QuietUi ui;
    const CString wide = Wide(path);
    bool ok = false;
    {
        CTenvorikDoc doc;
        doc.StartOpen(wide);
        ok = doc.OnOpenDocument(wide);
        if (ok) {
            const std::string json = DumpRecordJson(doc, true);
            if (json.empty()) Fail("empty record dump");
            // FUZZ_ROUNDTRIP=1: what a save writes of a record must open again.
            static const bool roundTrip = std::getenv("FUZZ_ROUNDTRIP") != nullptr;
            if (roundTrip) {
                std::filesystem::create_directories(PathOf("saved"));
                for (const char* name : {"saved/rec.cfg", "saved/rec.cff"}) {
                    const CString saved = Wide(PathOf(name));
                    if (!doc.OnSaveDocument(saved)) continue;
                    CTenvorikDoc again;
                    if (!again.OnOpenDocument(saved)) Fail("a record the program saved does not open again:", saved);
                }
            }
        }
    }
    if (!ok && messageExpected && ui.messages.empty()) Fail("a record was refused without a message:", wide);
    return ok;
}

namespace {

std::string BaseRecordFiles(const std::string& dir, const std::string& name) {
    using C = std::complex<double>;
    const C a(-0.5, std::sqrt(3.0) / 2), a2 = std::conj(a);
    const C z(0.12, 0.41);
    const char* names[6] = {"Ia", "Ib", "Ic", "Uab", "Ubc", "Uca"};
    const char* units[6] = {"A", "A", "A", "kV", "kV", "kV"};
    const char* phases[6] = {"A", "B", "C", "AB", "BC", "CA"};
    const double scale[6] = {0.1, 0.1, 0.1, 0.01, 0.01, 0.01};
    std::string cfg = "PS Severnaya,R1,1999\r\n8,6A,2D\r\n";
    for (int k = 0; k < 6; ++k)
        cfg += std::to_string(k + 1) + "," + names[k] + "," + phases[k] + ",," + units[k] + "," +
               (k < 3 ? "0.1" : "0.01") + ",0,0,-99999,99999," + (k < 3 ? "600,5" : "110000,100") + ",P\r\n";
    cfg += "1,Start,,,0\r\n2,Trip,,,0\r\n";
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
        for (int k = 0; k < 6; ++k) dat += "," + std::to_string(std::lround((ph[k] * rot).imag() * (k < 3 ? 1 : 1e-3) / scale[k]));
        dat += std::string(",") + (i >= 110 ? "1" : "0") + "," + (i >= 160 ? "1" : "0") + "\r\n";
    }
    const std::string base = dir + "/" + name;
    std::ofstream(base + ".cfg", std::ios::binary) << cfg;
    std::ofstream(base + ".dat", std::ios::binary) << dat;
    return base + ".cfg";
}

}  // namespace

std::string WriteBaseRecord(const std::string& name) { return BaseRecordFiles(g_workDir, name); }

const COscillogram& BaseRecord() {
    static CTenvorikDoc* doc = [] {
        const std::string dir = g_workDir + "/../base";
        std::filesystem::create_directories(dir);
        const std::string cfg = BaseRecordFiles(dir, "base");
        auto* d = new CTenvorikDoc;
        QuietUi ui;
        if (!d->OnOpenDocument(Wide(cfg))) Fail("the base record does not open");
        return d;
    }();
    return doc->GetOscillogram();
}

}  // namespace fuzz
