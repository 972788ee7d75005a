// The differential page's arm lists under a real display (Xvfb): an arm is made of phase
// currents, so its lists offer no voltages or powers, and each list is wide enough to show
// its longest entry, "Канал отсутствует" included, uncut.
#include <gtest/gtest.h>

#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/frame.h>

#include "FakeUi.h"
#include "TestUtil.h"
#include "WxTestApp.h"
#include "analysis/DiffCurrents.h"
#include "app/QAnPropSheet.h"
#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"

namespace {

// Currents of two sides, two voltages, a power, a channel of amperes per second and one of
// a unit the program does not know.
std::string WriteRecord(const testutil::TempDir& dir) {
    struct Ch {
        const char *name, *unit;
    };
    const Ch chans[] = {{"Ia HV", "A"},   {"Ib HV", "A"},  {"Ic HV", "kA"}, {"Ua", "V"},        {"Uab", "kV"},
                        {"P", "W"},       {"dIa", "A/s"},  {"Ia LV", "А"},  {"Ic LV", "ampere"}};
    const int n = int(sizeof chans / sizeof chans[0]);
    std::string cfg = "TR,T1,1999\r\n" + std::to_string(n) + "," + std::to_string(n) + "A,0D\r\n";
    for (int k = 0; k < n; ++k)
        cfg += std::to_string(k + 1) + "," + chans[k].name + ",,," + chans[k].unit + ",0.01,0,0,-99998,99998,1,1,P\r\n";
    cfg += "50\r\n1\r\n1000,40\r\n01/01/2024,10:00:00.000000\r\n01/01/2024,10:00:00.010000\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < 40; ++i) {
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000);
        for (int k = 0; k < n; ++k) dat += "," + std::to_string(k + 1);
        dat += "\r\n";
    }
    testutil::WriteFile(dir.File("tr.cfg"), cfg);
    testutil::WriteFile(dir.File("tr.dat"), dat);
    return dir.File("tr.cfg");
}

}  // namespace

TEST(DiffArmLists, OfferOnlyCurrentsAndShowTheirEntriesUncut) {
    using namespace diffpage;
    testutil::FakeUi ui;
    testutil::TempDir dir;
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(CString(platform::Utf8ToWide(WriteRecord(dir)))));
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("host"));
    auto* sheet = new CQAnPropSheet(frame, doc);
    wxWindow* w = sheet->FindWindow(kArmCount);
    while (w && !dynamic_cast<QAnPageWindow*>(w)) w = w->GetParent();
    ASSERT_TRUE(w);
    auto& page = *dynamic_cast<QAnPageWindow*>(w);
    page.InitPage();

    for (int id : {kIa, kIb, kIc}) {
        auto* list = dynamic_cast<wxChoice*>(page.FindWindow(id));
        ASSERT_TRUE(list) << id;
        wxArrayString entries = list->GetStrings();
        for (const char* shown : {"Ia HV", "Ib HV", "Ic HV", "Ia LV", "Ic LV"})
            EXPECT_NE(entries.Index(shown), wxNOT_FOUND) << id << " " << shown;
        for (const char* hidden : {"Ua", "Uab", "P", "dIa"})
            EXPECT_EQ(entries.Index(hidden), wxNOT_FOUND) << id << " " << hidden;
        // Every entry fits beside the list's arrow.
        wxClientDC dc(list);
        dc.SetFont(list->GetFont());
        int widest = 0;
        for (const wxString& e : entries) widest = std::max(widest, dc.GetTextExtent(e).x);
        EXPECT_GT(list->GetSize().x, widest + 20) << id;
    }
    // No channel named Ia: the list says so, and the saying is not cut either.
    auto* ia = dynamic_cast<wxChoice*>(page.FindWindow(kIa));
    EXPECT_EQ(ia->GetString(0), wxString::FromUTF8("Канал отсутствует"));
    sheet->Destroy();
    frame->Destroy();
}
